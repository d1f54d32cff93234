#include <gtest/gtest.h>

#include "core/record.h"
#include "core/recordstyle.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

TEST(DateRecord, AlarmOffsets) {
    using V = std::vector<int>;
    EXPECT_EQ(vm::ReadAlarmOffsets("15"), V{15});
    EXPECT_EQ(vm::ReadAlarmOffsets("15,0"), V{15});
    EXPECT_EQ(vm::ReadAlarmOffsets("0"), V{});
    EXPECT_EQ(vm::ReadAlarmOffsets("-5"), V{-5});
    EXPECT_EQ(vm::ReadAlarmOffsets("soon"), V{});
    EXPECT_EQ(vm::ReadAlarmOffsets("30,-10, x,5"), (V{30, -10, 5}));
    EXPECT_EQ(vm::ReadAlarmOffsets("  "), V{});
}

TEST(DateRecord, WritesAndReadsEveryColumnByName) {
    vmtest::Fixture fx;
    db::RecordSource rs;
    rs.setDatabaseName(vmtest::FreshCalendar());
    rs.setRecordSource("Velmora");
    rs.refresh();
    vm::DateRecord r;
    r.Hide = true;
    r.Date = {2024, 12, 31};
    r.Hour = 3;
    r.Minute = 7;
    r.AM_PM = "PMET";
    r.DateText = "O'Brien's 50% party";
    r.Duration = 4;
    r.Repeat = "Every-10";
    r.DateType = "Birthday";
    r.WorkDay = true;
    r.Alarm = "15,-5";
    r.SoundNum = 7;
    r.Font = "Arial, 12,True,False";
    r.Priority = 200;
    r.DayColors = "0;16777215;0;16777215;3;3";
    r.Hr24 = 15;
    rs.addNew();
    vm::WriteDateRecord(rs, r);
    rs.update();
    rs.refresh();
    const vm::DateRecord back = vm::ReadDateRecord(rs);
    EXPECT_GT(back.ID, 0);
    EXPECT_EQ(back.JulDate, 2024366);
    EXPECT_EQ(back.Date, r.Date);
    EXPECT_EQ(std::tie(back.Hide, back.Hour, back.Minute, back.AM_PM, back.DateText, back.Duration, back.Repeat,
                       back.DateType, back.WorkDay, back.Alarm, back.SoundNum, back.Font, back.Priority,
                       back.DayColors, back.Hr24),
              std::tie(r.Hide, r.Hour, r.Minute, r.AM_PM, r.DateText, r.Duration, r.Repeat, r.DateType, r.WorkDay,
                       r.Alarm, r.SoundNum, r.Font, r.Priority, r.DayColors, r.Hr24));
    EXPECT_EQ(db::AsText(rs.field("Date")), "2024-12-31");
    EXPECT_EQ(db::AsInt(rs.field("Hide")), -1);
}

TEST(RecordStyle, DayColorsAndFontTextsReadMalformedPartsAsMissing) {
    EXPECT_EQ(vm::ComposeDayColors({"-255", "&HFF00&", "&HFF00", " 1 2 "}, "day is transparent", "Title is Transparent"),
              "-255;65280;-256;12;3;2");
    const auto shown = vm::ShowDayColors("1;2;3;4;9;2");
    EXPECT_EQ(shown.boxes[0], "1");
    EXPECT_EQ(shown.boxes[3], "4");
    EXPECT_FALSE(shown.dayList) << "a style outside 0..3 leaves the list";
    EXPECT_EQ(shown.titleList, "Title is Transparent");
    EXPECT_EQ(vm::ShowDayColors("-255;0;0;0;0;3").boxes[0], "-255");
    EXPECT_EQ(vm::ShowDayColors("-255;0;0;0;0;3").dayList, " ");
    const auto partial = vm::ShowDayColors("7;8");
    EXPECT_EQ(partial.boxes[1], "8");
    EXPECT_FALSE(partial.boxes[2]);
    EXPECT_FALSE(partial.titleList);

    const auto parts = vm::SplitDayColors(" 255;x;;-3 ");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0], 255);
    EXPECT_FALSE(parts[1]);
    EXPECT_FALSE(parts[2]);
    EXPECT_EQ(parts[3], -3);
    EXPECT_TRUE(vm::SplitDayColors("").empty());

    const auto f = vm::ParseFontString("Arial, 12,True,0");
    EXPECT_EQ(f.name, "Arial");
    EXPECT_EQ(f.size, 12);
    EXPECT_EQ(f.bold, true);
    EXPECT_EQ(f.italic, false);
    const auto g = vm::ParseFontString("Courier,big");
    EXPECT_EQ(g.name, "Courier");
    EXPECT_FALSE(g.size);
    EXPECT_FALSE(g.bold);
    EXPECT_FALSE(vm::ParseFontString("").name);
}

}  // namespace
