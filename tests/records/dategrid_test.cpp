// The main window's date grid, driven headless in the real window: the search
// bar and its modes, the multi-word panel, the type filter, the record count
// and the delete button; header sorts; cell edits stored in the file; the
// record colour panel and the font cell; the copy panel; the repeat window.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <filesystem>

#include <map>

#include "core/appearance.h"
#include "core/dates.h"
#include "core/module1.h"
#include "records/colorpanel.h"
#include "records/dategrid.h"
#include "mainwindow/frmvelmora.h"
#include "platform/pickers.h"
#include "platform/recordgrid.h"
#include "records/frmrepeats.h"
#include "tools/frmredgreenblue.h"
#include "core/monthlayout.h"
#include <QHBoxLayout>
#include "gridedit.h"
#include "keyboard.h"
#include "mainwindow/monthfixture.h"

namespace db = vm::db;
using vm::CivilDate;
using vm::MsgResult;

namespace {

struct Rec {
    const char* date;
    const char* text;
    const char* type = "Event";
    const char* repeat = "";
    int hide = 0;
    int duration = 0;
};

class DateGrid : public vmtest::MonthBuild {
protected:
    std::shared_ptr<db::Database> store = cal.db;
    vm::FakePickers pickers;

    void SetUp() override {
        vm::SetPickers(&pickers);
        MonthBuild::SetUp();
        w->SetToday(CivilDate{2024, 3, 14});
        w->resize(1600, 900);
    }
    void TearDown() override {
        vm::UnloadRepeats();
        w.reset();
        vm::SetPickers(nullptr);
    }
    int64_t Add(const Rec& r) {
        auto st = store->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[Duration],"
            "[Priority],[DayColors],[Font],[Alarm],[SoundNum],[WorkDay],[DateType],[Hr24]) "
            "VALUES (?,?,?,1,0,'AM',?,?,?,0,'',NULL,'',1,-1,?,1)");
        st.bindAll({db::Int(r.hide), db::Text(r.date), db::Int(vm::Date2Julian(*vm::ParseIso(r.date))), db::Text(r.text),
                    db::Text(r.repeat), db::Int(r.duration),
                    r.type ? db::Text(r.type) : db::Value{}});
        st.run();
        return store->lastInsertId();
    }
    void Draw() { MonthBuild::Draw("March", " 2024"); }
    void Search(const QString& text) {
        w->dateGrid->txtSearch->setText(text);
        QTest::keyClick(w->dateGrid->txtSearch, Qt::Key_Return);
    }
    // DateText of every listed row, in grid order.
    std::vector<std::string> Listed() {
        std::vector<std::string> out;
        const int col = w->DataDatesModel->fieldIndex("DateText");
        for (int r = 0; r < w->DataDatesModel->recordCount(); ++r)
            out.push_back(db::AsText(w->DataDatesModel->value(r, col)));
        return out;
    }
    bool DeleteShown() { return w->Toolbar1Button(10)->isVisible() && w->Toolbar1Button(12)->isVisible(); }
    std::string Stored(int64_t id, const char* field) {
        auto st = store->prepare(std::string("SELECT [") + field + "] FROM [Velmora] WHERE [ID] = ?");
        st.bind(1, db::Int(id));
        return st.step() ? db::AsText(st.column(0)) : "<no row>";
    }
    int RowOf(int64_t id) {
        const int col = w->DataDatesModel->fieldIndex("ID");
        for (int r = 0; r < w->DataDatesModel->recordCount(); ++r)
            if (db::AsInt(w->DataDatesModel->value(r, col)) == id) return r;
        return -1;
    }
    QModelIndex Cell(int64_t id, int gridColumn) {
        return w->DataDatesModel->index(RowOf(id), w->dateGrid->DateGridColumn(gridColumn));
    }
    bool Edit(int64_t id, int gridColumn, const QString& text) {
        return w->DataDatesModel->setData(Cell(id, gridColumn), text, Qt::EditRole);
    }
    void DoubleClick(int64_t id, int gridColumn) {
        const QModelIndex at = Cell(id, gridColumn);
        w->TDBGridDates->setCurrentIndex(at);
        w->TDBGridDates->scrollTo(at);
        const QPoint p = w->TDBGridDates->visualRect(at).center();
        QTest::mouseClick(w->TDBGridDates->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(w->TDBGridDates->viewport(), Qt::LeftButton, {}, p);
    }
    int64_t Number(const std::string& sql) {
        auto st = store->prepare(sql);
        return st.step() ? db::AsInt(st.column(0)) : 0;
    }
    // Every occurrence row, its columns but the row number, in one order.
    std::string OccurrenceRows() {
        auto st = store->prepare("SELECT * FROM [RepeatingData] ORDER BY [JulDate],[DateText],[Hr24]");
        std::string rows;
        while (st.step()) {
            for (int c = 0; c < st.columnCount(); ++c)
                if (st.columnName(c) != "ID") rows += db::AsText(st.column(c)) + "|";
            rows += "\n";
        }
        return rows;
    }
    void CopyListed(const char* fromYear, const char* toYear, const char* type) {
        if (!w->dateGrid->ssPanlCopyRecs->isVisible()) w->Toolbar1_ButtonClick(w->Toolbar1Button("CopyRec"));
        w->dateGrid->txtOrigCopyYr->setText(fromYear);
        w->dateGrid->txtNewCopyYr->setText(toYear);
        w->dateGrid->cmbCopyDteTyp->setEditText(type);
        fx.messages.clear();
        w->dateGrid->sscmdCopyRec->click();
    }
    void ClickHeader(int gridColumn) {
        QHeaderView* header = w->TDBGridDates->horizontalHeader();
        const int section = w->dateGrid->DateGridColumn(gridColumn);
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(DateGrid, SearchModesCountAndTheDeleteButton) {
    const std::string cake = "Birthday CAKE", cafe = "Café Été", dentist = "Dentist 50% off the_x_ deal",
                      visit = "O'Brien visit";
    Add({"2024-03-05", cake.c_str(), nullptr});  // no DateType and no Font
    Add({"2024-03-06", cafe.c_str()});
    Add({"2024-01-05", dentist.c_str()});
    Add({"2024-01-10", visit.c_str()});
    Draw();
    ASSERT_FALSE(DeleteShown());
    const struct { const char* typed; std::vector<std::string> listed; bool deleteShown; } cases[] = {
        {"cake", {cake}, true},
        {"été", {cafe}, true},
        {"o'brien", {visit}, true},
        {"% off the_x", {dentist}, true},  // literal: "%" and "_" match only themselves
        {"o_brien", {}, false},
        {"1/5/2024;1/10/2024", {dentist, visit}, true},
        {"1/5/24", {dentist}, true},  // two year digits: this century
        {"3/6/24;3/6/2024", {cafe}, true},
        {"", {dentist, visit, cake, cafe}, false},  // every record: nothing to delete as a listing
        {"no such words", {}, false},
    };
    for (const auto& c : cases) {
        Search(c.typed);
        EXPECT_EQ(Listed(), c.listed) << c.typed;
        EXPECT_EQ(w->dateGrid->lblRecCnt->text().toStdString(), std::to_string(c.listed.size()) + " Recs") << c.typed;
        EXPECT_EQ(DeleteShown(), c.deleteShown) << c.typed;
    }

    // A date that names no day: a message, and the grid keeps its rows.
    Search("1/5/2024");
    fx.messages.clear();
    Search("2/30/2024");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(Listed(), std::vector<std::string>{dentist});

    QTest::mouseClick(w->dateGrid->txtSearch, Qt::LeftButton);
    EXPECT_EQ(w->dateGrid->txtSearch->text(), "");
    Search("cake");
    w->dateGrid->sscmdClearSrch->click();
    EXPECT_FALSE(DeleteShown());
    EXPECT_EQ(w->dateGrid->lblRecCnt->text(), "");
    EXPECT_EQ(Listed(), std::vector<std::string>{cake}) << "the grid keeps its rows";
}

TEST_F(DateGrid, MultiWordPanelAndTypeFilter) {
    Add({"2024-03-01", "apple pie", "Food", "Daily", 0, 2});
    Add({"2024-03-02", "apple tart", "Food", "WeekMask-TFTTFFT", 0, 2});
    Add({"2024-03-03", "pear", nullptr, "", -1});
    Add({"2024-03-04", "plum", "Fruit", "weekmask-YNYNYNY", -1, 1});
    Draw();

    Search("apple;pie");
    EXPECT_FALSE(w->dateGrid->sspnlMultiWord->isHidden());
    EXPECT_EQ(w->dateGrid->txtSrch[1]->text(), "pie");
    EXPECT_TRUE(w->dateGrid->txtSrch[2]->isHidden());
    EXPECT_EQ(Listed().size(), 4u) << "nothing listed until the panel's search";

    w->dateGrid->cmbMultSrch[0]->setCurrentText("Not");
    w->dateGrid->sscmdMultSrch->click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"pear", "plum"}));
    EXPECT_TRUE(DeleteShown());
    EXPECT_TRUE(w->dateGrid->sspnlMultiWord->isHidden());

