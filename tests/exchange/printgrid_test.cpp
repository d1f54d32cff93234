// Printing the real main window's date grid to a PDF file, headless, read
// back with pdftotext: header, footer, headings on every page, the records'
// text, the colour question once a run, and the stored page set-up.
#include <QAction>
#include <QPageSize>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>

#include <cstdio>
#include <regex>

#include "exchange/printgrid.h"
#include "exchangewindow.h"
#include "platform/clock.h"
#include "platform/printdialogs.h"

namespace db = vm::db;
using vm::MsgResult;

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

int Occurrences(const std::string& hay, const std::string& needle) {
    int n = 0;
    for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) ++n;
    return n;
}

class PrintGrid : public vmtest::ExchangeWindow {
protected:
    vm::FakePrintDialogs dialogs;
    vm::FakeClock clock{{2026, 2, 14, 9, 0, 0}};
    std::string pdf = dir + "/grid.pdf";

    void SetUp() override {
        setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
        vm::SetPrintDialogs(&dialogs);
        vm::SetClock(&clock);
        ExchangeWindow::SetUp();
    }
    void AddRecords() override {  // 150 records of 14 February, listed by the date grid
        auto store = db::Database::Open(calendar);
        db::Transaction tx(*store);
        auto st = store->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],"
            "[DateType]) VALUES (0,'2026-02-14',2026045,9,15,'AM',?,0,'Meeting')");
        for (int i = 1; i <= 150; ++i) {
            st.bind(1, db::Text("Record " + std::to_string(i) + " for O'Neil"));
            st.run();
        }
        tx.commit();
    }
    void TearDown() override {
        ExchangeWindow::TearDown();
        vm::SetClock(nullptr);
        vm::SetPrintDialogs(nullptr);
    }
    void ClickPrint() {
        QAction* print = w->Toolbar1->findChild<QAction*>("Print");
        ASSERT_NE(print, nullptr);
        print->trigger();
    }
};

TEST_F(PrintGrid, ToolbarPrintsTheGridWithHeadingsOnEveryPage) {
    fx.messages.answers = {MsgResult::Yes};
    fx.messages.fileAnswers = {pdf, dir + "/a4.pdf"};
    ClickPrint();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Color Printer?");

    const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
    const int pages = Occurrences(text, "\f");
    ASSERT_GE(pages, 2) << text;
    EXPECT_EQ(Occurrences(text, "Halvex Systems - Velmora Grid Printout"), pages);
    EXPECT_EQ(Occurrences(text, "Print Date: 2/14/2026"), pages);
    EXPECT_EQ(Occurrences(text, "DateType"), pages);  // the column headings repeat
    EXPECT_EQ(Occurrences(text, "2/14/2026"), 150 + pages);  // every date whole on its line
    EXPECT_NE(text.find("Page 2"), std::string::npos);
    EXPECT_NE(text.find("Page " + std::to_string(pages)), std::string::npos);
    EXPECT_EQ(text.find("Page " + std::to_string(pages + 1)), std::string::npos);
    // In the order drawn, a wrapped cell's lines joined again.
    const std::string flat = std::regex_replace(Shell("pdftotext -raw '" + pdf + "' -"), std::regex("\\s+"), " ");
    for (const char* record : {"Record 1 for O'Neil", "Record 77 for O'Neil", "Record 150 for O'Neil"})
        EXPECT_EQ(Occurrences(flat, record), 1) << record;
    EXPECT_NE(flat.find("Meeting"), std::string::npos);

    // A layout chosen in the set-up is printed and kept for the next run; the
    // colour question is not asked again.
    dialogs.setupChoice = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(54, 18, 18, 18),
                                      QPageLayout::Point);
    ClickPrint();
    EXPECT_EQ(fx.messages.shown.size(), 1u);
    const std::string page = Shell("pdftotext -f 1 -l 1 -bbox '" + dir + "/a4.pdf' -");
    EXPECT_NE(page.find("<page width=\"595."), std::string::npos) << page.substr(0, 400);
    EXPECT_NE(page.find("height=\"842."), std::string::npos);
    EXPECT_EQ(vmtest::ReadAll(dir + "/Velmora_Print_Setup.Dat"),
              "Velmora print setup 1\nPaperName=A4\nPaperWidthPt=595\nPaperHeightPt=842\nOrientation=1\n"
              "MarginLeftTwips=1080\nMarginTopTwips=360\nMarginRightTwips=360\nMarginBottomTwips=360\n");
}

// Any grid handed in is printed, never the main window's; a set-up file that
// cannot be read gives the defaults; no grid at all is reported.
TEST_F(PrintGrid, TheGridHandedInIsPrintedAndAnUnreadableSetUpGivesTheDefaults) {
    QTableView other;
    QStandardItemModel model(3, 2);
    model.setHorizontalHeaderLabels({"Task", "When"});
    const char* tasks[] = {"Paint the fence", "Mend the gate", "Oil the hinges"};
    for (int r = 0; r < 3; ++r) {
        model.setItem(r, 0, new QStandardItem(tasks[r]));
        model.setItem(r, 1, new QStandardItem("Saturday"));
    }
    other.setModel(&model);
    vmtest::WriteAll(dir + "/Velmora_Print_Setup.Dat",  // one inch all round but a negative top margin
                     "Velmora print setup 1\nPaperName=Letter\nPaperWidthPt=612\nPaperHeightPt=792\nOrientation=2\n"
                     "MarginLeftTwips=1440\nMarginTopTwips=-5\nMarginRightTwips=1440\nMarginBottomTwips=1440\n");
    fx.messages.answers = {MsgResult::No};
    fx.messages.fileAnswers = {pdf};
    vm::Print_Grid(&other, 2, "Marginal test  ");
    ASSERT_EQ(dialogs.setupShown.size(), 1u);
    EXPECT_DOUBLE_EQ(dialogs.setupShown[0].margins(QPageLayout::Point).top(), 36);  // half an inch
    const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("Marginal test"), std::string::npos);
    for (const char* t : tasks) EXPECT_NE(text.find(t), std::string::npos) << t;
    EXPECT_EQ(text.find("O'Neil"), std::string::npos) << "the main window's grid was printed";

    dialogs.setupShown.clear();
    vm::Print_Grid(nullptr, 2, "Nothing ");
    EXPECT_EQ(fx.messages.shown.back().text, "91 - There is no grid to print. @ Error Point: 1");
    EXPECT_TRUE(dialogs.setupShown.empty());
}

}  // namespace
