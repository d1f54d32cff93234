// The week view, headless: opened from the main window's menu over a calendar
// file written here, its columns, lines and their formats read back by name.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <memory>
#include <string>
#include <vector>

#include "core/calendardocument.h"
#include "core/dates.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/pictures.h"
#include "platform/clock.h"
#include "platform/sqlstore.h"
#include "records/frmweekview.h"
#include "keyboard.h"
#include "testsupport.h"

namespace {

namespace db = vm::db;
using vm::CivilDate;
using L = std::vector<std::string>;

int32_t Number(const QColor& c) { return c.red() + 256 * c.green() + 65536 * c.blue(); }

class WeekViewWindow : public ::testing::Test {
protected:
    void SetUp() override {
        vm::SetClock(&clock);
        vm::Module1.CalendarFilePath = path;
        main = std::make_unique<vm::frmVelmora>();
    }
    void TearDown() override {
        vm::UnloadWeekView();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main.reset();
        vm::SetClock(nullptr);
    }

    void Add(const char* table, CivilDate day, int hour, int minute, const char* ampm, const std::string& text,
             const std::string& colors = "", const char* font = "", int hide = 0) {
        const int hr24 = std::string(ampm) == "PM" && hour < 12 ? hour + 12 : (hour == 12 ? 0 : hour);
        store->prepare(std::string("INSERT INTO [") + table +
                       "] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[DayColors],[Font],"
                       "[Hr24],[Duration],[WorkDay]) VALUES (?,?,?,?,?,?,?,?,?,?,0,-1)")
            .bindAll({db::Int(hide), db::Text(vm::FormatIso(day)), db::Int(vm::Date2Julian(day)), db::Int(hour),
                      db::Int(minute), db::Text(ampm), db::Text(text), db::Text(colors), db::Text(font), db::Int(hr24)})
            .run();
    }
    void open() {
        QAction* item = main->findChild<QAction*>("mnuWeek_View");
        ASSERT_TRUE(item && item->isEnabled());
        item->trigger();
        w = vm::WeekView();
        ASSERT_NE(w, nullptr);
    }
    template <class T>
    T* child(const QString& name) const { return vmtest::Child<T>(w, name); }
    QPlainTextEdit* box(int i) const { return child<QPlainTextEdit>(QString("RichTextBox1_%1").arg(i)); }
    QString day(int i) const { return child<QLabel>(QString("lbl1_%1").arg(i))->text(); }
    QString caption() const { return child<QLineEdit>("txtMonYr")->text(); }
    // The lines of a box: every other paragraph, the ones between are empty.
    L lines(int i) const {
        L out;
        const QStringList paragraphs = box(i)->toPlainText().split('\n');
        for (int p = 0; p < paragraphs.size(); ++p) {
            if (p % 2 == 0 && !paragraphs[p].isEmpty()) out.push_back(paragraphs[p].toStdString());
            if (p % 2 == 1) { EXPECT_TRUE(paragraphs[p].isEmpty()) << "a line is followed by an empty line"; }
        }
        return out;
    }
    // The formats of the first and the last character of the n-th (from 0)
    // line of a box starting with a text.
    std::pair<QTextCharFormat, QTextCharFormat> formats(int i, const QString& text, int n = 0) const {
        const QString all = box(i)->toPlainText();
        int at = -1;
        for (int k = 0; k <= n; ++k) at = all.indexOf(text, at + 1);
        EXPECT_GE(at, 0) << text.toStdString();
        QTextCursor c(box(i)->document());
        c.setPosition(at + 1);
        const QTextCharFormat first = c.charFormat();
        c.setPosition(int(all.indexOf('\n', at)));
        return {first, c.charFormat()};
    }
    void step(const char* key) { child<QAction>(key)->trigger(); }
    // The columns whose day label is marked as today (dark, white text).
    std::vector<int> marked() const {
        std::vector<int> out;
        for (int i = 0; i < 7; ++i) {
            const QPalette p = child<QLabel>(QString("lbl1_%1").arg(i))->palette();
            if (p.color(QPalette::WindowText) == QColor(Qt::white)) out.push_back(i);
        }
        return out;
    }

