#include "core/stopwatch.h"

#include <algorithm>
#include <cmath>

#include "core/numtext.h"

namespace vm {

int64_t ClockMillis(const LocalTime& t) {
    const int64_t days = DaysFromCivil(CivilDate{t.year, t.month, t.day});
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + int64_t(t.second) * 1000 + t.millisecond;
}

std::string ElapsedTime(int64_t e) {
    e = std::max<int64_t>(0, e);
    return std::to_string(e / 86400) + ":" + std::to_string((e / 3600) % 24) + ":" + std::to_string((e / 60) % 60) +
           ":" + std::to_string(e % 60);
}

namespace {
// The text after the first ":" (hours, minutes and seconds).
std::string AfterDays(const std::string& s) { return s.substr(s.find(':') + 1); }
std::string Span(int64_t fromMs, int64_t toMs) { return ElapsedTime((toMs - fromMs) / 1000); }
}  // namespace

std::string Stopwatch::show(int64_t nowMs) {
    if (!startMs) startMs = nowMs;
    return AfterDays(Span(*startMs, nowMs));
}

int LapStopwatch::hundredths(int64_t nowMs) const {
    if (!startMs) return 0;
    return static_cast<int>((std::max<int64_t>(0, nowMs - *startMs) / 10) % 100);
}

namespace {
// ".07": hundredths always with two digits.
std::string HundredthsText(int h) { return (h < 10 ? ".0" : ".") + std::to_string(h); }
}  // namespace

std::string LapStopwatch::show(int64_t nowMs) {
    if (!startMs) {
        startMs = nowMs;
        lapStartMs = nowMs;
    }
    return AfterDays(Span(*startMs, nowMs)) + HundredthsText(hundredths(nowMs));
}

std::string LapStopwatch::lap(int64_t nowMs) {
    if (!startMs) {
        startMs = nowMs;
        lapStartMs = nowMs;
    }
    ++laps;
    const std::string h = HundredthsText(hundredths(nowMs));
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

namespace {
// Whole seconds still to go, rounded up, so the first tick of 0:1:5 shows 0 : 1 : 4.
int32_t WholeSecondsLeft(int64_t ms) {
    return static_cast<int32_t>(std::clamp<int64_t>((ms + 999) / 1000, 0, INT32_MAX));
}
}  // namespace

void Countdown::toggle(int64_t nowMs, const std::string& h, const std::string& m, const std::string& s) {
    if (running()) {
        // Paused: exactly the time still to go is kept.
        leftMs = std::max<int64_t>(0, *deadlineMs - nowMs);
        remaining = WholeSecondsLeft(leftMs);
        deadlineMs.reset();
        return;
    }
    if (leftMs <= 0) {
        remaining = CountdownSeconds(h, m, s);
        leftMs = int64_t(remaining) * 1000;
    }
    deadlineMs = nowMs + leftMs;
}

bool Countdown::tick(int64_t nowMs) {
    if (!running()) return false;
    const int64_t left = *deadlineMs - nowMs;
    remaining = WholeSecondsLeft(left);
    if (left > 0) return false;
    reset();
    return true;
}

void Countdown::reset() {
    remaining = 0;
    leftMs = 0;
    deadlineMs.reset();
}

std::string Countdown::text() const {
    const int32_t r = remaining, h = r / 3600, m = (r - 3600 * h) / 60, s = r - 3600 * h - 60 * m;
    return std::to_string(h) + " : " + std::to_string(m) + " : " + std::to_string(s);
}

}  // namespace vm
