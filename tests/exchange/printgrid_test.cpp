// Printing the real main window's date grid to a PDF file, headless, read
// back with pdftotext and pdftoppm: header, footer, headings and numbers
// whole on every page, the records' text, the colours, a cut text marked, the
// colour question once a run, and the stored page set-up.
#include <QAction>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>

#include <filesystem>
#include <functional>
#include <regex>

#include "exchange/gridpages.h"
#include "exchange/printgrid.h"
#include "exchangewindow.h"
#include "core/files.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/printdialogs.h"
#include "tools/frmdaycalculator.h"
#include "tools/frmpeople.h"

namespace db = vm::db;
using vm::MsgResult;

namespace {

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

    const std::string text = vmtest::RunCommand("pdftotext -layout '" + pdf + "' -");
    const int pages = Occurrences(text, "\f");
    ASSERT_GE(pages, 2) << text;
    EXPECT_LE(pages, 5) << "at least thirty one-line rows on a page";
    // Headings and numbers whole: every heading once a page, every day key once a row.
    for (const char* heading : {"Hide", "JulDate", "Hr24", "WorkDay", "DateType", "Priority"})
        EXPECT_EQ(Occurrences(text, heading), pages) << heading;
    EXPECT_EQ(Occurrences(text, "2026045"), 150);
    EXPECT_EQ(vm::TakeGrid(*w->TDBGridDates, true).rows.size(), 150u) << "no new-row line";
    EXPECT_EQ(Occurrences(text, "Halvex Systems - Velmora Grid Printout"), pages);
    EXPECT_EQ(Occurrences(text, "Print Date: 2/14/2026"), pages);
    EXPECT_EQ(Occurrences(text, "2/14/2026"), 150 + pages);  // every date whole on its line
    EXPECT_NE(text.find("Page " + std::to_string(pages)), std::string::npos);
    EXPECT_EQ(text.find("Page " + std::to_string(pages + 1)), std::string::npos);
    // In the order drawn, a wrapped cell's lines joined again.
    const std::string flat = std::regex_replace(vmtest::RunCommand("pdftotext -raw '" + pdf + "' -"), std::regex("\\s+"), " ");
    for (const char* record : {"Record 1 for O'Neil", "Record 77 for O'Neil", "Record 150 for O'Neil"})
        EXPECT_EQ(Occurrences(flat, record), 1) << record;
    EXPECT_NE(flat.find("Meeting"), std::string::npos);

    // A layout chosen in the set-up is printed and kept for the next run; the
    // colour question is not asked again.
    dialogs.setupChoice = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(54, 18, 18, 18),
                                      QPageLayout::Point);
    ClickPrint();
    EXPECT_EQ(fx.messages.shown.size(), 1u);
    const std::string page = vmtest::RunCommand("pdftotext -f 1 -l 1 -bbox '" + dir + "/a4.pdf' -");
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
    const std::string text = vmtest::RunCommand("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("Marginal test"), std::string::npos);
    for (const char* t : tasks) EXPECT_NE(text.find(t), std::string::npos) << t;
    EXPECT_EQ(text.find("O'Neil"), std::string::npos) << "the main window's grid was printed";

    dialogs.setupShown.clear();
    vm::Print_Grid(nullptr, 2, "Nothing ");
    EXPECT_EQ(fx.messages.shown.back().text, "91 - There is no grid to print. @ Error Point: 1");
    EXPECT_TRUE(dialogs.setupShown.empty());
}

