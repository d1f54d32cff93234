#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

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

// Every value of a month's look, comparable at once.
auto Fields(const vm::MonthAppearance& a) {
    return std::tie(a.DayFG, a.DayBG, a.TitleFG, a.TitleBG, a.DayFntName, a.DayFntSiz, a.DayFntBold, a.DayFntItalic,
                    a.DayFntUndrLn, a.DayFntStrkThr, a.TitleFntName, a.TitleFntSiz, a.TitleFntBold, a.TitleFntItalic,
                    a.TitleFntUndrLn, a.TitleFntStrkThr);
}

class MonthLook : public ::testing::Test {
protected:
    vmtest::Fixture fx;
    std::string path = Module1.CalendarFilePath = vmtest::FreshCalendar();
    db::RecordSource DataSettings;
};

TEST_F(MonthLook, AllSeventeenValuesRoundTripForEveryMonth) {
    for (int m = 1; m <= 12; ++m) {
        Module1.MonthImageFile[m] = "/pictures/month" + std::to_string(m) + ".png";
        MainState.Month[m] = {m, 100 + m, 16777215 - m, 200 + m, "Day Font " + std::to_string(m),
                              Currency::FromDouble(8.25 + m), m % 2 == 1, m % 3 == 0, m % 4 == 0, m % 5 == 0,
                              "Title " + std::to_string(m), Currency::FromDouble(20.1234), m % 2 == 0, m % 3 == 1,
                              m % 4 == 1, m % 5 == 1};
    }
    const auto expected = MainState.Month;
    const auto pictures = Module1.MonthImageFile;
    vm::SaveFonts2File(DataSettings);
    MainState.Month = {};
    Module1.MonthImageFile = {};
    vm::ReadCalValues(DataSettings);
    EXPECT_TRUE(fx.messages.shown.empty());
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(Module1.MonthImageFile[m], pictures[m]);
        EXPECT_EQ(Fields(MainState.Month[m]), Fields(expected[m])) << m;
    }
}

TEST_F(MonthLook, NullRowsLoadTheDefaultsAndStartUpRepairsThem) {
    Exec(path,
         "UPDATE [Backgrounds] SET [ImageFileName] = NULL, [DayFG] = NULL, [DayBG] = NULL, [TitleFG] = NULL, "
         "[TitleBG] = NULL, [DayFntName] = NULL, [DayFntSiz] = NULL, [DayFntBold] = NULL, [DayFntItalic] = NULL, "
         "[DayFntUndrLn] = NULL, [DayFntStrkThr] = NULL, [TitleFntName] = '', [TitleFntSiz] = NULL, "
         "[TitleFntBold] = NULL, [TitleFntItalic] = NULL, [TitleFntUndrLn] = NULL, [TitleFntStrkThr] = NULL");
    Exec(path, "UPDATE [Backgrounds] SET [DayBG] = 0, [TitleFntSiz] = 7, [DayFntSiz] = 8 "
               "WHERE rowid = (SELECT min(rowid) FROM [Backgrounds])");
    vm::ReadCalValues(DataSettings);
    EXPECT_TRUE(fx.messages.shown.empty());
    const auto& feb = MainState.Month[2];
    EXPECT_EQ(feb.DayFG, 0);
    EXPECT_EQ(feb.DayBG, 16777215);
    EXPECT_EQ(feb.DayFntSiz, Currency::Whole(11));
    EXPECT_EQ(feb.TitleFntSiz, Currency::Whole(14));
    EXPECT_EQ(Module1.MonthImageFile[2], "");

    // Before the repair a stored 0 background is black and a small size stays.
    EXPECT_EQ(MainState.Month[1].DayBG, 0);
    EXPECT_EQ(MainState.Month[1].TitleFntSiz, Currency::Whole(7));
    vm::SetDefaultCalValues();
    EXPECT_EQ(MainState.Month[1].DayBG, 16777215);
    EXPECT_EQ(MainState.Month[1].TitleFntSiz, Currency::Whole(11));
    EXPECT_EQ(MainState.Month[1].DayFntSiz, Currency::Whole(8)) << "8 itself stays";
}

TEST_F(MonthLook, AShortTableLoadsDefaultsAndIsCompletedOnSave) {
    Exec(path, "DELETE FROM [Backgrounds] WHERE rowid > (SELECT min(rowid) + 4 FROM [Backgrounds])");
    Exec(path, "UPDATE [Backgrounds] SET [DayFG] = 255");
    vm::ReadCalValues(DataSettings);
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_EQ(MainState.Month[5].DayFG, 255);
    EXPECT_EQ(MainState.Month[6].DayFG, 0);
    EXPECT_EQ(MainState.Month[12].TitleFntSiz, Currency::Whole(14));
    MainState.Month[12].DayFG = 4242;
    vm::SaveFonts2File(DataSettings);
    auto d = db::Database::Open(path);
    auto st = d->prepare("SELECT count(*), max([DayFG]) FROM [Backgrounds]");
    st.step();
    EXPECT_EQ(db::AsInt(st.column(0)), 12);
    EXPECT_EQ(db::AsInt(st.column(1)), 4242);
}

// A disk that fills part way through the save: one plain box, and the
// stored looks stay as they were.
TEST_F(MonthLook, ADiskFilledPartWayKeepsTheStoredLooksAndSaysSoOnce) {
    DataSettings.setDatabaseName(path);
    db::Database& store = DataSettings.database();
    store.exec("VACUUM");  // no free pages left to take
    int64_t pages = 0;
    {
        auto count = store.prepare("PRAGMA page_count");
        count.step();
        pages = db::AsInt(count.column(0));
    }
    store.exec("PRAGMA max_page_count = " + std::to_string(pages));
    for (auto& picture : Module1.MonthImageFile) picture = "Pictures/" + std::string(240, 'x') + ".jpg";
    for (auto& month : MainState.Month) month.DayFntName = month.TitleFntName = std::string(50, 'f');
    vm::SaveFonts2File(DataSettings);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_NE(fx.messages.shown[0].text.find("The disk is full"), std::string::npos) << fx.messages.shown[0].text;
    auto stored = db::Database::Open(path)->prepare("SELECT count(*) FROM [Backgrounds] WHERE length([ImageFileName]) > 200");
    stored.step();
    EXPECT_EQ(db::AsInt(stored.column(0)), 0) << "the month looks are stored whole or not at all";
    // The user's next key press is the next command.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &key);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