    vmtest::Fixture fixture;
    vm::FakeClock clock{{2027, 1, 1, 10, 0, 0}};  // a Friday
    std::string path = vmtest::FreshCalendar();
    std::shared_ptr<db::Database> store = db::Database::Open(path);
    std::unique_ptr<vm::frmVelmora> main;
    vm::frmWeekView* w = nullptr;
};

TEST_F(WeekViewWindow, TheWeekOverTheYearEndShowsEveryDayAndStepsAcrossIt) {
    Add("Velmora", {2026, 12, 27}, 2, 5, "PM", "Afternoon");
    Add("Velmora", {2026, 12, 27}, 9, 30, "AM", "Morning");
    Add("RepeatingData", {2026, 12, 27}, 8, 0, "AM", "Early repeat");
    Add("Velmora", {2026, 12, 28}, 0, 30, "AM", "Half past nothing");
    Add("RepeatingData", {2026, 12, 29}, 7, 5, "PM", "Tom && Jerry");
    Add("Velmora", {2026, 12, 26}, 9, 0, "AM", "Week before");
    Add("RepeatingData", {2026, 12, 31}, 11, 59, "PM", "Countdown");
    Add("Velmora", {2026, 12, 31}, 0, 0, "AM", "Hidden eve", "", "", -1);  // the week lists hidden rows too
    Add("Velmora", {2027, 1, 1}, 0, 0, "AM", "New Year");
    Add("RepeatingData", {2027, 1, 2}, 10, 15, "AM", "Brunch");
    Add("Velmora", {2027, 1, 5}, 9, 0, "AM", "Back to work");
    Add("RepeatingData", {2026, 12, 24}, 6, 0, "PM", "Carols");

    open();
    EXPECT_EQ(caption(), "January -  2027") << "the month of the day shown, not of its Sunday";
    const char* days[] = {" 27", " 28", " 29", " 30", " 31", " 1", " 2"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(day(i).toStdString(), days[i]);
    const std::vector<L> shown = {{"  9:30 AM  Morning ", "  2:05 PM  Afternoon ", "  8:00 AM  Early repeat "},
                                  {"  Half past nothing "}, {"  7:05 PM  Tom & Jerry "}, {},
                                  {"  Hidden eve ", "  11:59 PM  Countdown "}, {"  New Year "}, {"  10:15 AM  Brunch "}};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(lines(i), shown[size_t(i)]) << i;
    EXPECT_EQ(marked(), std::vector<int>{5});
    EXPECT_TRUE(fixture.messages.shown.empty());

    step("RightArrow");
    EXPECT_EQ(day(0) + day(6), " 3 9");
    EXPECT_EQ(lines(2), L{"  9:00 AM  Back to work "});
    step("LeftArrow");
    step("LeftArrow");
    EXPECT_EQ(caption(), "December -  2026");
    EXPECT_EQ(day(0), " 20");
    EXPECT_EQ(lines(4), L{"  6:00 PM  Carols "});
    EXPECT_TRUE(lines(2).empty()) << "the boxes are rebuilt, not added to";
}

// A camera's 8000 x 6000 photo as the month's picture shows, no larger than
// the screen, with no error box.
TEST_F(WeekViewWindow, AMonthPictureOf48MegapixelsShowsWithoutAnError) {
    const std::string photo = vmtest::MakeTempDir("velmora-photo") + "/Jan.jpg";
    vmtest::WritePhoto(photo, 8000, 6000);
    vm::Module1.MonthImageFile[1] = photo;
    open();
    EXPECT_TRUE(fixture.messages.shown.empty()) << fixture.messages.shown.at(0).text;
    const QPixmap shown = child<QLabel>("Image1")->pixmap();
    EXPECT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(8000, 6000).boundedTo(vm::LargestScreenPixels()));
}

// Open over a Saturday midnight: the week shown stays, and the steps go on
// from it, not from the new week.
TEST_F(WeekViewWindow, AWeekEndPassingWhileOpenKeepsTheStepsFromTheShownWeek) {
    clock.time = {2028, 3, 11, 23, 59, 40};  // a Saturday
    open();
    EXPECT_EQ(day(0) + day(6), " 5 11");
    clock.advance(60000);  // Sunday 12 March
    step("RightArrow");
    EXPECT_EQ(day(0) + day(6), " 12 18");
    EXPECT_EQ(marked(), std::vector<int>{0});
    step("LeftArrow");
    EXPECT_EQ(day(0) + day(6), " 5 11");
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Added);
    vm::Document().Settle();
    EXPECT_EQ(day(0) + day(6), " 5 11") << "a redraw keeps the week shown";
}

