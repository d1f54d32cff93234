# Velmora: the two everyday commands are `make run` and `make test`.
SHELL := /bin/bash
PKGS := g++ cmake ninja-build pkg-config libsqlite3-dev libgtest-dev libgmock-dev \
        libbenchmark-dev qt6-base-dev qt6-qpa-plugins qt6-declarative-dev \
        qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
        qt6-speech-dev qt6-speech-flite-plugin xvfb xauth poppler-utils fonts-dejavu-core
# The desktop's opener, so Help > User Manual can show the PDF.
RUN_PKGS := xdg-utils
JOBS ?= $(shell nproc)

.PHONY: deps build run test monkey bench fuzz clean

# Installs whatever of $(PKGS) (and EXTRA_PKGS) is missing.
deps:
	@missing=""; for p in $(PKGS) $(EXTRA_PKGS); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	fi

# Only the program, optimised, in its own tree (make bench shares it).
build: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS) --target velmora

run: EXTRA_PKGS = $(RUN_PKGS)
run: build
	@echo "Starting Velmora: close its window (or press Ctrl+C here) to stop it."
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: starting Velmora under xvfb-run (an invisible X server)."; \
	  xvfb-run -a build/release/bin/velmora; \
	else build/release/bin/velmora; fi

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