// Printed in colour, the grid's normal colours are used even while a box
// has disabled it; a text longer than a page ends with a mark.
TEST_F(PrintGrid, ColourPrintUsesTheNormalColoursAndMarksATextCutAtThePageEnd) {
    QTableView other;
    QStandardItemModel model(2, 2);
    model.setHorizontalHeaderLabels({"Task", "Notes"});
    QString notes;
    for (int i = 0; i < 400; ++i) notes += QString("Line %1 of the notes\n").arg(i);
    model.setItem(0, 0, new QStandardItem("Blue text on yellow"));
    model.setItem(0, 1, new QStandardItem("short"));
    model.setItem(1, 0, new QStandardItem("Long notes"));
    model.setItem(1, 1, new QStandardItem(notes + "The very end"));
    other.setModel(&model);
    QPalette palette = other.palette();
    palette.setColor(QPalette::Active, QPalette::Text, QColor(0, 0, 255));
    palette.setColor(QPalette::Inactive, QPalette::Text, QColor(0, 0, 255));
    palette.setColor(QPalette::Active, QPalette::Base, QColor(255, 255, 160));
    palette.setColor(QPalette::Inactive, QPalette::Base, QColor(255, 255, 160));
    other.setPalette(palette);
    other.setEnabled(false);  // as while the colour question is up

    fx.messages.answers = {MsgResult::Yes};
    fx.messages.fileAnswers = {pdf};
    vm::Print_Grid(&other, 2, "Colours  ");
    const std::string text = vmtest::RunCommand("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("Blue text on yellow"), std::string::npos);
    EXPECT_EQ(text.find("The very end"), std::string::npos);
    EXPECT_NE(text.find("\xE2\x80\xA6"), std::string::npos) << "the cut text is marked";

    // The first page drawn: blue text pixels on yellow cells.
    vmtest::RunCommand("pdftoppm -r 150 -f 1 -l 1 -png '" + pdf + "' '" + dir + "/page'");
    QImage page;
    for (const char* name : {"/page-1.png", "/page-01.png", "/page-001.png"})
        if (page.load(QString::fromStdString(dir + name))) break;
    ASSERT_FALSE(page.isNull());
    int blue = 0, yellow = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
            yellow += c.red() > 240 && c.green() > 240 && c.blue() > 140 && c.blue() < 180;
        }
    EXPECT_GT(blue, 100) << "the text in the grid's own colour";
    EXPECT_GT(yellow, 5000) << "the cells in the grid's own colour";
}

// The print dialog the preview opens may aim the printer at another file
// after the PDF file was chosen: that file is checked right before the first
// page is drawn, so the calendar, the settings database and the program's own
// files keep every byte, whichever grid is printed.
TEST_F(PrintGrid, AFileNamedInThePrintDialogIsCheckedBeforeAPageIsDrawn) {
    const std::string settings = vm::SettingsDatabaseInUse();
    vmtest::WriteAll(settings, vmtest::ReadAll(vmtest::FreshSettings()));
    const std::string link = dir + "/link.pdf";
    std::filesystem::create_symlink(calendar, link);
    const std::pair<const char*, std::function<void()>> printouts[] = {
        {"date grid", [&] { ClickPrint(); }},
        {"contact list", [&] { vm::ShowPeople()->findChild<QAction*>("mnuFile_Print_Graph")->trigger(); }},
        {"day calculator", [&] { vm::ShowDayCalculator()->findChild<QAction*>("mnuFile_Print")->trigger(); }},
    };
    for (const auto& [name, print] : printouts)
        for (const std::string& target : {calendar, link, settings}) {
            const std::string bytes = vmtest::ReadAll(target);
            fx.messages.clear();
            fx.messages.answers = {MsgResult::No};
            fx.messages.fileAnswers = {pdf};  // a PDF file that may be written ...
            dialogs.printDialogFile = target;  // ... and then this one in the print dialog
            print();
            EXPECT_EQ(vmtest::ReadAll(target), bytes) << name << ": " << target;
            ASSERT_FALSE(fx.messages.shown.empty()) << name << ": " << target;
            EXPECT_NE(fx.messages.shown.back().text.find("cannot be written over"), std::string::npos) << name;
            EXPECT_FALSE(vm::FileExists(pdf)) << name;
        }
    vm::UnloadPeople();
    vm::UnloadDayCalculator();
    EXPECT_EQ(db::AsInt(Query("SELECT count(*) FROM [Velmora]")), 150) << "still the calendar";

    dialogs.printDialogFile = dir + "/other.pdf";  // a file that may be written gets the pages
    fx.messages.fileAnswers = {pdf};
    ClickPrint();
    EXPECT_NE(vmtest::RunCommand("pdftotext '" + dir + "/other.pdf' -").find("O'Neil"), std::string::npos);
}

