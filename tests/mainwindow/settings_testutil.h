// A settings panel on a real main window with a fresh data folder, fake
// dialogs and a fake sound player, and hooks that record what the panel asks
// of the main window.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/appearance.h"
#include "core/module1.h"
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

// Sets environment variables for a scope and puts the old values back.
class EnvGuard {
public:
    void set(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name, value.c_str(), 1);
    }
    void unset(const char* name) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        unsetenv(name);
    }
    ~EnvGuard() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
            else unsetenv(it->first.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

struct MainCalls {
    int shownMonth = 3;
    std::string monthBoxText = "March";
    int style = 1;
    std::vector<bool> monthBoxesShown;
    std::vector<std::string> picturesLoaded;
    int setDayLabelFonts = 0;
    std::vector<int> dayNameFonts, dayFonts, titleFonts;
    std::vector<std::string> status4;
};

class SettingsFixture : public Fixture {
public:
    SettingsFixture() {
        data = MakeTempDir("velmora-settings");
        env.set("VELMORA_DATA_DIR", data);
        vm::SetPickers(&pickers);
        vm::SetSoundPlayer(&sound);
        auto& h = vm::MainHooks();
        h = vm::SettingsHooks{};
        h.shownMonth = [this] { return calls.shownMonth; };
        h.monthBoxText = [this] { return calls.monthBoxText; };
        h.calendarStyle = [this] { return calls.style; };
        h.setCalendarStyle = [this](int s) { calls.style = s; };
        h.showMonthBoxes = [this](bool on) { calls.monthBoxesShown.push_back(on); };
        h.loadMonthPicture = [this](const std::string& p) { calls.picturesLoaded.push_back(p); };
        h.setDayLabelFonts = [this] { ++calls.setDayLabelFonts; };
        h.setDayNameFonts = [this](int m) { calls.dayNameFonts.push_back(m); };
        h.applyDayFont = [this](int m) { calls.dayFonts.push_back(m); };
        h.applyTitleFont = [this](int m) { calls.titleFonts.push_back(m); };
        h.statusText = [this](int panel, const std::string& t) {
            if (panel == 4) calls.status4.push_back(t);
        };
        window = std::make_unique<vm::frmVelmora>();
        window->Form_Load();
        vm::EnsureSoundFolder();
        for (int n = 1; n <= 30; ++n)
            vm::Module1.SoundFile[static_cast<size_t>(n)] = "Sounds/Alarm" + std::string(n < 10 ? "0" : "") +
                                                              std::to_string(n) + ".wav";
        panel = vm::TheSettingsPanel();  // made by start-up
        window->show();
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

    EnvGuard env;
    std::string data;
    vm::FakePickers pickers;
    vm::FakeSoundPlayer sound;
    MainCalls calls;
    std::unique_ptr<vm::frmVelmora> window;
    vm::SettingsPanel* panel = nullptr;  // owned by the window
};

}  // namespace vmtest
