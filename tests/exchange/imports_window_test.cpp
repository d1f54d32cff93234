// The calendar-file and contract imports in the real main window, headless:
// the question, the completion boxes, the month drawn again with the new
// records and their repeats, and the contract panel's lists and filters.
#include <QComboBox>
#include <QLabel>
#include <QTableView>

#include <vector>

#include "exchange/orvantapanel.h"
#include "exchange/otherimports.h"
#include "exchangewindow.h"

namespace db = vm::db;
using vm::MsgResult;

namespace {

// A contract database as the contract program keeps it: two projects (one
// numbered 40000, one with an apostrophe) and status items dated as ISO text,
// month-first text, a day number, Null, empty, zero and unreadable text, and
// one item whose project is missing.
std::string MakeContractFile() {
    const std::string path = vmtest::MakeTempDir("velmora-con") + "/Jobs.con";
    auto con = db::Database::Create(path);
    con->exec("CREATE TABLE [Project] ([Proj_Num] INTEGER, [Proj_Desc] TEXT, [New_Proj] TEXT, [Budget] REAL)");
    con->exec("CREATE TABLE [Project_Status] ([ID] INTEGER PRIMARY KEY, [Proj_Num] INTEGER, [Status_Item] TEXT,"
              " [Status_Date] , [Note] TEXT)");
    con->exec("INSERT INTO [Project] VALUES (40000, 'O''Brien Bridge', 'P-7', 1.5), (12, 'Main Street', 'P-1', 2)");
    con->exec("INSERT INTO [Project_Status] ([Proj_Num], [Status_Item], [Status_Date]) VALUES "
              "(40000, 'Pour', '2026-03-15'), (40000, 'Inspect', '3/2/2026'), (12, 'Pour', '2026-07-04 10:00:00'),"
              "(999, 'Survey', '2026-12-01'), (12, 'Pour', NULL), (12, 'Pour', ''), (12, 'Pour', 0),"
              "(12, 'Owner''s walk', 46027), (12, 'Pour', 'next week')");
    return path;
}

class ImportWindow : public vmtest::ExchangeWindow {
protected:
    QLabel* Day(int i) { return Find<QLabel>(QString("lblDay_%1").arg(i)); }
    int64_t Count(const std::string& sql) { return db::AsInt(Query(sql)); }
};

TEST_F(ImportWindow, CalendarFileImportAsksThenDrawsTheMonthWithTheNewRecordsAndTheirRepeats) {
    std::string source = vmtest::FreshCalendar();
    db::Database::Open(source)->exec(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[Duration],"
        "[WorkDay]) VALUES (0,'2026-02-02',2026033,0,0,'AM','Choir','Weekly',3,-1),"
        "(0,'2026-02-10',2026041,0,0,'AM','Dentist','',0,-1)");
    for (const int added : {2, 0}) {  // the same file again without duplicates adds nothing
        fx.messages.clear();
        fx.messages.answers = {MsgResult::No};
        vm::ImportVelmoraFile(source);
        ASSERT_EQ(fx.messages.shown.size(), 2u);
        EXPECT_EQ(fx.messages.shown[0].text, "Import Duplicate Records?");
        EXPECT_EQ(fx.messages.shown[0].buttons, vm::MsgButtons::YesNo);
        EXPECT_EQ(fx.messages.shown[1].text,
                  std::to_string(added) + " Date Record(s) have been imported from:\r\n" + source);
        EXPECT_EQ(Count("SELECT count(*) FROM [Velmora]"), 2);
        EXPECT_EQ(Count("SELECT count(*) FROM [RepeatingData] WHERE [DateText] = 'Choir'"), 2);
        EXPECT_EQ(Day(1)->text(), " Choir");    // Feb 2, the record itself
        EXPECT_EQ(Day(8)->text(), " Choir");    // Feb 9, an occurrence
        EXPECT_EQ(Day(9)->text(), " Dentist");  // Feb 10
    }
}

TEST_F(ImportWindow, ContractPanelImportsTheDatedItemsPassingBothFiltersInTheMonthsColours) {
    for (int i = 1; i <= 12; ++i) {
        vm::MainState.Month[i].DayBG = 1000 + i;
        vm::MainState.Month[i].DayFG = 2000 + i;
    }
    const std::string con = MakeContractFile();
    vm::ShowOrvanta_Import(con);
    auto* panel = Find<vm::OrvantaPanel>("sspanelOrvanta");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(w->TwipsOf(panel).top, w->TwipsOf(w->Image1).top);
    EXPECT_EQ(w->TwipsOf(panel).left, w->TwipsOf(w->TDBGridDates).left);
    auto* projects = Find<QComboBox>("cmbSelProj");
    auto* types = Find<QComboBox>("cmbSelStatusItems");
    ASSERT_EQ(projects->count(), 3);
    EXPECT_EQ(projects->itemText(2), "O'Brien Bridge");
    EXPECT_EQ(projects->itemData(2).toLongLong(), 40000);
    ASSERT_EQ(types->count(), 5);

    // Independent day keys: 2026 is no leap year (Jan 31, Feb 28, Mar 31, ...).
    const std::string pour = "*P-7 - O'Brien Bridge - Pour 2026-03-15 2026074 1003 2003",
                      inspect = "*P-7 - O'Brien Bridge - Inspect 2026-03-02 2026061 1003 2003",
                      july = "*P-1 - Main Street - Pour 2026-07-04 2026185 1007 2007",
                      survey = "*Survey 2026-12-01 2026335 1012 2012",  // its project is missing
                      walk = "*P-1 - Main Street - Owner's walk 2026-01-05 2026005 1001 2001";
    struct Case {
        const char* project;
        const char* type;
        std::vector<std::string> expected;
        bool unreadable;
    } cases[] = {
        {"Select All Projects", "Select All Types", {pour, inspect, july, survey, walk}, true},
        {"O'Brien Bridge", "Select All Types", {pour, inspect}, false},
        {"O'Brien Bridge", "Pour", {pour}, false},
        {"Select All Projects", "Owner's walk", {walk}, false},
        {"Main Street", "Inspect", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.project) + " / " + c.type);
        db::Database::Open(calendar)->exec("DELETE FROM [Velmora]");
        fx.messages.clear();
        vm::ShowOrvanta_Import(con);
        projects->setCurrentText(c.project);
        types->setCurrentText(c.type);
        Click("sscmdStartOrvantaImport");
        ASSERT_EQ(fx.messages.shown.size(), 1u);
        EXPECT_EQ(fx.messages.shown[0].title, "Orvanta Date Records Complete");
        const std::string& box = fx.messages.shown[0].text;
        const std::string head =
            std::to_string(c.expected.size()) + " Orvanta Date Record(s) have been imported from:\r\n" + con + "\r\n";
        EXPECT_EQ(box.rfind(head, 0), 0u) << box;
        EXPECT_EQ(box.find("1 item(s) with an unreadable Status_Date") != std::string::npos, c.unreadable) << box;
        EXPECT_FALSE(panel->isVisible());
        // The imported records: text, date, day key, background and text colour.
        std::vector<std::string> rows;
        auto st = db::Database::Open(calendar)->prepare(
            "SELECT [DateText]||' '||[Date]||' '||[JulDate]||' '||[BGColor]||' '||[FGColor] FROM [Velmora]"
            " WHERE [DateType] = 'Orvanta' AND [Hide] = 0 AND [Duration] = 0 ORDER BY [ID]");
        while (st.step()) rows.push_back(db::AsText(st.column(0)));
        EXPECT_EQ(rows, c.expected);
        EXPECT_EQ(Count("SELECT count(*) FROM [Velmora]"), int64_t(rows.size()));
    }

    // A file that cannot be read is named, and the panel stays closed.
    const std::string notCon = vmtest::MakeTempDir("velmora-con") + "/Broken.con";
    vmtest::WriteAll(notCon, "not a database");
    fx.messages.clear();
    vm::ShowOrvanta_Import(notCon);
    ASSERT_NE(Box("ShowOrvanta_Import_Error"), nullptr);
    EXPECT_NE(Box("ShowOrvanta_Import_Error")->text.find(notCon), std::string::npos);
    EXPECT_FALSE(panel->isVisible());
}

}  // namespace