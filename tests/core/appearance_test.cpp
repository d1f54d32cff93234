#include <gtest/gtest.h>

#include "core/appearance.h"
#include "core/module1.h"
#include "platform/places.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::Currency;
using vm::MainState;
using vm::Module1;

namespace {

void Exec(const std::string& path, const std::string& sql) { db::Database::Open(path)->exec(sql); }

std::string Picture(const std::string& path, int row) {
    auto d = db::Database::Open(path);
    auto st = d->prepare("SELECT [ImageFileName] FROM [Backgrounds] ORDER BY rowid LIMIT 1 OFFSET ?");
    st.bind(1, db::Int(row - 1));
    return st.step() ? db::AsText(st.column(0)) : "<no row>";
}

TEST(MonthAppearance, AllSeventeenValuesRoundTripForEveryMonth) {
    vmtest::Fixture fx;
    Module1.CalendarFilePath = vmtest::FreshCalendar();
    for (int m = 1; m <= 12; ++m) {
        auto& a = MainState.Month[m];
        Module1.MonthImageFile[m] = "/pictures/month" + std::to_string(m) + ".png";
        a.DayFG = m;
        a.DayBG = 100 + m;
        a.TitleFG = 200 + m;
        a.TitleBG = 16777215 - m;
        a.DayFntName = "Day Font " + std::to_string(m);
        a.DayFntSiz = Currency::FromDouble(8.25 + m);
        a.DayFntBold = m % 2;
        a.DayFntItalic = m % 3 == 0;
        a.DayFntUndrLn = m % 4 == 0;
        a.DayFntStrkThr = m % 5 == 0;
        a.TitleFntName = "Title " + std::to_string(m);
        a.TitleFntSiz = Currency::FromDouble(20.1234);
        a.TitleFntBold = m % 2 == 0;
        a.TitleFntItalic = m % 3 == 1;
        a.TitleFntUndrLn = m % 4 == 1;
        a.TitleFntStrkThr = m % 5 == 1;
    }
    const auto expected = MainState.Month;
    const auto pictures = Module1.MonthImageFile;
    db::RecordSource DataSettings;
    vm::SaveFonts2File(DataSettings);
    MainState.Month = {};
    Module1.MonthImageFile = {};
    vm::ReadCalValues(DataSettings);
    EXPECT_TRUE(fx.messages.shown.empty());
    for (int m = 1; m <= 12; ++m) {
        const auto& a = MainState.Month[m];
        const auto& e = expected[m];
        EXPECT_EQ(Module1.MonthImageFile[m], pictures[m]);
        EXPECT_EQ(std::tie(a.DayFG, a.DayBG, a.TitleFG, a.TitleBG), std::tie(e.DayFG, e.DayBG, e.TitleFG, e.TitleBG));
        EXPECT_EQ(std::tie(a.DayFntName, a.DayFntSiz, a.DayFntBold, a.DayFntItalic, a.DayFntUndrLn, a.DayFntStrkThr),
                  std::tie(e.DayFntName, e.DayFntSiz, e.DayFntBold, e.DayFntItalic, e.DayFntUndrLn, e.DayFntStrkThr))
            << m;
        EXPECT_EQ(std::tie(a.TitleFntName, a.TitleFntSiz, a.TitleFntBold, a.TitleFntItalic, a.TitleFntUndrLn,
                           a.TitleFntStrkThr),
                  std::tie(e.TitleFntName, e.TitleFntSiz, e.TitleFntBold, e.TitleFntItalic, e.TitleFntUndrLn,
                           e.TitleFntStrkThr))
            << m;
    }
}

TEST(MonthAppearance, NullRowsLoadTheDefaultsAndStartUpRepairsThem) {
    vmtest::Fixture fx;
    Module1.CalendarFilePath = vmtest::FreshCalendar();
    Exec(Module1.CalendarFilePath,
         "UPDATE [Backgrounds] SET [ImageFileName] = NULL, [DayFG] = NULL, [DayBG] = NULL, [TitleFG] = NULL, "
         "[TitleBG] = NULL, [DayFntName] = NULL, [DayFntSiz] = NULL, [DayFntBold] = NULL, [DayFntItalic] = NULL, "
         "[DayFntUndrLn] = NULL, [DayFntStrkThr] = NULL, [TitleFntName] = '', [TitleFntSiz] = NULL, "
         "[TitleFntBold] = NULL, [TitleFntItalic] = NULL, [TitleFntUndrLn] = NULL, [TitleFntStrkThr] = NULL");
    Exec(Module1.CalendarFilePath, "UPDATE [Backgrounds] SET [DayBG] = 0, [TitleFntSiz] = 7, [DayFntSiz] = 8 "
                                   "WHERE rowid = (SELECT min(rowid) FROM [Backgrounds])");
    db::RecordSource DataSettings;
    vm::ReadCalValues(DataSettings);
    EXPECT_TRUE(fx.messages.shown.empty());
    const auto& feb = MainState.Month[2];
    EXPECT_EQ(feb.DayFG, 0);
    EXPECT_EQ(feb.DayBG, 16777215);
    EXPECT_EQ(feb.TitleBG, 16777215);
    EXPECT_EQ(feb.DayFntSiz, Currency::Whole(11));
    EXPECT_EQ(feb.TitleFntSiz, Currency::Whole(14));
    EXPECT_FALSE(feb.DayFntBold);
    EXPECT_TRUE(feb.TitleFntBold);
    EXPECT_FALSE(feb.DayFntItalic || feb.DayFntUndrLn || feb.DayFntStrkThr || feb.TitleFntItalic);
    EXPECT_EQ(feb.DayFntName, "MS Sans Serif");
    EXPECT_EQ(feb.TitleFntName, "MS Sans Serif");
    EXPECT_EQ(Module1.MonthImageFile[2], "");

    // Before the repair a stored 0 background is black and a small size stays.
    EXPECT_EQ(MainState.Month[1].DayBG, 0);
    EXPECT_EQ(MainState.Month[1].TitleFntSiz, Currency::Whole(7));
    vm::SetDefaultCalValues();
    EXPECT_EQ(MainState.Month[1].DayBG, 16777215);
    EXPECT_EQ(MainState.Month[1].TitleFntSiz, Currency::Whole(11));
    EXPECT_EQ(MainState.Month[1].DayFntSiz, Currency::Whole(8)) << "8 itself stays";
}

TEST(MonthAppearance, AnEmptyPictureNameKeepsTheStoredOne) {
    vmtest::Fixture fx;
    Module1.CalendarFilePath = vmtest::FreshCalendar();
    db::RecordSource DataSettings;
    vm::ReadCalValues(DataSettings);
    const std::string stored = Picture(Module1.CalendarFilePath, 3);
    ASSERT_FALSE(stored.empty());
    Module1.MonthImageFile[3].clear();
    MainState.Month[3].DayFntBold = true;
    vm::SaveFonts2File(DataSettings);
    EXPECT_EQ(Picture(Module1.CalendarFilePath, 3), stored);
    vm::ReadCalValues(DataSettings);
    EXPECT_TRUE(MainState.Month[3].DayFntBold);
    EXPECT_FALSE(MainState.Month[4].DayFntBold);
}

TEST(MonthAppearance, AShortTableLoadsDefaultsAndIsCompletedOnSave) {
    vmtest::Fixture fx;
    Module1.CalendarFilePath = vmtest::FreshCalendar();
    Exec(Module1.CalendarFilePath, "DELETE FROM [Backgrounds] WHERE rowid > (SELECT min(rowid) + 4 FROM [Backgrounds])");
    Exec(Module1.CalendarFilePath, "UPDATE [Backgrounds] SET [DayFG] = 255");
    db::RecordSource DataSettings;
    vm::ReadCalValues(DataSettings);
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_EQ(MainState.Month[5].DayFG, 255);
    EXPECT_EQ(MainState.Month[6].DayFG, 0);
    EXPECT_EQ(MainState.Month[12].TitleFntSiz, Currency::Whole(14));
    MainState.Month[12].DayFG = 4242;
    vm::SaveFonts2File(DataSettings);
    auto d = db::Database::Open(Module1.CalendarFilePath);
    auto st = d->prepare("SELECT count(*), max([DayFG]) FROM [Backgrounds]");
    st.step();
    EXPECT_EQ(db::AsInt(st.column(0)), 12);
    EXPECT_EQ(db::AsInt(st.column(1)), 4242);
}

TEST(MonthAppearance, NoCalendarFileTouchesNothing) {
    vmtest::Fixture fx;
    Module1.CalendarFilePath = vmtest::MakeTempDir("velmora-none") + "/gone.mdb";
    MainState.Month[1].DayFG = 77;
    db::RecordSource DataSettings;
    vm::ReadCalValues(DataSettings);
    vm::SaveFonts2File(DataSettings);
    EXPECT_EQ(MainState.Month[1].DayFG, 77);
    EXPECT_FALSE(vm::FileExists(Module1.CalendarFilePath));
    EXPECT_TRUE(fx.messages.shown.empty());
}

}  // namespace
