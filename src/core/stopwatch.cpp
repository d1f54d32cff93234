#include "core/stopwatch.h"

#include <algorithm>
#include <cmath>

#include "core/numtext.h"

namespace vm {

int64_t ClockMillis(const LocalTime& t) {
    const int64_t days = DaysFromCivil(CivilDate{t.year, t.month, t.day});
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + int64_t(t.second) * 1000 + t.millisecond;
}

DateTime ToDateTime(const LocalTime& t) { return DateTime{CivilDate{t.year, t.month, t.day}, t.hour, t.minute, t.second}; }

std::string ElapsedTimeOfSeconds(int64_t e) {
    e = std::max<int64_t>(0, e);
    return std::to_string(e / 86400) + ":" + std::to_string((e / 3600) % 24) + ":" + std::to_string((e / 60) % 60) +
           ":" + std::to_string(e % 60);
}

std::string ElapsedTime(const DateTime& start, const DateTime& finish) {
    auto secs = [](const DateTime& d) {
        return DaysFromCivil(d.date) * 86400 + int64_t(d.hour) * 3600 + int64_t(d.minute) * 60 + d.second;
    };
    return ElapsedTimeOfSeconds(secs(finish) - secs(start));
}

namespace {
// The text after the first ":" (hours, minutes and seconds).
std::string AfterDays(const std::string& s) { return s.substr(s.find(':') + 1); }
std::string Span(int64_t fromMs, int64_t toMs) { return ElapsedTimeOfSeconds((toMs - fromMs) / 1000); }
}  // namespace

std::string Stopwatch::show(int64_t nowMs) {
    if (!startMs) startMs = nowMs;
    return AfterDays(Span(*startMs, nowMs));
}

int LapStopwatch::hundredths(int64_t nowMs) const {
    if (!startMs) return 0;
    return static_cast<int>((std::max<int64_t>(0, nowMs - *startMs) / 10) % 100);
}

std::string LapStopwatch::show(int64_t nowMs) {
    if (!startMs) {
        startMs = nowMs;
        lapStartMs = nowMs;
    }
    return AfterDays(Span(*startMs, nowMs)) + "." + std::to_string(hundredths(nowMs));
}

std::string LapStopwatch::lap(int64_t nowMs) {
    if (!startMs) {
        startMs = nowMs;
        lapStartMs = nowMs;
    }
    ++laps;
    const std::string h = "." + std::to_string(hundredths(nowMs));
    const std::string total = AfterDays(Span(*startMs, nowMs)) + h;
    const std::string diff = AfterDays(Span(lapStartMs, nowMs)) + h;
    lapStartMs = nowMs;
    return "Lap: " + std::to_string(laps) + "  " + total + " Diff  " + diff;
}

void LapStopwatch::reset(int64_t nowMs) {
    startMs = nowMs;
    lapStartMs = nowMs;
    laps = 0;
}

int32_t CountdownSeconds(const std::string& hours, const std::string& minutes, const std::string& seconds) {
    const double total = 3600.0 * Val(hours) + 60.0 * Val(minutes) + Val(seconds);
    if (!std::isfinite(total)) return 0;
    return static_cast<int32_t>(std::clamp<int64_t>(RoundHalfEven(total), 0, INT32_MAX));
}

void Countdown::toggle(int64_t nowMs, const std::string& h, const std::string& m, const std::string& s) {
    if (running()) {
        // Paused: keep the whole seconds still to go.
        remaining = static_cast<int32_t>(std::max<int64_t>(0, (*deadlineMs - nowMs + 999) / 1000));
        deadlineMs.reset();
        return;
    }
    if (remaining == 0) remaining = CountdownSeconds(h, m, s);
    deadlineMs = nowMs + int64_t(remaining) * 1000;
}

bool Countdown::tick(int64_t nowMs) {
    if (!running()) return false;
    const int64_t left = *deadlineMs - nowMs;
    // Whole seconds still to go, so the first tick of 0:1:5 shows 0 : 1 : 4.
    remaining = static_cast<int32_t>(left > 0 ? (left + 999) / 1000 : 0);
    if (remaining > 0 && left > 0) return false;
    remaining = 0;
    deadlineMs.reset();
    return true;
}

void Countdown::reset() {
    remaining = 0;
    deadlineMs.reset();
}

std::string Countdown::text() const {
    const int32_t r = remaining, h = r / 3600, m = (r - 3600 * h) / 60, s = r - 3600 * h - 60 * m;
    return std::to_string(h) + " : " + std::to_string(m) + " : " + std::to_string(s);
}

}  // namespace vm
