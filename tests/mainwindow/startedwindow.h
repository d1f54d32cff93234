// The real main window started and shut down as the program does, on a fresh
// data folder, with a set clock and fake dialogs, sound, speech and desktop
// handler.
#pragma once
#include <QAction>
#include <QLabel>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/calendarfiles.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "testsupport.h"

namespace vmtest {

class StartedWindow {
public:
    StartedWindow() {
        setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
        vm::SetClock(&clock);
        vm::SetSoundPlayer(&sound);
        vm::SetSpeech(&speech);
        vm::SetDesktopOpener(&opener);
        vm::ResetCalendarFiles();
    }
    ~StartedWindow() {
        window.reset();
        vm::SetClock(nullptr);
        vm::SetSoundPlayer(nullptr);
        vm::SetSpeech(nullptr);
        vm::SetDesktopOpener(nullptr);
        vm::ResetCalendarFiles();
    }
    vm::frmVelmora& Start() {
        window.reset();
        vm::ResetSharedState();
        window = std::make_unique<vm::frmVelmora>();
        window->unloadWaitMs = 0;
        window->Form_Load();
        return *window;
    }
    void Stop() {
        window->Form_Unload();
        window.reset();
    }
    QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }
    QLabel* Label(const QString& name) const { return window->findChild<QLabel*>(name); }
    void Open(const std::string& path) {
        fx.messages.fileAnswers.push_back(path);
        Action("mnuFile_Open")->trigger();
    }
    std::string Caption() const { return window->windowTitle().toStdString(); }
    const std::vector<vm::FakeMessages::Shown>& Shown() const { return fx.messages.shown; }

    Fixture fx;
    std::string dir = MakeTempDir("velmora-run") + "/Velmora";
    vm::FakeClock clock{{2026, 12, 6, 9, 30, 0}};
    vm::FakeSoundPlayer sound;
    vm::FakeSpeech speech;
    vm::FakeDesktopOpener opener;
    std::unique_ptr<vm::frmVelmora> window;
};

}  // namespace vmtest