    Search("APPLE;tart;Food");
    EXPECT_FALSE(w->dateGrid->txtSrch[2]->isHidden());

    w->Combo3->setEditText("WeekMask TF/YN");
    w->dateGrid->Combo3_Click();
    EXPECT_EQ(w->Combo3->currentText(), "WeekMask");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"apple tart", "plum"}));
    EXPECT_TRUE(DeleteShown());
    w->Combo3->setEditText("Hidden");
    w->dateGrid->Combo3_Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"pear", "plum"}));

    w->dateGrid->sscmdClearSrch->click();
    EXPECT_FALSE(DeleteShown());
}

TEST_F(DateGrid, HeaderSortThreeClicksKeepsTheCurrentRecord) {
    const int64_t a = Add({"2024-03-09", "A"});
    const int64_t b = Add({"2024-03-02", "B"});
    Add({"2024-03-09", "C"});
    Add({"2024-03-20", "D"});
    Draw();
    w->TDBGridDates->setCurrentIndex(Cell(b, 5));
    const std::vector<std::string> ascending{"B", "A", "C", "D"}, descending{"D", "A", "C", "B"};
    ClickHeader(1);
    EXPECT_EQ(Listed(), ascending);
    EXPECT_EQ(w->TDBGridDates->currentIndex().row(), RowOf(b));
    ClickHeader(1);
    EXPECT_EQ(Listed(), descending) << "the same day stays in ID order";
    EXPECT_EQ(w->TDBGridDates->currentIndex().row(), 3);
    ClickHeader(1);
    EXPECT_EQ(Listed(), ascending);
    EXPECT_EQ(w->TDBGridDates->currentIndex().row(), 0);

    // Hide: No only sorts; Yes flips Hide on the listed rows only.
    const int64_t other = Add({"2024-07-01", "elsewhere"});
    Search("1/1/2024;3/31/2024");
    fx.messages.answers.push_back(MsgResult::No);
    ClickHeader(0);
    EXPECT_EQ(Stored(a, "Hide"), "0");
    fx.messages.answers.push_back(MsgResult::Yes);
    ClickHeader(0);
    EXPECT_EQ(Stored(a, "Hide"), "-1");
    EXPECT_EQ(Stored(b, "Hide"), "-1");
    EXPECT_EQ(Stored(other, "Hide"), "0");
    // A calendar that refuses the flip says so once, plainly, and flips nothing.
    store->exec("CREATE TRIGGER [fail] BEFORE UPDATE ON [Velmora] BEGIN SELECT RAISE(ABORT, 'refused'); END");
    fx.messages.clear();
    fx.messages.answers.push_back(MsgResult::Yes);
    ClickHeader(0);
    ASSERT_EQ(fx.messages.shown.size(), 2u);  // the question, then the failure
    EXPECT_EQ(fx.messages.shown[1].text, "The hidden rows could not be saved: refused");
    EXPECT_EQ(Stored(a, "Hide"), "-1");
    store->exec("DROP TRIGGER [fail]");
    EXPECT_FALSE(DeleteShown());
}

