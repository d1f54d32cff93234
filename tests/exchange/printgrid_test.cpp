// Printing the real main window's date grid to a PDF file, headless, read
// back with pdftotext: header, footer, headings on every page, the records'
// text, the colour question once a run, and the stored page set-up.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QStandardItemModel>
#include <QPageSize>
#include <QTableView>
#include <QToolBar>

#include <cstdio>
#include <memory>
#include <regex>
#include <string>

#include "core/appearance.h"
#include "core/module1.h"
#include "exchange/printgrid.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/printdialogs.h"
#include "platform/recordgrid.h"
#include "testsupport.h"

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

// The left edge, in points, of the first word `word` on the first page.
double LeftOf(const std::string& pdf, const std::string& word) {
    const std::string html = Shell("pdftotext -f 1 -l 1 -bbox '" + pdf + "' -");
    std::smatch m;
    if (!std::regex_search(html, m, std::regex("<word xMin=\"([0-9.]+)\"[^>]*>" + word + "</word>"))) return -1;
    return std::stod(m[1].str());
}

// Pixels of the first page, rendered at 30 dpi, that are plainly red.
int RedPixels(const std::string& pdf) {
    const std::string png = pdf + ".png";
    Shell("pdftoppm -r 30 -f 1 -l 1 -singlefile -png '" + pdf + "' '" + pdf + "'");
    const QImage page(QString::fromStdString(png));
    int n = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            n += c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    return page.isNull() ? -1 : n;
}

class PrintGrid : public ::testing::Test {
protected:
    vmtest::Fixture fx;
    vm::FakePrintDialogs dialogs;
    vm::FakeClock clock{{2026, 2, 14, 9, 0, 0}};
    std::string calendar = vmtest::FreshCalendar();
    std::string dir = vmtest::MakeTempDir("velmora-print");
    std::string pdf = dir + "/grid.pdf";
    std::unique_ptr<vm::frmVelmora> w;

    void SetUp() override {
        setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
        vm::SetPrintDialogs(&dialogs);
        vm::SetClock(&clock);
        vm::Module1.CalendarFilePath = calendar;
        {
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
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        w->show();
        w->DataDates.setDatabaseName(calendar);
        w->DataDates.setRecordSource("SELECT * FROM [Velmora] ORDER BY [ID]");
        w->DataDates.refresh();
        w->DataDatesModel->reload();
    }
    void TearDown() override {
        w.reset();
        vm::SetClock(nullptr);
        vm::SetPrintDialogs(nullptr);
    }
    void ClickPrint() {
        QAction* print = w->Toolbar1->findChild<QAction*>("Print");
        ASSERT_NE(print, nullptr);
        w->Toolbar1_ButtonClick(print);
    }
    int ColourQuestions() {
        int n = 0;
        for (const auto& s : fx.messages.shown) n += s.title == "Color Printer?";
        return n;
    }
};

TEST_F(PrintGrid, TheToolbarPrintsTheDateGridWithHeaderFooterAndHeadingsOnEveryPage) {
    fx.messages.answers = {MsgResult::Yes};
    fx.messages.fileAnswers = {pdf, dir + "/second.pdf"};
    ClickPrint();
    EXPECT_EQ(ColourQuestions(), 1);
    EXPECT_EQ(fx.messages.shown.at(0).text, "Print Document in Color?");
    EXPECT_EQ(fx.messages.shown.at(0).icon, vm::MsgIcon::Exclamation);
    ASSERT_EQ(fx.messages.dialogs.size(), 1u);
    EXPECT_TRUE(fx.messages.dialogs[0].save);
    ASSERT_EQ(dialogs.previewCaptions.size(), 1u);
    EXPECT_EQ(dialogs.previewCaptions[0], "Halvex Systems - Velmora Grid Printout  ");

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
    // The page set-up is kept for the next printout; the colour question is not asked again.
    EXPECT_TRUE(vm::FileExists(dir + "/Velmora_Print_Setup.Dat"));
    ClickPrint();
    EXPECT_EQ(ColourQuestions(), 1);
    EXPECT_EQ(vm::Module1.ColorPrintAnswer, 6);
    EXPECT_EQ(dialogs.previewCaptions.size(), 2u);
}

// The set-up file of this program's own: one inch all round on Letter paper.
const std::string kInchSetup =
    "Velmora print setup 1\nPaperName=Letter\nPaperWidthPt=612\nPaperHeightPt=792\nOrientation=2\n"
    "MarginLeftTwips=1440\nMarginTopTwips=1440\nMarginRightTwips=1440\nMarginBottomTwips=1440\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
    return text;
}

