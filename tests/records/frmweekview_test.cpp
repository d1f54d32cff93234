// The week view, headless: opened from the main window's menu over a calendar
// file written here, its columns, lines and their formats read back by name.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QPlainTextEdit>

#include <memory>
#include <string>
#include <vector>

#include "core/dates.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/sqlstore.h"
#include "records/frmweekview.h"
#include "testsupport.h"

namespace {

namespace db = vm::db;
using vm::CivilDate;

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
             const char* colors = "", const char* font = "", int hide = 0) {
        const int hr24 = std::string(ampm) == "PM" && hour < 12 ? hour + 12 : (hour == 12 ? 0 : hour);
        auto st = store->prepare(std::string("INSERT INTO [") + table +
                                 "] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[DayColors],[Font],"
                                 "[Hr24],[Duration],[WorkDay]) VALUES (?,?,?,?,?,?,?,?,?,?,0,-1)");
        st.bindAll({db::Int(hide), db::Text(vm::FormatIso(day)), db::Int(vm::Date2Julian(day)), db::Int(hour), db::Int(minute),
                    db::Text(ampm), db::Text(text), db::Text(colors), db::Text(font), db::Int(hr24)});
        st.run();
    }

    vm::frmWeekView* open() {
        QAction* item = main->findChild<QAction*>("mnuWeek_View");
        EXPECT_TRUE(item && item->isEnabled());
        if (item) item->trigger();
        return w = vm::WeekView();
    }
    template <class T>
    T* child(const QString& name) const {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    QPlainTextEdit* box(int i) const { return child<QPlainTextEdit>(QString("RichTextBox1_%1").arg(i)); }
    QLabel* day(int i) const { return child<QLabel>(QString("lbl1_%1").arg(i)); }
    // The lines of a box: every other paragraph, the ones between are empty.
    std::vector<std::string> lines(int i) const {
        std::vector<std::string> out;
        const QStringList paragraphs = box(i)->toPlainText().split('\n');
        for (int p = 0; p < paragraphs.size(); ++p) {
            if (p % 2 == 0 && !paragraphs[p].isEmpty()) out.push_back(paragraphs[p].toStdString());
            if (p % 2 == 1) EXPECT_TRUE(paragraphs[p].isEmpty()) << "a line is followed by an empty line";
        }
        return out;
    }
    // The format of the character at a position of a box.
    QTextCharFormat formatAt(int i, int position) const {
        QTextCursor c(box(i)->document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
    // Position of the n-th (from 0) occurrence of a text in a box.
    int find(int i, const QString& text, int n = 0) const {
        const QString all = box(i)->toPlainText();
        int at = -1;
        for (int k = 0; k <= n; ++k) at = all.indexOf(text, at + 1);
        return at;
    }
    void step(const char* key) { child<QAction>(key)->trigger(); }

    vmtest::Fixture fixture;
    vm::FakeClock clock{{2026, 12, 30, 10, 0, 0}};  // a Wednesday
    std::string path = vmtest::FreshCalendar();
    std::shared_ptr<db::Database> store = db::Database::Open(path);
    std::unique_ptr<vm::frmVelmora> main;
    vm::frmWeekView* w = nullptr;
};

TEST_F(WeekViewWindow, TheWeekOverTheYearEndShowsEveryDayWithItsLines) {
    Add("Velmora", {2026, 12, 27}, 2, 5, "PM", "Afternoon");
    Add("Velmora", {2026, 12, 27}, 9, 30, "AM", "Morning");
    Add("RepeatingData", {2026, 12, 27}, 8, 0, "AM", "Early repeat");
    Add("Velmora", {2026, 12, 28}, 0, 30, "AM", "Half past nothing");
    Add("RepeatingData", {2026, 12, 29}, 7, 5, "PM", "Tom && Jerry");
    Add("Velmora", {2026, 12, 30}, 12, 0, "PM", "Lunch");
    Add("Velmora", {2026, 12, 26}, 9, 0, "AM", "Week before");
    Add("RepeatingData", {2026, 12, 31}, 11, 59, "PM", "Countdown");
    Add("Velmora", {2026, 12, 31}, 0, 0, "AM", "Hidden eve", "", "", -1);  // the week lists hidden rows too
    Add("Velmora", {2027, 1, 1}, 0, 0, "AM", "New Year");
    Add("RepeatingData", {2027, 1, 2}, 10, 15, "AM", "Brunch");
    Add("Velmora", {2027, 1, 3}, 9, 0, "AM", "Next week");

    open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(vm::Module1.WeekViewOpen);
    EXPECT_EQ(w->windowTitle(), "Calendar Week View");
    EXPECT_EQ(child<QLineEdit>("txtMonYr")->text(), "December -  2026");
    const char* dows[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    const char* days[] = {" 27", " 28", " 29", " 30", " 31", " 1", " 2"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(child<QLabel>(QString("lblDOW_%1").arg(i))->text().toStdString(), dows[i]);
        EXPECT_EQ(day(i)->text().toStdString(), days[i]);
    }
    using L = std::vector<std::string>;
    EXPECT_EQ(lines(0), (L{"  9:30 AM  Morning ", "  2:05 PM  Afternoon ", "  8:00 AM  Early repeat "}));
    EXPECT_EQ(lines(1), (L{"  Half past nothing "}));
    EXPECT_EQ(lines(2), (L{"  7:05 PM  Tom & Jerry "}));
    EXPECT_EQ(lines(3), (L{"  12:00 PM  Lunch "}));
    EXPECT_EQ(lines(4), (L{"  Hidden eve ", "  11:59 PM  Countdown "}));
    EXPECT_EQ(lines(5), (L{"  New Year "}));
    EXPECT_EQ(lines(6), (L{"  10:15 AM  Brunch "}));
    EXPECT_TRUE(fixture.messages.shown.empty());

    // Only today's label is dark with white text.
    const QColor text = w->palette().color(QPalette::WindowText);
    for (int i = 0; i < 7; ++i) {
        const QPalette p = day(i)->palette();
        if (i == 3) {
            EXPECT_EQ(p.color(QPalette::Window), text);
            EXPECT_EQ(p.color(QPalette::WindowText), QColor(Qt::white));
        } else {
            EXPECT_EQ(Number(p.color(QPalette::Window)), 0xFFF7F0) << i;
            EXPECT_EQ(p.color(QPalette::WindowText), text) << i;
        }
    }
}

TEST_F(WeekViewWindow, SteppingForwardAndBackAcrossTheYearEnd) {
    Add("Velmora", {2027, 1, 5}, 9, 0, "AM", "Back to work");
    Add("RepeatingData", {2026, 12, 24}, 6, 0, "PM", "Carols");
    open();
    step("RightArrow");
    EXPECT_EQ(w->pWeek, 1);
    EXPECT_EQ(child<QLineEdit>("txtMonYr")->text(), "January -  2027");
    EXPECT_EQ(day(0)->text(), " 3");
    EXPECT_EQ(day(6)->text(), " 9");
    EXPECT_EQ(lines(2), std::vector<std::string>{"  9:00 AM  Back to work "});
    for (int i = 0; i < 7; ++i) EXPECT_EQ(Number(day(i)->palette().color(QPalette::Window)), 0xFFF7F0) << i;

    step("LeftArrow");
    step("LeftArrow");
    EXPECT_EQ(w->pWeek, -1);
    EXPECT_EQ(child<QLineEdit>("txtMonYr")->text(), "December -  2026");
    EXPECT_EQ(day(0)->text(), " 20");
    EXPECT_EQ(lines(4), std::vector<std::string>{"  6:00 PM  Carols "});
    EXPECT_TRUE(lines(2).empty()) << "the boxes are rebuilt, not added to";

    step("RightArrow");
    EXPECT_EQ(day(0)->text(), " 27");
    EXPECT_EQ(day(3)->palette().color(QPalette::WindowText), QColor(Qt::white));
}

TEST_F(WeekViewWindow, EachLineTakesItsOwnColoursAndFontEvenWhenItsTextRepeats) {
    const CivilDate d{2026, 12, 29};
    // Untimed lines, in minute order: identical texts, and one contained in another.
    Add("Velmora", d, 0, 0, "AM", "Café ☕ 𝄞", "255;0");  // places count as the text box counts them
    Add("Velmora", d, 0, 1, "AM", "Meet Bob", "255;65535;0;0;3;3");
    Add("Velmora", d, 0, 2, "AM", "Meet", "65280;0;0;0;3;3");
    Add("Velmora", d, 0, 3, "AM", "Same", "16711680;16777215;0;0;3;3", "Serif, 14,True,True");
    Add("Velmora", d, 0, 4, "AM", "Same", "-255;-65535;0;0;3;3");  // forced colours: absolute values
    Add("Velmora", d, 0, 5, "AM", "Plain", "");
    Add("Velmora", d, 0, 6, "AM", "Hidden ink", "16711680;16711680");
    open();
    ASSERT_EQ(lines(2), (std::vector<std::string>{"  Café ☕ 𝄞 ", "  Meet Bob ", "  Meet ", "  Same ", "  Same ", "  Plain ",
                                                  "  Hidden ink "}));
    const struct {
        const char* text;
        int occurrence;
        int32_t fg, bg;
    } cases[] = {
        {"  Café", 0, 255, 0},  // the missing background counts 0
        {"  Meet Bob ", 0, 255, 65535},
        {"  Meet \n", 0, 65280, 0},
        {"  Same ", 0, 16711680, 16777215},
        {"  Same ", 1, 255, 65535},
        {"  Plain ", 0, 0, 16777215},  // no colours: black on white
        {"  Hidden ink ", 0, 0, 16777215},
    };
    for (const auto& c : cases) {
        const int at = find(2, c.text, c.occurrence);
        ASSERT_GE(at, 0) << c.text;
        // The line's first and last characters, both its own.
        for (int k : {at, int(box(2)->toPlainText().indexOf('\n', at)) - 1}) {
            const QTextCharFormat f = formatAt(2, k);
            EXPECT_EQ(Number(f.foreground().color()), c.fg) << c.text << " #" << c.occurrence;
            EXPECT_EQ(Number(f.background().color()), c.bg) << c.text << " #" << c.occurrence;
        }
    }
    const QTextCharFormat first = formatAt(2, find(2, "Same", 0));
    EXPECT_EQ(first.fontPointSize(), 14);
    EXPECT_EQ(first.fontWeight(), QFont::Bold);
    EXPECT_TRUE(first.fontItalic());
    EXPECT_TRUE(first.fontFamilies().toStringList().contains("Serif"));
    const QTextCharFormat second = formatAt(2, find(2, "Same", 1));
    EXPECT_NE(second.fontWeight(), QFont::Bold) << "the font stays with its own line";
    EXPECT_FALSE(second.fontItalic());
}

TEST_F(WeekViewWindow, MoreThanAHundredLinesAllShowInTheirColoursWithoutAMessage) {
    db::Transaction tx(*store);
    for (int i = 0; i < 130; ++i)
        Add(i % 2 ? "RepeatingData" : "Velmora", {2026, 12, 30}, 1 + i % 12, i % 60, i % 24 < 12 ? "AM" : "PM",
            "Entry " + std::to_string(i), (std::to_string(i + 1) + ";16777215").c_str());
    tx.commit();
    open();
    EXPECT_TRUE(fixture.messages.shown.empty());
    const std::vector<std::string> shown = lines(3);
    ASSERT_EQ(shown.size(), 130u);
    for (int i = 0; i < 130; ++i) {
        const QString text = QString("  Entry %1 \n").arg(i);
        const int at = find(3, text);
        ASSERT_GE(at, 0) << i;
        EXPECT_EQ(Number(formatAt(3, at).foreground().color()), i + 1) << i;
        EXPECT_EQ(Number(formatAt(3, at).background().color()), 16777215) << i;
    }
}

TEST_F(WeekViewWindow, SizeAndPictureOptionAreKeptForTheRunAndShutDownClosesIt) {
    open();
    EXPECT_EQ(w->size(), QSize(714, 413)) << "10704 x 6192 twips";
    auto* picture = child<QAction>("mnuFile_Picture");
    EXPECT_FALSE(picture->isChecked());
    EXPECT_FALSE(child<QLabel>("Image1")->isVisibleTo(w));
    picture->trigger();
    EXPECT_TRUE(vm::Module1.WeekViewPicture);
    EXPECT_TRUE(picture->isChecked());
    EXPECT_TRUE(child<QLabel>("Image1")->isVisibleTo(w));

    w->resize(900, 500);
    child<QAction>("mnuFile_Exit")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(vm::Module1.WeekViewOpen);
    EXPECT_EQ(vm::WeekView(), nullptr);
    EXPECT_EQ(vm::Module1.WeekViewWidth, 900 * 15);
    EXPECT_EQ(vm::Module1.WeekViewHeight, 500 * 15);

    open();
    EXPECT_EQ(w->size(), QSize(900, 500));
    EXPECT_TRUE(child<QAction>("mnuFile_Picture")->isChecked());
    EXPECT_TRUE(child<QLabel>("Image1")->isVisibleTo(w));
    EXPECT_EQ(w->pWeek, 0);

    // A second use of the command only brings the open window forward.
    step("RightArrow");
    main->findChild<QAction*>("mnuWeek_View")->trigger();
    EXPECT_EQ(vm::WeekView(), w);
    EXPECT_EQ(w->pWeek, 1);

    main->Form_Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(vm::Module1.WeekViewOpen);
    EXPECT_EQ(vm::WeekView(), nullptr);
}

TEST_F(WeekViewWindow, AMissingCalendarFileIsReportedAndTheWeekStillShows) {
    vm::Module1.CalendarFilePath = vmtest::MakeTempDir("velmora-week") + "/gone.mdb";
    open();
    ASSERT_EQ(fixture.messages.shown.size(), 1u);
    EXPECT_EQ(fixture.messages.shown[0].title, "GetWeeksMsg_Error");
    EXPECT_EQ(fixture.messages.shown[0].buttons, vm::MsgButtons::OkCancel);
    EXPECT_EQ(fixture.messages.shown[0].text.rfind("9001 - ", 0), 0u) << fixture.messages.shown[0].text;
    EXPECT_EQ(day(5)->text(), " 1");
    EXPECT_EQ(child<QLineEdit>("txtMonYr")->text(), "December -  2026");
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(box(i)->toPlainText().isEmpty());
}

}  // namespace
