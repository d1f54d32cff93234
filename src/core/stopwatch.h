// The arithmetic of the stopwatch window, with no window: elapsed-time texts,
// stopwatches and countdowns that count against the steady clock (a start
// moment or a deadline in milliseconds), never by adding up timer ticks, so a
// busy window never slows them and a change of the wall clock never moves them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/dates.h"
#include "platform/clock.h"

namespace vm {

// Milliseconds of a clock reading on one scale (1970-01-01 00:00 is 0).
int64_t ClockMillis(const LocalTime& t);

// "D:H:M:S" of the whole seconds from a start to a finish (no leading zeros;
// a finish before the start counts as no time).
std::string ElapsedTime(int64_t seconds);

// A stopwatch counts from its start moment; stopping stops only the display,
// so a restarted stopwatch counts on from its first start.
struct Stopwatch {
    std::optional<int64_t> startMs;
    // "H:M:S" since the start (taken now when there is none).
    std::string show(int64_t nowMs);
};

// The hundredths stopwatch with laps.
struct LapStopwatch {
    std::optional<int64_t> startMs;
    int64_t lapStartMs = 0;
    int laps = 0;
    int hundredths(int64_t nowMs) const;  // 0..99 of the running second
    std::string show(int64_t nowMs);      // "H:M:S.hh" (two digits of hundredths)
    std::string lap(int64_t nowMs);       // "Lap: n  H:M:S.hh Diff  H:M:S.hh"; the next lap starts now
    void reset(int64_t nowMs);
};

// A countdown: the time left, and a deadline while it runs. A pause keeps the
// milliseconds left, so pausing never adds or takes time.
struct Countdown {
    int32_t remaining = 0;              // whole seconds shown (rounded up)
    int64_t leftMs = 0;                 // time left while paused; 0 when idle or finished
    std::optional<int64_t> deadlineMs;  // set while running
    bool running() const { return deadlineMs.has_value(); }
    // Start or stop. An idle or finished countdown reads its boxes again; a
    // paused one goes on from the seconds it had left.
    void toggle(int64_t nowMs, const std::string& hours, const std::string& minutes, const std::string& seconds);
    // A tick: true when it has just completed (remaining back to 0, stopped).
    bool tick(int64_t nowMs);
    void reset();
    // "H : M : S" of the remaining seconds.
    std::string text() const;
};

// The seconds a countdown's three boxes name (the leading number of each,
// 0 when none), rounded to whole seconds and held to 32 bits.
int32_t CountdownSeconds(const std::string& hours, const std::string& minutes, const std::string& seconds);

}  // namespace vm
