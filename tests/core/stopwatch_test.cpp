// The stopwatch window's arithmetic against a clock that the test moves.
#include <gtest/gtest.h>

#include "core/stopwatch.h"

namespace {

int64_t At(int h, int m, int s, int ms = 0) { return vm::ClockMillis({2026, 12, 6, h, m, s, ms}); }

TEST(StopWatchTime, ElapsedTimeAndStopwatchTexts) {
    // The whole seconds between two clock readings, as the stopwatches take them.
    struct Case { vm::LocalTime from, to; const char* text; };
    for (const Case& c : {Case{{2026, 12, 6, 10, 0, 0}, {2026, 12, 6, 10, 0, 59, 999}, "0:0:0:59"},
                          Case{{2026, 12, 6, 10, 0, 0}, {2026, 12, 6, 10, 1, 0}, "0:0:1:0"},
                          Case{{2026, 12, 6, 9, 0, 0}, {2026, 12, 7, 10, 0, 0}, "1:1:0:0"},
                          Case{{2024, 12, 31, 23, 59, 59}, {2025, 1, 1, 0, 0, 1}, "0:0:0:2"},
                          Case{{2024, 2, 28, 0, 0, 0}, {2024, 3, 1, 0, 0, 0}, "2:0:0:0"},
                          Case{{2026, 12, 6, 12, 0, 0}, {2026, 12, 6, 11, 0, 0}, "0:0:0:0"}})
        EXPECT_EQ(vm::ElapsedTime((vm::ClockMillis(c.to) - vm::ClockMillis(c.from)) / 1000), c.text);
    // A stopwatch shows hours, minutes and seconds without days.
    vm::Stopwatch w;
    EXPECT_EQ(w.show(At(9, 0, 0)), "0:0:0");
    EXPECT_EQ(w.show(vm::ClockMillis({2026, 12, 7, 10, 0, 0})), "1:0:0") << "25 hours";
}

TEST(StopWatchTime, AZeroCountdownCompletesAndTheBoxesAreReadAgain) {
    // 0:0:0 completes at its first tick and leaves 0, so Start reads the boxes.
    vm::Countdown zero;
    zero.toggle(At(9, 0, 0), "0", "0", "0");
    EXPECT_TRUE(zero.tick(At(9, 0, 1)));
    EXPECT_EQ(zero.remaining, 0);
    zero.toggle(At(9, 0, 2), "0", "0", "3");
    EXPECT_EQ(zero.remaining, 3);

    // The boxes give their leading numbers, held to 32 bits.
    struct Boxes { const char *h, *m, *s; int32_t seconds; };
    for (const Boxes& b : {Boxes{"x", "5", "", 300}, Boxes{"1.5", "0", "0.4", 5400}, Boxes{"24", "60", "60", 90060},
                           Boxes{"99999999", "0", "0", 2147483647}})
        EXPECT_EQ(vm::CountdownSeconds(b.h, b.m, b.s), b.seconds) << b.h << ":" << b.m << ":" << b.s;
}

}  // namespace