TEST_F(DateGrid, CellEditsDeriveAndStoreAndRefuseWhatAColumnCannotHold) {
    const int64_t id = Add({"2024-03-05", "Edited", "Event", "Yearly", 0, 0});
    vm::MainState.Month[3].DayFG = 255;
    vm::MainState.Month[3].DayBG = 16777215;
    w->pCalendarStyle = 1;
    Draw();
    vm::MainState.pRebuildRepeating = false;

    ASSERT_TRUE(Edit(id, 1, "3/1/2024"));
    EXPECT_EQ(Stored(id, "Date"), "2024-03-01");
    EXPECT_EQ(Stored(id, "JulDate"), "2024061");
    EXPECT_EQ(Stored(id, "DayColors"), "255;16777215;255;16777215;1;1");
    EXPECT_TRUE(vm::MainState.pRebuildRepeating) << "any edit, Repeat Periods 0 too, until the pass runs";

    ASSERT_TRUE(Edit(id, 2, "7"));
    ASSERT_TRUE(Edit(id, 4, "pm"));
    EXPECT_EQ(Stored(id, "AM_PM"), "PM");
    EXPECT_EQ(Stored(id, "Hr24"), "19");
    // An hour given to a row with no minute puts it on the hour, so its day
    // cell shows the time the alarm rings at.
    store->exec("UPDATE [Velmora] SET [Hour] = 0, [Minute] = NULL WHERE [ID] = " + std::to_string(id));
    Draw();
    ASSERT_TRUE(Edit(id, 2, "8"));
    EXPECT_EQ(Stored(id, "Minute"), "0");
    Draw();
    EXPECT_TRUE(Day(5)->text().contains("8:00")) << Day(5)->text().toStdString();
    ASSERT_TRUE(Edit(id, 2, "7"));

    fx.messages.clear();
    EXPECT_FALSE(Edit(id, 1, "2/30/2024"));
    EXPECT_FALSE(Edit(id, 2, "25"));
    EXPECT_FALSE(Edit(id, 16, "300"));
    EXPECT_EQ(fx.messages.shown.size(), 3u);
    EXPECT_EQ(Stored(id, "Date"), "2024-03-01");
    EXPECT_EQ(Stored(id, "Hour"), "7");
    EXPECT_EQ(Stored(id, "Priority"), "0");

    // Two year digits are this century's; a record keeps its date and its
    // day key follows the Date cell only; records are added elsewhere.
    ASSERT_TRUE(Edit(id, 1, "3/2/24"));
    EXPECT_EQ(Stored(id, "Date") + " " + Stored(id, "JulDate"), "2024-03-02 2024062");
    EXPECT_EQ(w->DataDatesModel->data(Cell(id, 1)).toString(), "3/2/2024");
    fx.messages.clear();
    EXPECT_FALSE(Edit(id, 1, " "));
    EXPECT_FALSE(Edit(id, 12, "2024100"));
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "A record must have a Date. Type it as M/D/YYYY.");
    EXPECT_EQ(Stored(id, "Date") + " " + Stored(id, "JulDate"), "2024-03-02 2024062");
    EXPECT_EQ(w->DataDatesModel->rowCount(), w->DataDatesModel->recordCount()) << "no new-row line";

    ASSERT_TRUE(Edit(id, 6, "3"));
    EXPECT_TRUE(vm::MainState.pRebuildRepeating);
}

