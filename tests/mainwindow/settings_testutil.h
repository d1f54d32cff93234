// A settings panel on the real main window, wired to it as the program wires
// it, with a fresh data folder, fake dialogs and a fake sound player. What the
// panel does to the main window is read back from the window's own controls.
#pragma once
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/appearance.h"
#include "core/dates.h"
#include "core/module1.h"
#include "core/schema.h"
#include "core/soundfiles.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/settingspanel_hooks.h"
#include "platform/pickers.h"
#include "platform/places.h"
#include "platform/sound.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace vmtest {

class SettingsFixture : public Fixture {
public:
    SettingsFixture() {
        data = MakeTempDir("velmora-settings");
        setenv("VELMORA_DATA_DIR", data.c_str(), 1);
        vm::SetPickers(&pickers);
        vm::SetSoundPlayer(&sound);
        vm::MainHooks() = vm::SettingsHooks{};  // the window fills in its own
        window = std::make_unique<vm::frmVelmora>();
        window->Form_Load();
        vm::EnsureSoundFolder();
        for (int n = 1; n <= 30; ++n) vm::Module1.SoundFile[size_t(n)] = vm::DefaultSoundFile(n);
        panel = vm::TheSettingsPanel();  // made by start-up
        window->show();
        showMonth(3);
        messages.clear();
        sound.clear();
    }
    ~SettingsFixture() {
        window.reset();
        vm::MainHooks() = vm::SettingsHooks{};
        vm::SetPickers(nullptr);
        vm::SetSoundPlayer(nullptr);
    }

    template <class W = QWidget>
    W* find(const char* name) {
        W* w = panel->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* box(const char* name) { return find<QLineEdit>(name); }

    // The main window shows `month` of its year, as the month box does.
    void showMonth(int month) {
        window->cmbMonth->setCurrentText(QString::fromUtf8(vm::MonthName(month)));
        window->cmbmonth_Click();
        ASSERT_EQ(window->pCurMon, month);
    }
    bool monthBoxesShown() const { return window->cmbMonth->isVisible() && window->cmbYear->isVisible(); }
    QFont dayCellFont() const { return window->findChild<QLabel*>("lblDay_0")->font(); }
    std::string statusPanel4() const {
        auto* label = window->findChild<QLabel*>("StatusBar1_Panel4");
        return label ? label->text().toStdString() : std::string();
    }
    // The colour of the picture the main window shows, or an invalid colour.
    QColor shownPictureColour() const {
        const QPixmap p = window->Image1->pixmap();
        return p.isNull() ? QColor() : p.toImage().pixelColor(0, 0);
    }
    QComboBox* list(const char* name) { return find<QComboBox>(name); }
    std::string text(const char* name) {
        if (auto* e = panel->findChild<QLineEdit*>(name)) return e->text().toStdString();
        if (auto* c = panel->findChild<QComboBox*>(name)) return c->currentText().toStdString();
        if (auto* l = panel->findChild<QLabel*>(name)) return l->text().toStdString();
        ADD_FAILURE() << "no control " << name;
        return {};
    }
    // Chooses a list entry as the user does: the text, then the click.
    void choose(const char* name, const QString& item) {
        QComboBox* c = list(name);
        const int i = c->findText(item);
        ASSERT_GE(i, 0) << item.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    void typeEnter(const char* name, const QString& t) {
        QLineEdit* e = box(name);
        e->setText(t);
        QTest::keyClick(e, Qt::Key_Return);
    }
    void click(const char* name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }

    // The [Backgrounds] value of a month (its row by position) in the open calendar file.
    vm::db::Value stored(int month, const char* column) {
        vm::db::RecordSource rs;
        rs.setDatabaseName(vm::Module1.CalendarFilePath);
        rs.setRecordSource("Backgrounds");
        rs.refresh();
        rs.moveFirst();
        for (int m = 1; m < month; ++m) rs.moveNext();
        return rs.field(column);
    }

    std::string data;
    vm::FakePickers pickers;
    vm::FakeSoundPlayer sound;
    std::unique_ptr<vm::frmVelmora> window;
    vm::SettingsPanel* panel = nullptr;  // owned by the window
};

}  // namespace vmtest
