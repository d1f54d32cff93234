# Velmora: the two everyday commands are `make run` and `make test`.
SHELL := /bin/bash
PKGS := g++ cmake ninja-build pkg-config libsqlite3-dev libgtest-dev libgmock-dev \
        libbenchmark-dev qt6-base-dev qt6-qpa-plugins qt6-declarative-dev \
        qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
        qt6-speech-dev qt6-speech-flite-plugin xvfb xauth poppler-utils fonts-dejavu-core
# The desktop's opener, so Help > User Manual can show the PDF.
RUN_PKGS := xdg-utils
JOBS ?= $(shell nproc)

.PHONY: deps apt-wait build run start test monkey bench fuzz clean

# Installs whatever of $(PKGS) (and EXTRA_PKGS) is missing. When another
# install holds the package system's lock, it waits for it (APT_WAIT seconds
# at most) instead of failing at once.
APT_WAIT ?= 300
deps:
	@missing=""; for p in $(PKGS) $(EXTRA_PKGS); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(MAKE) -s --no-print-directory apt-wait || exit 1; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get -o DPkg::Lock::Timeout=$(APT_WAIT) update -qq && \
	  apt-get -o DPkg::Lock::Timeout=$(APT_WAIT) install -y -qq --no-install-recommends $$missing; \
	fi

# Waits, saying so, while another process holds one of the package system's
# locks (as /proc/locks lists them), for at most APT_WAIT seconds.
APT_LOCKS ?= /var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock
apt-wait:
	@held() { for f in $(APT_LOCKS); do \
	    [ -e "$$f" ] || continue; \
	    dev=$$((0x$$(stat -c %D "$$f"))); \
	    key=$$(printf '%02x:%02x:%s' $$(((dev >> 8) & 0xfff)) $$(((dev & 0xff) | ((dev >> 12) & 0xfff00))) $$(stat -c %i "$$f")); \
	    if grep -q " $$key " /proc/locks 2>/dev/null; then echo "$$f"; return 0; fi; \
	  done; return 1; }; \
	waited=0; \
	while lock=$$(held); do \
	  if [ $$waited -eq 0 ]; then \
	    echo "Another package install holds $$lock: waiting for it to finish (at most $(APT_WAIT) s)..."; fi; \
	  if [ $$waited -ge $(APT_WAIT) ]; then \
	    echo "The package system is still busy after $(APT_WAIT) s: try again when the other install is done."; \
	    exit 1; fi; \
	  sleep 2; waited=$$((waited + 2)); \
	done; \
	if [ $$waited -gt 0 ]; then echo "The other install is done: going on."; fi

# Only the program, optimised, in its own tree (make bench shares it).
build: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS) --target velmora

# Starts the built program (VELMORA). Stopping it from here (Ctrl+C, a kill,
# the terminal closing) ends it as File > Exit does, without make's error
# lines: the program's own failures keep their status. (One make process, so
# that Ctrl+C finds no sub-make to report as interrupted.)
VELMORA ?= build/release/bin/velmora
define start_velmora
@echo "Starting Velmora: close its window, choose File > Exit or press Ctrl+C here to stop it."
@stopped=""; trap 'stopped=1' INT TERM HUP; \
if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
  echo "No display found: starting Velmora under xvfb-run (an invisible X server)."; \
  xvfb-run -a $(VELMORA); \
else $(VELMORA); fi; \
status=$$?; \
if [ -n "$$stopped" ] || [ $$status -eq 129 ] || [ $$status -eq 130 ] || [ $$status -eq 143 ]; then \
  echo "Velmora stopped."; exit 0; fi; \
exit $$status
endef

run: EXTRA_PKGS = $(RUN_PKGS)
run: build
	$(start_velmora)

# The program as built, without the install and build steps of `make run`.
start:
	$(start_velmora)

# Warnings are errors here, so CI fails on a new one; every test name must
# leave ctest's lines within 120 columns (checked by the test_names test).
test: deps
	cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_WERROR=ON
	cmake --build build/asan -j $(JOBS)
	cd build/asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The random-action run alone, longer or on another seed (the run `make test`
# makes is 2,000 actions on a fixed seed): make monkey SEED=7 ACTIONS=20000.
# ALL=1 goes on after a fault and reports each kind of fault once; TRACE=1
# prints every action.
SEED ?= $(shell date +%s)
ACTIONS ?= 10000
ALL ?= 0
TRACE ?= 0
monkey: deps
	cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON
	cmake --build build/asan -j $(JOBS) --target velmora_monkey_tests
	QT_QPA_PLATFORM=offscreen QT_HASH_SEED=0 VELMORA_MONKEY_SEED=$(SEED) VELMORA_MONKEY_ACTIONS=$(ACTIONS) \
	  VELMORA_MONKEY_ALL=$(ALL) VELMORA_MONKEY_TRACE=$(TRACE) \
	  build/asan/bin/velmora_monkey_tests

bench: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS) --target velmora_bench
	build/release/bin/velmora_bench
	bench/startup.sh build/release/bin

# Fuzzes the import's line reader for 60 s with clang's libFuzzer (not part of `make test`).
FUZZ_SECONDS ?= 60
fuzz:
	@if command -v clang++ >/dev/null 2>&1 && \
	  echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' | \
	  clang++ -x c++ -fsanitize=fuzzer - -o /tmp/velmora-fuzz-probe-$$$$ 2>/dev/null; then \
	  rm -f /tmp/velmora-fuzz-probe-$$$$; \
	  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DVELMORA_FUZZ=ON -DBUILD_TESTING=OFF && \
	  cmake --build build/fuzz -j $(JOBS) --target velmora_fuzz_reader && \
	  mkdir -p build/fuzz/corpus && cp fuzz/seeds/* build/fuzz/corpus/ && \
	  build/fuzz/bin/velmora_fuzz_reader -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/ build/fuzz/corpus; \
	else echo "clang++ with -fsanitize=fuzzer is not available: no fuzzing."; fi

clean:
	rm -rf build