TEST_F(DateGrid, AnOpenCellEditIsStoredBeforeTheGridMovesOnOrTheProgramEnds) {
    const int64_t id = Add({"2024-03-05", "Lunch"});
    Add({"2024-03-06", "Tea"});
    Draw();
    // A new month and a new search each store the edit first.
    vmtest::OpenCellAndType(w->TDBGridDates, Cell(id, 5), "Lunch && Co");
    w->cmbmonth_Click();
    EXPECT_EQ(Stored(id, "DateText"), "Lunch && Co");
    vmtest::OpenCellAndType(w->TDBGridDates, Cell(id, 3), "45");
    Search("Tea");
    EXPECT_EQ(Stored(id, "Minute"), "45");
    // Build Repeating Data reads the file itself: the edit is stored first.
    const int64_t weekly = Add({"2024-03-04", "Weekly", "Event", "Weekly", 0, 1});
    Search("Weekly");
    vmtest::OpenCellAndType(w->TDBGridDates, Cell(weekly, 6), "3");
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    EXPECT_EQ(Stored(weekly, "Duration"), "3");
    EXPECT_EQ(cal.Count("RepeatingData"), 2) << "the pass expanded the value typed";

    // At Exit a value the column refuses keeps the program open with the
    // column's message; corrected, Exit stores it.
    Search("Lunch");
    fx.messages.clear();
    QWidget* editor = vmtest::OpenCellAndType(w->TDBGridDates, Cell(id, 2), "25");
    w->mnuFile_Exit->trigger();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "\"25\" is not an Hour from 0 to 12.");
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(w->TDBGridDates->indexWidget(Cell(id, 2)), editor) << "the edit stays open";
    vmtest::OpenCellAndType(w->TDBGridDates, Cell(id, 2), "7");
    w->mnuFile_Exit->trigger();
    EXPECT_EQ(Stored(id, "Hour"), "7");
    EXPECT_FALSE(w->isVisible());
}

TEST_F(DateGrid, AWindowTakenDownWhileShownStoresAnOpenEdit) {
    const int64_t id = Add({"2024-03-05", "Lunch"});
    Draw();
    ASSERT_NE(vmtest::OpenCellAndType(w->TDBGridDates, Cell(id, 5), "Gone"), nullptr);
    w.reset();
    EXPECT_EQ(Stored(id, "DateText"), "Gone");
}