// The date grid's columns as a printout of `rows` rows, one of which may hold
// a 10,000-character text.
vm::GridPrintout DateGridPrintout(int rows, bool longText) {
    vm::GridPrintout g;
    for (const char* h : {"Hide", "Date", "Hour", "Minute", "AM_PM", "DateText", "Duration", "Repeat", "BGColor",
                          "FGColor", "DateType", "WorkDay", "JulDate", "Alarm", "Sound File#", "Font", "Priority",
                          "Day Colors", "Hr24"})
        g.headings.push_back(h);
    g.font.setPointSizeF(9);
    for (int r = 0; r < rows; ++r) {
        QString text = QString("Record %1 for the team").arg(r);
        if (longText && r == rows / 2) {
            text.clear();
            for (int i = 0; text.size() < 10000; ++i) text += QString("word%1 ").arg(i * 7919 % 100000);
        }
        std::vector<vm::GridCell> cells;
        for (const QString& t : {QString("False"), QString("2/14/2026"), QString("9"), QString("15"), QString("AM"), text,
                                 QString("0"), QString("Weekly"), QString("16777215"), QString("0"), QString("Meeting"),
                                 QString("True"), QString("2026045"), QString("15,-10"), QString("3"),
                                 QString(""), QString("7"), QString("0;16777215;0;16777215;3;3"),
                                 QString("9")})
            cells.push_back({t, {}, {}});
        g.rows.push_back(std::move(cells));
    }
    return g;
}

// Pages of a printout on letter paper, landscape, half-inch margins; the text
// pdftotext reads from them into `text`.
int PrintedPages(const vm::GridPrintout& g, const std::string& pdf, std::string* text = nullptr) {
    int pages = 0;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setPageMargins(QMarginsF(36, 36, 36, 36), QPageLayout::Point);
        pages = vm::PaintGridPages(printer, g, "Halvex Systems - Velmora Grid Printout  ", "2/14/2026");
    }
    if (text) *text = vmtest::RunCommand("pdftotext -layout '" + pdf + "' -");
    return pages;
}

// One long text does not break a printout: no column narrower than its
// heading's words and its widest number, the long text wrapped within its
// share and cut with the mark, 1,000 rows within 25 pages.
// A record may hold megabytes of text in one word: its cell is printed as
// far as the page shows it, marked as cut, and the rows after it follow.
TEST_F(PrintGrid, AMegabyteWordIsCutAtThePageEndAndTheRowsGoOn) {
    vm::GridPrintout g;
    g.headings = {"Date", "Day's Text"};
    g.font.setPointSizeF(9);
    g.rows.push_back({{"1/2/2026", {}, {}}, {QString(1'000'000, QChar('x')), {}, {}}});
    g.rows.push_back({{"1/3/2026", {}, {}}, {"The row after", {}, {}}});
    std::string text;
    EXPECT_EQ(PrintedPages(g, dir + "/huge.pdf", &text), 2);
    EXPECT_NE(text.find("\xE2\x80\xA6"), std::string::npos) << "the cut text is marked";
    EXPECT_NE(text.find("The row after"), std::string::npos);
}

TEST_F(PrintGrid, OneLongTextBreaksNeitherNumbersNorThePageCount) {
    std::string plainText, longText;
    const int plain = PrintedPages(DateGridPrintout(1000, false), dir + "/plain.pdf", &plainText);
    const int pages = PrintedPages(DateGridPrintout(1000, true), dir + "/long.pdf", &longText);
    EXPECT_LE(plain, 25);
    EXPECT_LE(pages, 25);
    EXPECT_LE(pages, plain + 2) << "the long text takes a page at most";
    for (const std::string* t : {&plainText, &longText})
        EXPECT_EQ(Occurrences(*t, "0;16777215;0;16777215;3;3"), 1000) << "every number whole on its line";
    EXPECT_EQ(Occurrences(longText, "Sound"), pages) << "a heading's words whole on every page";
    EXPECT_NE(longText.find("\xE2\x80\xA6"), std::string::npos) << "the cut text is marked";

    // Contacts with long words in every column: the headings keep their words.
    vm::GridPrintout people;
    for (const char* h : {"Relationship", "First Name", "MI", "Last Name", "Address 1", "Address 2", "City", "State",
                          "ZipCode", "Country", "Phone #1", "Type 1", "Phone #2", "Type 2", "E-mail",
                          "Other Information"})
        people.headings.push_back(h);
    people.font.setPointSizeF(9);
    for (int r = 0; r < 40; ++r) {
        std::vector<vm::GridCell> cells;
        for (size_t c = 0; c < people.headings.size(); ++c)
            cells.push_back({QString(40, QChar('a' + int(c))) + " " + QString(45, QChar('a' + int(c))), {}, {}});
        people.rows.push_back(std::move(cells));
    }
    std::string peopleText;
    const int peoplePages = PrintedPages(people, dir + "/people.pdf", &peopleText);
    for (const char* word : {"Relationship", "First", "Last", "Information", "ZipCode", "Country"})
        EXPECT_EQ(Occurrences(peopleText, word), peoplePages) << word;
}

}  // namespace
