#include "startupprobe.h"

#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace vm {
namespace {

// Resident memory now, from /proc (KiB); 0 when unknown.
long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

}  // namespace

void ArmStartupProbe(std::function<void()> close) {
    const char* started = std::getenv("VELMORA_EXIT_WHEN_SHOWN");
    if (!started) return;
    const long long t0 = std::strtoll(started, nullptr, 10);
    // Runs once the event loop has shown the window.
    QTimer::singleShot(0, [t0, close = std::move(close)] {
        const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::system_clock::now().time_since_epoch())
                                  .count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("shown_us=%lld peak_rss_kib=%ld rss_kib=%ld\n", t0 > 0 ? (now - t0) / 1000 : -1LL,
                    usage.ru_maxrss, ResidentKiB());
        std::fflush(stdout);
        close();
    });
}

}  // namespace vm