// The colour panel and the multi-word panel are made when first opened: they
// open where they always did, whole, with the parts the grid and the window add.
TEST_F(DateGrid, PanelsAreMadeWhenFirstOpenedInTheirDesignedPlaces) {
    const int64_t a = Add({"2024-03-05", "apple pie"});
    Draw();
    // The copy panel, opened from the toolbar before any search, is whole.
    w->Toolbar1_ButtonClick(w->Toolbar1Button("CopyRec"));
    QFrame* copy = w->dateGrid->ssPanlCopyRecs;
    ASSERT_TRUE(copy->isVisible());
    EXPECT_EQ(copy->size(), copy->sizeHint());
    EXPECT_EQ(w->dateGrid->cmbCopyDteTyp->currentText(), "Old Type");
    w->dateGrid->sscmdCloseCopyPnl->click();
    EXPECT_FALSE(copy->isVisible());
    w->Toolbar1_ButtonClick(w->Toolbar1Button("CopyRec"));
    EXPECT_EQ(copy->size(), copy->sizeHint()) << "opened again at its whole size";
    copy->hide();

    vm::ColorPanel* panel = w->SSPanelDayColor;
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->isHidden());
    const QPoint designed(vm::layout::PixelsFromTwips(100) + 40, vm::layout::PixelsFromTwips(700) + 40);
    EXPECT_EQ(panel->pos(), designed) << "beside the grid's designed place";

    DoubleClick(a, 17);
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->pos(), designed);
    auto* rgb = panel->findChild<QPushButton*>("sscmdRedGreenBlue");
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->toolTip(), " Open Red/Green/Blue Calculator ");
    QHBoxLayout* row = panel->buttonRow();
    EXPECT_EQ(row->itemAt(0)->widget(), w->dateGrid->sscmdOKDayColors);
    EXPECT_EQ(row->itemAt(row->count() - 1)->widget(), rgb);
    EXPECT_EQ(w->dateGrid->Label11->text(), "Date & Title Colors - 3/5/2024");
    rgb->click();
    EXPECT_TRUE(vm::Module1.RedGreenBlueOpen);
    vm::UnloadRedGreenBlue();

    QLineEdit* box = panel->Text1[0];
    panel->sscmdExitColors->click();
    EXPECT_TRUE(panel->isHidden());
    DoubleClick(a, 17);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Text1[0], box) << "made once";
    EXPECT_EQ(panel->findChildren<QPushButton*>("sscmdRedGreenBlue").size(), 1);

    Search("apple;pie");
    QFrame* multi = w->dateGrid->sspnlMultiWord;
    ASSERT_TRUE(multi);
    EXPECT_TRUE(multi->isVisible());
    const QWidget* bar = w->SSPanel2;
    EXPECT_EQ(multi->pos(), QPoint(bar->x(), bar->y() + bar->height() + 2)) << "under the search bar";
    EXPECT_EQ(w->dateGrid->txtSrch[0]->text(), "apple");
    QTest::mouseClick(w->dateGrid->txtSrch[0], Qt::LeftButton);
    EXPECT_EQ(w->dateGrid->txtSrch[0]->text(), "") << "a click clears the box";
}

TEST_F(DateGrid, ColourPanelSavesIntoTheRecordItWasOpenedOn) {
    const int64_t a = Add({"2024-03-05", "A"});
    const int64_t b = Add({"2024-03-06", "B"});
    store->exec("UPDATE [Velmora] SET [DayColors] = '255;0;0;0;2;2' WHERE [ID] = " + std::to_string(a));
    Draw();
    vm::ColorPanel* panel = w->SSPanelDayColor;
    DoubleClick(a, 17);
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(w->dateGrid->Label11->text(), "Date & Title Colors - 3/5/2024");
    EXPECT_EQ(panel->cmbDayBGStyle->currentText(), "Day is Transparent");

    w->TDBGridDates->setCurrentIndex(Cell(b, 5));
    panel->Text1[1]->setText("-65280");
    w->dateGrid->sscmdOKDayColors->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(Stored(a, "DayColors"), "255;-65280;0;0;2;2");
    EXPECT_EQ(Stored(b, "DayColors"), "");

    // An empty cell shows the placeholders; Save unchanged writes them as zeros.
    DoubleClick(b, 17);
    EXPECT_EQ(panel->Text1[2]->text(), "Title Text Color");
    w->dateGrid->sscmdOKDayColors->click();
    EXPECT_EQ(Stored(b, "DayColors"), "0;0;0;0;3;3");

    // The font cell: the dialog opens on the default font; its choice is stored.
    pickers.nextFont = vm::FontChoice{"Times New Roman", 8.5, false, true};
    DoubleClick(a, 15);
    ASSERT_EQ(pickers.fontAsked.size(), 1u);
    EXPECT_EQ(pickers.fontAsked[0].name, "MS Sans Serif");
    EXPECT_EQ(pickers.fontAsked[0].size, 10);
    EXPECT_EQ(Stored(a, "Font"), "Times New Roman, 8.5,False,True");

    // Another calendar opened with the panel open: its record of the same ID
    // takes nothing.
    const std::string other = vmtest::MakeTempDir("velmora-other") + "/Other.mdb";
    std::filesystem::copy_file(vm::Module1.CalendarFilePath, other);
    DoubleClick(a, 17);
    panel->Text1[0]->setText("65535");
    fx.messages.fileAnswers.push_back(other);
    w->findChild<QAction*>("mnuFile_Open")->trigger();
    ASSERT_EQ(vm::Module1.CalendarFilePath, other);
    EXPECT_FALSE(panel->isVisible());
    w->dateGrid->sscmdOKDayColors->click();
    auto st = db::Database::Open(other)->prepare("SELECT [DayColors] FROM [Velmora] WHERE [ID] = ?");
    st.bind(1, db::Int(a));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(db::AsText(st.column(0)), "255;-65280;0;0;2;2");
}

