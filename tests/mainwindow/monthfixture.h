// The real main window on a calendar file made by the test, drawing its
// months headless; the built cells are read back by name.
#pragma once
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

#include <memory>
#include <string>

#include "core/appearance.h"
#include "core/dates.h"
#include "core/module1.h"
#include "core/monthpictures.h"
#include "mainwindow/frmvelmora.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace vmtest {

namespace db = vm::db;
using vm::CivilDate;

struct Calendar {
    std::string path = vmtest::FreshCalendar();
    std::shared_ptr<db::Database> db = db::Database::Open(path);

    struct Rec {
        CivilDate date;
        const char* text;
        int hour = 0, minute = 0;
        const char* ampm = "AM";
        const char* repeat = "";
        int64_t duration = 0;
        bool hide = false;
        int priority = 0;
        const char* colors = "";
        const char* font = "";
        const char* alarm = "";
        int sound = 1;
    };
    int64_t Add(const char* table, const Rec& r) {
        auto st = db->prepare(std::string("INSERT INTO [") + table +
                              "] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[Duration],"
                              "[Priority],[DayColors],[Font],[Alarm],[SoundNum],[WorkDay],[DateType]) "
                              "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,-1,'Event')");
        st.bindAll({db::Bool(r.hide), db::Text(vm::FormatIso(r.date)), db::Int(vm::Date2Julian(r.date)),
                    db::Int(r.hour), db::Int(r.minute), db::Text(r.ampm), db::Text(r.text), db::Text(r.repeat),
                    db::Int(r.duration), db::Int(r.priority), db::Text(r.colors), db::Text(r.font),
                    db::Text(r.alarm), db::Int(r.sound)});
        st.run();
        return db->lastInsertId();
    }
    int64_t Count(const char* table) {
        auto st = db->prepare(std::string("SELECT COUNT(*) FROM [") + table + "]");
        st.step();
        return db::AsInt(st.column(0));
    }
};

// The window shows the month and year the boxes are set to, as the month box's click does.
inline void DrawMonth(vm::frmVelmora& w, const char* month, const char* year) {
    w.cmbMonth->setCurrentText(month);
    w.cmbYear->setCurrentText(year);
    w.cmbmonth_Click();
}

inline int32_t Number(const QColor& c) { return c.red() + 256 * c.green() + 65536 * c.blue(); }

class MonthBuild : public ::testing::Test {
protected:
    vmtest::Fixture fx;
    Calendar cal;
    std::unique_ptr<vm::frmVelmora> w;

    void SetUp() override {
        vm::Module1.CalendarFilePath = cal.path;
        vm::EnsureMonthPictures();
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        vm::SetDefaultCalValues();
        w->SetToday(CivilDate{2026, 2, 14});  // a Saturday, cell 13 of February 2026
        w->show();
    }

    void Draw(const char* month, const char* year) { DrawMonth(*w, month, year); }
    QLabel* Day(int i) { return w->findChild<QLabel*>(QString("lblDay_%1").arg(i)); }
    QLabel* Title(int i) { return w->findChild<QLabel*>(QString("lblTitle_%1").arg(i)); }
    std::string Text(QLabel* l) { return l->text().toStdString(); }
    static int32_t Fore(QLabel* l) { return Number(l->palette().color(QPalette::WindowText)); }
    static int32_t Back(QLabel* l) { return Number(l->palette().color(QPalette::Window)); }
    bool BoxShown() const { return !fx.messages.shown.empty(); }
    static bool MarkedToday(QLabel* l) { return l->autoFillBackground() && Back(l) == 0 && Fore(l) == 16777215; }
};

}  // namespace vmtest