// Tab goes from day box to day box (no tab character is typed into one) and
// on to the toolbar, whose buttons Space presses.
TEST_F(WeekViewWindow, TabLeavesTheDayBoxesAndReachesTheWeekButtons) {
    open();
    ASSERT_TRUE(vmtest::ActivateForKeys(w));
    EXPECT_EQ(vmtest::FocusName(), "txtMonYr") << "the window opens with the keys where they were";
    const QString before = box(0)->toPlainText();
    ASSERT_TRUE(vmtest::TabTo("RichTextBox1_0"));
    vmtest::Press(Qt::Key_Tab);
    EXPECT_EQ(vmtest::FocusName(), "RichTextBox1_1");
    EXPECT_EQ(box(0)->toPlainText(), before);
    vmtest::Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(vmtest::FocusName(), "RichTextBox1_0");

    ASSERT_TRUE(vmtest::TabTo("RightArrow")) << "Tab reaches Nxt Wk";
    vmtest::Press(Qt::Key_Space);
    EXPECT_EQ(day(0) + day(6), " 3 9");
    ASSERT_TRUE(vmtest::TabTo("LeftArrow", true)) << "Shift+Tab reaches Prev Wk";
    vmtest::Press(Qt::Key_Space);
    vmtest::Press(Qt::Key_Space);
    EXPECT_EQ(day(0), " 20");
}

TEST_F(WeekViewWindow, EachLineTakesItsOwnColoursAndFontAlsoPastAHundredLines) {
    const CivilDate d{2026, 12, 29};
    // Untimed lines, in minute order: identical texts, and one contained in another.
    Add("Velmora", d, 0, 0, "AM", "Café ☕ 𝄞", "255;0");  // places count as the text box counts them
    Add("Velmora", d, 0, 1, "AM", "Meet Bob", "255;65535;0;0;3;3");
    Add("Velmora", d, 0, 2, "AM", "Meet", "65280;0;0;0;3;3");
    Add("Velmora", d, 0, 3, "AM", "Same", "16711680;16777215;0;0;3;3", "Serif, 14,True,True");
    Add("Velmora", d, 0, 4, "AM", "Same", "-255;-65535;0;0;3;3");  // forced colours: absolute values
    Add("Velmora", d, 0, 6, "AM", "Hidden ink", "16711680;16711680");
    db::Transaction tx(*store);
    for (int i = 0; i < 130; ++i)
        Add(i % 2 ? "RepeatingData" : "Velmora", {2026, 12, 30}, 1 + i % 12, i % 60, i % 24 < 12 ? "AM" : "PM",
            "Entry " + std::to_string(i), std::to_string(i + 1) + ";16777215");
    tx.commit();
    open();
    EXPECT_TRUE(fixture.messages.shown.empty());
    ASSERT_EQ(lines(2), (L{"  Café ☕ 𝄞 ", "  Meet Bob ", "  Meet ", "  Same ", "  Same ", "  Hidden ink "}));
    struct Case { int box; QString text; int occurrence; int32_t fg, bg; };
    std::vector<Case> cases = {
        {2, "  Café", 0, 255, 0},  // the missing background counts 0
        {2, "  Meet Bob ", 0, 255, 65535},
        {2, "  Meet \n", 0, 65280, 0},
        {2, "  Same ", 0, 16711680, 16777215},
        {2, "  Same ", 1, 255, 65535},
        {2, "  Hidden ink ", 0, 0, 16777215},
    };
    ASSERT_EQ(lines(3).size(), 130u);
    for (int i = 0; i < 130; ++i) cases.push_back({3, QString("  Entry %1 \n").arg(i), 0, i + 1, 16777215});
    for (const auto& c : cases) {
        const auto [first, last] = formats(c.box, c.text, c.occurrence);
        for (const QTextCharFormat& f : {first, last}) {
            EXPECT_EQ(Number(f.foreground().color()), c.fg) << c.text.toStdString() << " #" << c.occurrence;
            EXPECT_EQ(Number(f.background().color()), c.bg) << c.text.toStdString() << " #" << c.occurrence;
        }
    }
    const QTextCharFormat same = formats(2, "  Same ", 0).first, again = formats(2, "  Same ", 1).first;
    EXPECT_EQ(same.fontPointSize(), 14);
    EXPECT_TRUE(same.fontItalic());
    EXPECT_FALSE(again.fontItalic()) << "the font stays with its own line";
}

}  // namespace