TEST_F(DateGrid, CopyPanelCopiesOneTypeToTheNextYearAndSkipsTheLeapDay) {
    Add({"2024-02-29", "Leap day", "Holiday"});
    Add({"2024-07-04", "Fourth", "Holiday", "Yearly", 0, 2});
    Add({"2024-07-05", "Picnic", "Outing"});
    Add({"2023-07-04", "Old fourth", "Holiday"});
    store->exec("UPDATE [Velmora] SET [Hour] = 7, [Minute] = 30, [AM_PM] = 'PM', [Hr24] = 19, [Priority] = 9, [Alarm] = "
                "'15', [SoundNum] = 4, [Font] = 'Arial, 10,True,False', [DayColors] = '1;2;3;4;2;3', [FGColor] = 5 "
                "WHERE [DateText] = 'Fourth'");
    Draw();
    w->mnuFile_Build_Repeating_Click();
    const int64_t occurrencesBefore = Number("SELECT max(rowid) FROM [RepeatingData]");
    const int64_t occurrencesOfFourth = Number("SELECT count(*) FROM [RepeatingData] WHERE [DateText] LIKE 'Fourth%'");
    ASSERT_GT(occurrencesOfFourth, 0);
    Search("1/1/2024;12/31/2024");
    w->Toolbar1_ButtonClick(w->Toolbar1Button("CopyRec"));
    ASSERT_TRUE(w->dateGrid->ssPanlCopyRecs->isVisible());
    CopyListed("2024", "2025", "Holiday");
    ASSERT_FALSE(fx.messages.shown.empty());
    EXPECT_NE(fx.messages.shown[0].text.find("1 Records Copied"), std::string::npos);
    EXPECT_NE(fx.messages.shown[0].text.find("2/29/2024 Leap day"), std::string::npos);
    EXPECT_FALSE(w->dateGrid->ssPanlCopyRecs->isVisible());
    // The copy has the moved date and day key, and every other column of the original.
    auto st = store->prepare("SELECT * FROM [Velmora] WHERE [DateText] = 'Fourth' ORDER BY [ID]");
    std::vector<std::map<std::string, db::Value>> fourth;
    while (st.step()) {
        fourth.emplace_back();
        for (int c = 0; c < st.columnCount(); ++c) fourth.back()[st.columnName(c)] = st.column(c);
    }
    ASSERT_EQ(fourth.size(), 2u);
    EXPECT_EQ(fourth[1]["Date"], db::Text("2025-07-04"));
    EXPECT_EQ(fourth[1]["JulDate"], db::Int(2025185));  // 4 July is day 185 of a common year
    for (auto* changed : {"ID", "Date", "JulDate"}) fourth[0].erase(changed), fourth[1].erase(changed);
    EXPECT_EQ(fourth[0], fourth[1]);
    EXPECT_EQ(cal.Count("Velmora"), 5);
    EXPECT_GT(cal.Count("RepeatingData"), 0) << "the expansion ran";
    // The pass wrote the copy's occurrences only: the original's stayed where
    // they were, and the table is what a whole pass makes.
    EXPECT_EQ(Number("SELECT count(*) FROM [RepeatingData] WHERE [DateText] LIKE 'Fourth%' AND rowid <= " +
                     std::to_string(occurrencesBefore)),
              occurrencesOfFourth);
    const std::string afterCopy = OccurrenceRows();
    w->mnuFile_Build_Repeating_Click();
    EXPECT_EQ(OccurrenceRows(), afterCopy);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Leap day", "Fourth", "Picnic"})) << "the search's list again";
    EXPECT_EQ(w->dateGrid->lblRecCnt->text(), "3 Recs");

    // After an Or search the old type is the first type found, so a year copy copies.
    Search("Old;Nothing");
    w->dateGrid->cmbMultSrch[0]->setCurrentText("Or");
    w->dateGrid->sscmdMultSrch->click();
    EXPECT_EQ(w->dateGrid->cmbCopyDteTyp->currentText(), "Holiday");
    w->dateGrid->txtOrigCopyYr->setText("2023");
    w->dateGrid->txtNewCopyYr->setText("2026");
    fx.messages.clear();
    w->dateGrid->sscmdCopyRec->click();
    ASSERT_FALSE(fx.messages.shown.empty());
    EXPECT_NE(fx.messages.shown[0].text.find("1 Records Copied"), std::string::npos);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Old fourth", "Old fourth"})) << "the copy matches the search";
    EXPECT_EQ(w->dateGrid->lblRecCnt->text(), "2 Recs");
}

