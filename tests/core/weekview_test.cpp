// The week view's rules without a window: the seven days of a week offset
// and the entry lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dates.h"
#include "core/weekview.h"

namespace {

using vm::CivilDate;

TEST(WeekFrame, SevenSundayFirstDaysWithTheirKeysAcrossYearEnds) {
    const struct {
        CivilDate today;
        int offset;
        const char* caption;
        std::array<int32_t, 7> keys;
        int todayColumn;
    } cases[] = {
        // 30 Dec 2026 is a Wednesday: its week runs into 2027.
        {{2026, 12, 30}, 0, "December -  2026", {2026361, 2026362, 2026363, 2026364, 2026365, 2027001, 2027002}, 3},
        // The caption follows the shown day, not its Sunday.
        {{2026, 1, 1}, 0, "January -  2026", {2025362, 2025363, 2025364, 2025365, 2026001, 2026002, 2026003}, 4},
        // A leap year's 366th day.
        {{2027, 1, 5}, -105, "December -  2024", {2024364, 2024365, 2024366, 2025001, 2025002, 2025003, 2025004}, -1},
    };
    for (const auto& c : cases) {
        const vm::WeekFrame f = vm::MakeWeekFrame(c.today, c.offset);
        const std::string at = vm::FormatMDY(c.today) + " offset " + std::to_string(c.offset);
        EXPECT_EQ(f.caption, c.caption) << at;
        EXPECT_EQ(f.keys, c.keys) << at;
        EXPECT_EQ(f.todayColumn, c.todayColumn) << at;
    }
}

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
