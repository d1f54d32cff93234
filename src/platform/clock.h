// The clock behind one interface: the real local time in the program, a set
// time in tests, so nothing waits for or depends on the real date. Beside the
// wall clock it gives a steady clock for elapsed time: it never jumps with a
// change of the wall clock or of daylight-saving time, and it keeps counting
// while the machine sleeps.
#pragma once
#include <cstdint>

namespace vm {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int millisecond = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual LocalTime now() const = 0;
    // Milliseconds on the steady clock (only differences mean anything).
    virtual int64_t steadyMs() const = 0;
};

// The process-wide clock: the system's local time unless a test set another.
const IClock& Clock();
void SetClock(const IClock* impl);  // nullptr restores the system clock

class SystemClock : public IClock {
public:
    LocalTime now() const override;
    int64_t steadyMs() const override;
};

// A set time. `time` is the wall clock and `steady` the steady clock; moving
// one alone is a clock change (or a stopped steady clock), `advance` is time
// really passing.
class FakeClock : public IClock {
public:
    explicit FakeClock(LocalTime t = {2026, 12, 6, 9, 0, 0}) : time(t) {}
    LocalTime now() const override { return time; }
    int64_t steadyMs() const override { return steady; }
    // Both clocks move on by ms (the wall clock across days, months and years).
    void advance(int64_t ms);
    // The wall clock alone moves by ms: a clock change.
    void jumpWall(int64_t ms);
    LocalTime time;
    int64_t steady = 1000000;
};

}  // namespace vm