// Another program changed and deleted listed rows after the grid read them:
// the copy takes the rows as the file holds them now, and brings no deleted
// record back.
TEST_F(DateGrid, CopyTakesTheRowsAsTheFileHoldsThemNow) {
    Add({"2024-07-04", "Fourth", "Holiday"});
    Add({"2024-06-14", "Flag day", "Holiday"});
    Draw();
    Search("1/1/2024;12/31/2024");
    ASSERT_EQ(Listed().size(), 2u);
    store->exec("UPDATE [Velmora] SET [DateText] = 'Fourth of July' WHERE [DateText] = 'Fourth'");
    store->exec("DELETE FROM [Velmora] WHERE [DateText] = 'Flag day'");
    CopyListed("2024", "2025", "Holiday");
    ASSERT_FALSE(fx.messages.shown.empty());
    EXPECT_NE(fx.messages.shown[0].text.find("1 Records Copied"), std::string::npos) << fx.messages.shown[0].text;
    auto st = store->prepare("SELECT [Date] || ' ' || [DateText] FROM [Velmora] ORDER BY [ID]");
    std::vector<std::string> rows;
    while (st.step()) rows.push_back(db::AsText(st.column(0)));
    EXPECT_EQ(rows, (std::vector<std::string>{"2024-07-04 Fourth of July", "2025-07-04 Fourth of July"}));
}

// The copy panel's boxes show their names until typed into: entered by Tab
// the name gives way to what is typed, a typed value stays when entered
// again, and a click still empties a box.
TEST_F(DateGrid, CopyPanelBoxesEnteredByTabAreTypedOverKeepingTypedValues) {
    Draw();
    w->Toolbar1_ButtonClick(w->Toolbar1Button("CopyRec"));
    auto* g = w->dateGrid.get();
    ASSERT_TRUE(g->ssPanlCopyRecs->isVisible());
    ASSERT_TRUE(vmtest::ActivateForKeys(w.get()));
    g->cmbCopyDteTyp->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(vmtest::TabTo("txtOrigCopyYr", true, 5));
    vmtest::TypeKeys("2024");
    EXPECT_EQ(g->txtOrigCopyYr->text(), "2024");
    vmtest::Press(Qt::Key_Tab);
    vmtest::TypeKeys("2025");
    EXPECT_EQ(g->txtNewCopyYr->text(), "2025");
    vmtest::Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(vmtest::FocusName(), "txtOrigCopyYr");
    EXPECT_EQ(g->txtOrigCopyYr->text(), "2024") << "a typed value is never emptied or lost";
    QTest::mouseClick(g->txtRecDataType, Qt::LeftButton);
    EXPECT_EQ(g->txtRecDataType->text(), "") << "a click empties the box as before";
}

TEST_F(DateGrid, AFailedCopyChangesNeitherTable) {
    Add({"2023-05-01", "One", "Holiday"});
    Add({"2023-05-02", "boom", "Holiday"});
    Draw();
    store->exec("INSERT INTO [RepeatingData] ([DateText]) VALUES ('occurrence')");
    store->exec("CREATE TRIGGER [refuse] BEFORE INSERT ON [Velmora] WHEN NEW.[DateText] = 'boom' "
                "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    Search("1/1/2023;12/31/2023");
    CopyListed("2023", "2024", "Holiday");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "sscmdCopyRec_Error");
    EXPECT_EQ(cal.Count("Velmora"), 2);
    EXPECT_EQ(cal.Count("RepeatingData"), 1);
}

TEST_F(DateGrid, RepeatButtonShowsOneReferenceWindow) {
    Draw();
    w->dateGrid->sscmdRepeat->click();
    vm::frmRepeats* first = vm::RepeatsWindow();
    ASSERT_NE(first, nullptr);
    auto* image = first->findChild<QLabel*>("Image1");
    ASSERT_TRUE(image && !image->pixmap().isNull());
    w->dateGrid->sscmdRepeat->click();
    EXPECT_EQ(vm::RepeatsWindow(), first);
    first->close();  // shown again after its close, the main window's closing still ends it
    w->dateGrid->sscmdRepeat->click();
    w->Form_Unload();
    EXPECT_EQ(vm::RepeatsWindow(), nullptr);
}

// Copy Records on a full disk gives the plain sentence every write gives, and
// on a calendar that may only be read it says so before anything is tried.
TEST_F(DateGrid, ACopyOnAFullDiskOrAReadOnlyFileSaysSoPlainly) {
    const std::string text(3000, 'c');
    for (int i = 0; i < 100; ++i) Add({"2023-05-01", text.c_str(), "Holiday"});
    Draw();
    Search("1/1/2023;12/31/2023");
    const std::string name = std::filesystem::path(cal.path).filename().string();
    db::Database& data = w->DataDates.database();
    vmtest::FillDisk(data);
    QTest::keyClick(w.get(), Qt::Key_Shift);  // a new command
    CopyListed("2023", "2024", "Holiday");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "The disk is full: " + name + " was not changed");
    EXPECT_EQ(cal.Count("Velmora"), 100);
    vmtest::FillDisk(data, false);

    std::filesystem::permissions(cal.path, std::filesystem::perms::owner_read);
    QTest::keyClick(w.get(), Qt::Key_Shift);
    CopyListed("2023", "2024", "Holiday");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "The file may only be read: " + name + " was not changed");
    std::filesystem::permissions(cal.path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(cal.Count("Velmora"), 100);
}

}  // namespace

