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

int64_t SystemClock::steadyMs() const {
    // Boot time is monotonic and, unlike the plain monotonic clock, goes on
    // while the machine is suspended.
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void FakeClock::advance(int64_t ms) {
    steady += ms;
    jumpWall(ms);
}

void FakeClock::jumpWall(int64_t ms) {
    // The fields are read as UTC so that the sum has no daylight-saving gap.
    std::tm tm{};
    tm.tm_year = time.year - 1900;
    tm.tm_mon = time.month - 1;
    tm.tm_mday = time.day;
    tm.tm_hour = time.hour;
    tm.tm_min = time.minute;
    tm.tm_sec = time.second;
    int64_t total = int64_t(timegm(&tm)) * 1000 + time.millisecond + ms;
    int64_t secs = total / 1000, rest = total % 1000;
    if (rest < 0) {
        rest += 1000;
        --secs;
    }
    const std::time_t t = static_cast<std::time_t>(secs);
    std::tm out{};
    gmtime_r(&t, &out);
    time = {out.tm_year + 1900, out.tm_mon + 1, out.tm_mday, out.tm_hour, out.tm_min, out.tm_sec, int(rest)};
}

const IClock& Clock() {
    static const SystemClock system;
    return g_clock ? *g_clock : system;
}

void SetClock(const IClock* impl) { g_clock = impl; }

}  // namespace vm