TEST_F(PrintGrid, TheStoredSetUpIsUsedAndAFileThatCannotBeReadGivesHalfInchMargins) {
    struct Case {
        const char* what;
        std::string file;  // "" = no file
        double margin;     // points
    };
    const Case cases[] = {
        {"no file", "", 36},
        {"a binary record", std::string("\x01\x00\x20\x00\x00\x00\x00\x00\x00\x00\xff\xfe\x00", 13), 36},
        {"cut short", kInchSetup.substr(0, 60), 36},
        {"another version", Replaced(kInchSetup, "setup 1", "setup 2"), 36},
        {"a negative margin", Replaced(kInchSetup, "MarginTopTwips=1440", "MarginTopTwips=-5"), 36},
        {"no such orientation", Replaced(kInchSetup, "Orientation=2", "Orientation=3"), 36},
        {"a stray line", Replaced(kInchSetup, "PaperName=Letter", "garbage"), 36},
        {"one inch", kInchSetup, 72},
        {"one inch, CR LF line ends", Replaced(kInchSetup, "\n", "\r\n"), 72},
    };
    for (const Case& c : cases) {
        const std::string setup = dir + "/Velmora_Print_Setup.Dat";
        std::remove(setup.c_str());
        if (!c.file.empty()) vmtest::WriteAll(setup, c.file);
        fx.messages.answers = {MsgResult::Yes};
        fx.messages.fileAnswers = {pdf};
        std::remove(pdf.c_str());
        vm::Module1.ColorPrintAnswer = 0;
        dialogs.setupShown.clear();
        vm::Print_Grid(w->TDBGridDates, 2, "Marginal test  ");
        ASSERT_EQ(dialogs.setupShown.size(), 1u) << c.what;
        const QMarginsF m = dialogs.setupShown[0].margins(QPageLayout::Point);
        EXPECT_DOUBLE_EQ(m.left(), c.margin) << c.what;
        EXPECT_DOUBLE_EQ(m.top(), c.margin) << c.what;
        EXPECT_EQ(dialogs.setupShown[0].orientation(), QPageLayout::Landscape) << c.what;
        const double left = LeftOf(pdf, "Marginal");
        EXPECT_GE(left, c.margin) << c.what;
        EXPECT_LT(left, c.margin + 4) << c.what;
    }
}

TEST_F(PrintGrid, TheLayoutChosenInTheSetUpIsPrintedAndKept) {
    fx.messages.answers = {MsgResult::Yes};
    fx.messages.fileAnswers = {pdf};
    dialogs.setupChoice = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(54, 18, 18, 18),
                                      QPageLayout::Point);
    vm::Print_Grid(w->TDBGridDates, 2, "Chosen layout ");
    const std::string page = Shell("pdftotext -f 1 -l 1 -bbox '" + pdf + "' -");
    EXPECT_NE(page.find("<page width=\"595."), std::string::npos) << page.substr(0, 400);
    EXPECT_NE(page.find("height=\"842."), std::string::npos);
    EXPECT_EQ(vmtest::ReadAll(dir + "/Velmora_Print_Setup.Dat"),
              "Velmora print setup 1\nPaperName=A4\nPaperWidthPt=595\nPaperHeightPt=842\nOrientation=1\n"
              "MarginLeftTwips=1080\nMarginTopTwips=360\nMarginRightTwips=360\nMarginBottomTwips=360\n");
}

TEST_F(PrintGrid, ACancelledSetUpPrintsNothingButKeepsTheSettings) {
    fx.messages.answers = {MsgResult::Yes};
    fx.messages.fileAnswers = {pdf};
    dialogs.setupAnswers = {false};
    vm::Print_Grid(w->TDBGridDates, 2, "Cancelled ");
    EXPECT_TRUE(dialogs.previewCaptions.empty());
    EXPECT_FALSE(vm::FileExists(pdf));
    EXPECT_NE(vmtest::ReadAll(dir + "/Velmora_Print_Setup.Dat").find("\nMarginLeftTwips=720\n"), std::string::npos);
}

TEST_F(PrintGrid, TheGridHandedInIsPrintedInColourOrInBlackAndWhite) {
    QTableView other;
    QStandardItemModel model(3, 2);
    model.setHorizontalHeaderLabels({"Task", "When"});
    const char* tasks[] = {"Paint the fence", "Mend the gate", "Oil the hinges"};
    for (int r = 0; r < 3; ++r) {
        auto* task = new QStandardItem(tasks[r]);
        task->setBackground(QColor(255, 0, 0));
        model.setItem(r, 0, task);
        model.setItem(r, 1, new QStandardItem("Saturday"));
    }
    other.setModel(&model);
    const QPalette before = other.palette();
    for (const MsgResult answer : {MsgResult::Yes, MsgResult::No}) {
        vm::Module1.ColorPrintAnswer = 0;
        fx.messages.answers = {answer};
        fx.messages.fileAnswers = {pdf};
        vm::Print_Grid(&other, 2, "Other grid ");
        const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
        for (const char* t : tasks) EXPECT_NE(text.find(t), std::string::npos) << t;
        EXPECT_EQ(text.find("O'Neil"), std::string::npos) << "the main window's grid was printed";
        if (answer == MsgResult::Yes) EXPECT_GT(RedPixels(pdf), 50);
        else EXPECT_EQ(RedPixels(pdf), 0);
    }
    EXPECT_EQ(other.palette(), before);

    // No grid handed in: reported, and nothing is printed.
    fx.messages.clear();
    dialogs.setupShown.clear();
    vm::Print_Grid(nullptr, 2, "Nothing ");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "91 - There is no grid to print. @ Error Point: 1");
    EXPECT_TRUE(dialogs.setupShown.empty());
}

TEST_F(PrintGrid, ASetUpThatCannotBeKeptIsReportedWithItsPathAfterThePrintout) {
    const std::string missing = dir + "/missing";
    setenv("VELMORA_DATA_DIR", missing.c_str(), 1);
    fx.messages.answers = {MsgResult::Yes};
    fx.messages.fileAnswers = {pdf};
    vm::Print_Grid(w->TDBGridDates, 2, "Unkept ");
    EXPECT_TRUE(vm::FileExists(pdf));
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].title, "Print_Grid Error");
    EXPECT_EQ(fx.messages.shown[1].icon, vm::MsgIcon::Information);
    EXPECT_EQ(fx.messages.shown[1].text,
              "User Print & Margin Settings Cannot be saved\r\n" + missing + "/Velmora_Print_Setup.Dat");
}

}  // namespace