namespace {

TEST_F(DateGrid, TheDateHeaderSortsWrittenDatesAsDays) {
    Add({"2026-12-08", "December day"});
    Add({"0030-01-01", "Year 30 day"});
    Add({"1930-05-01", "Year 1930 day"});
    Add({"2027-03-04", "March day"});
    // Written by another tool as M/D/YYYY text.
    store->exec("UPDATE [Velmora] SET [Date] = '12/8/2026' WHERE [DateText] = 'December day'");
    Draw();
    w->TDBGridDates->setFocus();  // the month box lets the focus go first
    Search("day");
    ClickHeader(vm::kColDate);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Year 30 day", "Year 1930 day", "December day", "March day"}));
    ClickHeader(vm::kColDate);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"March day", "December day", "Year 1930 day", "Year 30 day"}));
}

}  // namespace

namespace {

TEST_F(DateGrid, CopyPanelReadsTheNewYearAsATypedDatesYear) {
    Add({"2024-07-04", "Fourth", "Holiday"});
    Draw();
    Search("Fourth");
    w->Toolbar1_ButtonClick(w->Toolbar1Button("CopyRec"));
    CopyListed("2024", "2024.5", "Holiday");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text,
              "\"2024.5\" is not a year. Type the year as 1 to 4 digits (two digits read 1930 to 2029).");
    EXPECT_EQ(cal.Count("Velmora"), 1) << "refused, not cut to 2024";
    CopyListed("2024", "30", "Holiday");
    auto last = store->prepare("SELECT [Date] FROM [Velmora] ORDER BY [ID] DESC LIMIT 1");
    ASSERT_TRUE(last.step());
    EXPECT_EQ(db::AsText(last.column(0)), "1930-07-04") << "two digits read 1930..2029";
}

}  // namespace

namespace {

TEST_F(DateGrid, ColourPanelRefusesANoColourAndSaysItsRecordIsGone) {
    const int64_t a = Add({"2024-03-05", "A"});
    const int64_t b = Add({"2024-03-06", "B"});
    Draw();
    vm::ColorPanel* panel = w->SSPanelDayColor;
    DoubleClick(a, 17);
    ASSERT_TRUE(panel->isVisible());
    panel->Text1[0]->setText("999999999999999999999");
    fx.messages.clear();
    w->dateGrid->sscmdOKDayColors->click();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text,
              "\"999999999999999999999\" is no colour: a colour is a number from 0 to 16777215 (negative to force "
              "it).");
    EXPECT_TRUE(panel->isVisible()) << "left open to be put right";
    EXPECT_EQ(Stored(a, "DayColors"), "");

    // Deleted elsewhere while the grid lists other records: Save says so.
    panel->Text1[0]->setText("255");
    Search("B");
    store->exec("DELETE FROM [Velmora] WHERE [ID] = " + std::to_string(a));
    fx.messages.clear();
    w->dateGrid->sscmdOKDayColors->click();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text,
              "The record these colours were chosen for is no longer in the calendar: nothing was saved.");

    // Listed no more, in a file that may only be read: the plain sentence
    // every write gives.
    DoubleClick(b, 17);
    ASSERT_TRUE(panel->isVisible());
    panel->Text1[0]->setText("255");
    Search("nothing is called this");
    w->DataDates.database().exec("PRAGMA query_only = 1");
    QTest::keyClick(w.get(), Qt::Key_Shift);  // a new command
    fx.messages.clear();
    w->dateGrid->sscmdOKDayColors->click();
    w->DataDates.database().exec("PRAGMA query_only = 0");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text,
              "The file may only be read: " + std::filesystem::path(cal.path).filename().string() +
                  " was not changed");
    EXPECT_EQ(Stored(b, "DayColors"), "");
}

}  // namespace

namespace {

TEST_F(DateGrid, ASearchOrMonthMeetingARefusedEditSaysSoOnce) {
    const int64_t id = Add({"2024-03-05", "Lunch"});
    Draw();
    w->TDBGridDates->setFocus();
    for (const char* command : {"search", "filter", "month"}) {
        vmtest::OpenCellAndType(w->TDBGridDates, Cell(id, 2), "25");
        fx.messages.clear();
        if (std::string(command) == "search") Search("Lunch");
        if (std::string(command) == "filter") {
            w->Combo3->setEditText("All");
            w->dateGrid->Combo3_Click();
        }
        if (std::string(command) == "month") w->cmbmonth_Click();
        EXPECT_EQ(fx.messages.shown.size(), 1u) << command;
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(Stored(id, "Hour"), "1");
}

}  // namespace
