// The calendar-file and contract imports in the real main window, headless:
// the question, the completion boxes, the month drawn again with the new
// records and their repeats, and the contract panel's lists and filters.
#include <QComboBox>
#include <QLabel>
#include <QTableView>

#include "contractfixture.h"
#include "exchange/orvantapanel.h"
#include "exchange/otherimports.h"
#include "exchangewindow.h"

namespace db = vm::db;
using vm::MsgResult;

namespace {

class ImportWindow : public vmtest::ExchangeWindow {
protected:
    QLabel* Day(int i) { return Find<QLabel>(QString("lblDay_%1").arg(i)); }
    int64_t Count(const std::string& sql) { return db::AsInt(Query(sql)); }
    vm::OrvantaPanel* Panel() { return w->findChild<vm::OrvantaPanel*>("sspanelOrvanta"); }
};

TEST_F(ImportWindow, CalendarFileImportAsksThenDrawsTheMonthWithTheNewRecordsAndTheirRepeats) {
    std::string source = vmtest::FreshCalendar();
    {
        auto s = db::Database::Open(source);
        s->exec("INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],"
                "[Duration],[WorkDay]) VALUES (0,'2026-02-02',2026033,0,0,'AM','Choir','Weekly',3,-1),"
                "(0,'2026-02-10',2026041,0,0,'AM','Dentist','',0,-1)");
    }
    fx.messages.answers = {MsgResult::No};
    vm::ImportVelmoraFile(source);
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].text, "Import Duplicate Records?");
    EXPECT_EQ(fx.messages.shown[0].title, "Import Duplicate Records?");
    EXPECT_EQ(fx.messages.shown[0].buttons, vm::MsgButtons::YesNo);
    EXPECT_EQ(fx.messages.shown[1].text, "2 Date Record(s) have been imported from:\r\n" + source);
    EXPECT_EQ(Count("SELECT count(*) FROM [Velmora]"), 2);
    EXPECT_EQ(Count("SELECT count(*) FROM [RepeatingData] WHERE [DateText] = 'Choir'"), 2);
    EXPECT_EQ(Day(1)->text(), " Choir");    // Feb 2, the record itself
    EXPECT_EQ(Day(8)->text(), " Choir");    // Feb 9, an occurrence
    EXPECT_EQ(Day(9)->text(), " Dentist");  // Feb 10

    // The same file again without duplicates adds nothing.
    fx.messages.clear();
    fx.messages.answers = {MsgResult::No};
    vm::ImportVelmoraFile(source);
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].text, "0 Date Record(s) have been imported from:\r\n" + source);
    EXPECT_EQ(Count("SELECT count(*) FROM [Velmora]"), 2);
}

TEST_F(ImportWindow, ContractPanelListsTheDatabaseAndImportsWithBothFilters) {
    vm::OrvantaPanel* panel = Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());
    vm::MainState.Month[3].DayBG = 4242;
    vm::MainState.Month[3].DayFG = 99;
    const std::string con = vmtest::MakeContractFile();
    vm::ShowOrvanta_Import(con);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(w->TwipsOf(panel).top, w->TwipsOf(w->Image1).top);
    EXPECT_EQ(w->TwipsOf(panel).left, w->TwipsOf(w->TDBGridDates).left);
    auto* projects = panel->findChild<QComboBox*>("cmbSelProj");
    auto* types = panel->findChild<QComboBox*>("cmbSelStatusItems");
    auto* start = panel->findChild<QPushButton*>("sscmdStartOrvantaImport");
    ASSERT_TRUE(projects && types && start);
    EXPECT_EQ(start->text(), "Import Records");
    ASSERT_EQ(projects->count(), 3);
    EXPECT_EQ(projects->currentText(), "Select All Projects");
    EXPECT_EQ(projects->itemText(1), "Main Street");
    EXPECT_EQ(projects->itemText(2), "O'Brien Bridge");
    EXPECT_EQ(projects->itemData(2).toLongLong(), 40000);
    ASSERT_EQ(types->count(), 5);
    EXPECT_EQ(types->currentText(), "Select All Types");
    EXPECT_EQ(types->itemText(3), "Pour");

    projects->setCurrentIndex(2);
    types->setCurrentIndex(3);
    start->click();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Orvanta Date Records Complete");
    EXPECT_EQ(fx.messages.shown[0].text, "1 Orvanta Date Record(s) have been imported from:\r\n" + con +
                                             "\r\n\r\nPlease Close the Selection Panel if You are Done.");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(Count("SELECT count(*) FROM [Velmora] WHERE [DateText] = '*P-7 - O''Brien Bridge - Pour'"
                    " AND [BGColor] = 4242 AND [FGColor] = 99 AND [JulDate] = 2026074"),
              1);
    EXPECT_EQ(Count("SELECT count(*) FROM [Velmora]"), 1);

    // Again with everything: the unreadable date is named in the box.
    fx.messages.clear();
    vm::ShowOrvanta_Import(con);
    start->click();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text.rfind("5 Orvanta Date Record(s)", 0), 0u) << fx.messages.shown[0].text;
    EXPECT_NE(fx.messages.shown[0].text.find("1 item(s) with an unreadable Status_Date"), std::string::npos);
    EXPECT_EQ(Count("SELECT count(*) FROM [Velmora]"), 6);
}

TEST_F(ImportWindow, AContractFileThatCannotBeReadIsNamedAndThePanelStaysClosed) {
    const std::string notCon = vmtest::MakeTempDir("velmora-con") + "/Broken.con";
    vmtest::WriteAll(notCon, "not a database");
    vm::ShowOrvanta_Import(notCon);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "ShowOrvanta_Import_Error");
    EXPECT_NE(fx.messages.shown[0].text.find(notCon), std::string::npos);
    EXPECT_FALSE(Panel()->isVisible());
}

}  // namespace
