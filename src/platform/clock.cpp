#include "platform/clock.h"

#include <ctime>

namespace vm {
namespace {
const IClock* g_clock = nullptr;
}

LocalTime SystemClock::now() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    const std::time_t t = ts.tv_sec;
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     static_cast<int>(ts.tv_nsec / 1000000)};
}

const IClock& Clock() {
    static const SystemClock system;
    return g_clock ? *g_clock : system;
}

void SetClock(const IClock* impl) { g_clock = impl; }

}  // namespace vm
