// The week view's entry lines without a window: time texts and ampersands.
#include <gtest/gtest.h>

#include <optional>

#include "core/weekview.h"

namespace {

TEST(WeekEntryLine, TimesTextsAndAmpersands) {
    using O = std::optional<int64_t>;
    const struct {
        O hour, minute;
        const char *ampm, *text, *line;
    } cases[] = {
        {9, 5, "AM", "Dentist", "  9:05 AM  Dentist "},
        {12, 0, "PM", "Lunch", "  12:00 PM  Lunch "},
        {0, 30, "AM", "Half past", "  Half past "},  // hour 0: no time whatever the minute
        {9, 5, "", "No half", "  9:05  No half "},
        {9, 5, "AMET", "Zoned", "  9:05 AMET  Zoned "},
        {std::nullopt, 5, "AM", "No hour", "  No hour "},
        {9, std::nullopt, "AM", "No minute", "  No minute "},
        {0, 0, "", "a &&&& b", "  a && b "},
    };
    for (const auto& c : cases) EXPECT_EQ(vm::WeekEntryLine(c.hour, c.minute, c.ampm, c.text), c.line) << c.text;
}

}  // namespace
