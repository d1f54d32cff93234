// The clock behind one interface: the real local time in the program, a set
// time in tests, so nothing waits for or depends on the real date.
#pragma once

namespace vm {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int millisecond = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual LocalTime now() const = 0;
};

// The process-wide clock: the system's local time unless a test set another.
const IClock& Clock();
void SetClock(const IClock* impl);  // nullptr restores the system clock

class SystemClock : public IClock {
public:
    LocalTime now() const override;
};

class FakeClock : public IClock {
public:
    explicit FakeClock(LocalTime t = {2026, 12, 6, 9, 0, 0}) : time(t) {}
    LocalTime now() const override { return time; }
    LocalTime time;
};

}  // namespace vm
