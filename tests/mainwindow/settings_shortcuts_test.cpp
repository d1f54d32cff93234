// Desktop and autostart launchers, in temporary home and XDG folders.
#include <sys/stat.h>

#include "core/launcher.h"
#include "mainwindow/shortcuts.h"
#include "settings_testutil.h"

namespace {

// A home of the test's own and no XDG settings; the home is given back after.
struct Desktop {
    Desktop() {
        set("HOME", home);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DESKTOP_DIR"}) unsetenv(name);
        set("VELMORA_PROGRAM_DIR", program);
    }
    ~Desktop() {
        set("HOME", oldHome);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DESKTOP_DIR", "VELMORA_PROGRAM_DIR"}) unsetenv(name);
    }
    void set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }
    std::string desktopFile() const { return home + "/Desktop/velmora.desktop"; }
    std::string autostartFile() const { return home + "/.config/autostart/velmora.desktop"; }
    const char* home0 = std::getenv("HOME");
    std::string oldHome = home0 ? home0 : "", home = vmtest::MakeTempDir("velmora-home"),
                program = vmtest::MakeTempDir("velmora-program");
};

bool RunBitSet(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IXUSR);
}

std::string ExecLine() { return "\nExec=" + vm::RunningProgramPath() + "\n"; }

TEST(Shortcuts, DesktopLauncherLandsWithItsRunBitAndAutostartOnlyOnYes) {
    vmtest::SettingsFixture fx;
    Desktop d;
    fx.panel->mnuFile_Settings_Click();

    fx.messages.answers = {vm::MsgResult::Ok, vm::MsgResult::No};
    fx.click("sscmdNewShortCut");
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].text, "Shortcut Has Been Created\n" + d.desktopFile());
    EXPECT_EQ(fx.messages.shown[1].buttons, vm::MsgButtons::YesNo);
    EXPECT_TRUE(RunBitSet(d.desktopFile()));
    EXPECT_FALSE(vm::FileExists(d.autostartFile()));
    const std::string text = vmtest::ReadAll(d.desktopFile());
    EXPECT_NE(text.find(ExecLine()), std::string::npos);
    EXPECT_EQ(vmtest::ReadAll(d.program + "/velmora.desktop"), text);  // the launcher beside the program

    // Again, with Yes: the desktop one exists, the autostart one is made.
    fx.messages.clear();
    fx.click("sscmdNewShortCut");
    ASSERT_EQ(fx.messages.shown.size(), 3u);
    EXPECT_EQ(fx.messages.shown[0].title, "Shortcut Exists");
    EXPECT_EQ(fx.messages.shown[2].title, "Shortcut Created");
    EXPECT_TRUE(RunBitSet(d.autostartFile()));
    EXPECT_EQ(vmtest::ReadAll(d.autostartFile()), text);
}

TEST(Shortcuts, NeverOverwritesAndReportsAFailedCopyWithoutTheQuestion) {
    vmtest::Fixture fx;
    Desktop d;
    const std::string desktop = vmtest::MakeTempDir("velmora-desk");
    d.set("XDG_DESKTOP_DIR", desktop);
    vmtest::WriteAll(desktop + "/velmora.desktop", "mine");
    vm::NewShortCuts();
    EXPECT_EQ(vmtest::ReadAll(desktop + "/velmora.desktop"), "mine");
    ASSERT_EQ(fx.messages.shown.size(), 3u);  // exists, question (Yes), autostart created
    EXPECT_EQ(fx.messages.shown[0].title, "Shortcut Exists");

    // A desktop folder that cannot be made: the failure names the path and
    // the autostart question is not asked.
    fx.messages.clear();
    const std::string blocker = desktop + "/velmora.desktop/inside";
    d.set("XDG_DESKTOP_DIR", blocker);
    vm::NewShortCuts();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Shortcut Not Created");
    EXPECT_NE(fx.messages.shown[0].text.find(blocker + "/velmora.desktop"), std::string::npos);
}

TEST(Shortcuts, FoldersFollowTheXdgSettings) {
    Desktop d;
    EXPECT_EQ(vm::DesktopFolder(), d.home + "/Desktop");
    EXPECT_EQ(vm::AutostartFolder(), d.home + "/.config/autostart");

    const std::string config = vmtest::MakeTempDir("velmora-config");
    d.set("XDG_CONFIG_HOME", config);
    EXPECT_EQ(vm::AutostartFolder(), config + "/autostart");
    vmtest::WriteAll(config + "/user-dirs.dirs",
                     "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                     "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(vm::DesktopFolder(), d.home + "/Schreibtisch");
    d.set("XDG_DESKTOP_DIR", "/srv/desk");
    EXPECT_EQ(vm::DesktopFolder(), "/srv/desk");
    d.set("XDG_CONFIG_HOME", "relative/config");  // not absolute: ignored
    EXPECT_EQ(vm::AutostartFolder(), d.home + "/.config/autostart");
}

TEST(Shortcuts, ExecLinesAreQuotedAndEscaped) {
    struct Case {
        const char* path;
        const char* exec;
    };
    const Case cases[] = {
        {"/usr/bin/velmora", "/usr/bin/velmora"},
        {"/opt/my apps/velmora", "\"/opt/my apps/velmora\""},
        {"/opt/$x/velmora", "\"/opt/\\\\$x/velmora\""},
        {"/opt/100%/velmora", "/opt/100%%/velmora"},
        {"/opt/a\"b/velmora", "\"/opt/a\\\\\"b/velmora\""},
    };
    for (const Case& c : cases) EXPECT_EQ(vm::LauncherExec(c.path), c.exec) << c.path;
}

}  // namespace
