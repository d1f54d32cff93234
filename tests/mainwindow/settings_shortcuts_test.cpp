// Desktop and autostart launchers, in temporary home and XDG folders.
#include <sys/stat.h>

#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

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

// The arguments of a launcher's Exec value as a desktop reads them: the
// value's own escape of "\\" first, then the quotes and their escapes, then "%%".
std::vector<std::string> ExecArguments(const std::string& value) {
    const std::string s = std::regex_replace(value, std::regex(R"(\\\\)"), "\\");
    std::vector<std::string> args;
    std::string arg;
    bool quoted = false, started = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (quoted && c == '\\') {
            arg += s[++i];
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ' ' && !quoted) {
            if (started) args.push_back(arg);
            arg.clear();
        } else {
            arg += c == '%' && !quoted && s[++i] == '%' ? '%' : c;
        }
        started = c != ' ' || quoted;
    }
    if (started) args.push_back(arg);
    return args;
}

// The value of a launcher's one Exec line.
std::string ExecValue(const std::string& text) {
    const size_t at = text.find("\nExec=") + 6;
    EXPECT_EQ(text.find("\nExec=", at), std::string::npos) << "one Exec line";
    return text.substr(at, text.find('\n', at) - at);
}

// Presses ShortCuts with the settings panel open, answering No to the
// autostart question: the text of the first box.
std::string PressShortCuts(vmtest::SettingsFixture& fx) {
    fx.messages.clear();
    fx.messages.answers = {vm::MsgResult::Ok, vm::MsgResult::No};
    fx.click("sscmdNewShortCut");
    return fx.messages.shown.empty() ? std::string() : fx.messages.shown[0].text;
}

// A program file of a few lines at path.
void WriteProgram(const std::string& path) {
    vmtest::WriteAll(path, "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

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
    EXPECT_EQ(ExecArguments(ExecValue(text)),
              (std::vector<std::string>{"env", "VELMORA_DATA_DIR=" + fx.data, vm::RunningProgramPath()}))
        << "the data folder it was started with";
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

TEST(Shortcuts, HostileFoldersAreQuotedOrRefusedWithOneMessage) {
    vmtest::SettingsFixture fx;
    Desktop d;
    fx.panel->mnuFile_Settings_Click();

    // A line break would start a second Exec line: refused, nothing written,
    // no question after it.
    setenv("VELMORA_DATA_DIR", (fx.data + "\nExec=touch /tmp/velmora-owned").c_str(), 1);
    fx.click("sscmdNewShortCut");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Shortcut Not Created");
    EXPECT_NE(fx.messages.shown[0].text.find("control character"), std::string::npos);
    EXPECT_FALSE(vm::FileExists(d.desktopFile()));
    EXPECT_FALSE(vm::FileExists(d.program + "/velmora.desktop"));

    // Quotes, blanks, "$", "`", "\\" and "%" come back as they were.
    const std::string odd = fx.data + "/my \"cal\" $HOME `id` \\ 'x' ~(a);b";
    setenv("VELMORA_DATA_DIR", odd.c_str(), 1);
    fx.messages.clear();
    fx.messages.answers = {vm::MsgResult::Ok, vm::MsgResult::No};
    fx.click("sscmdNewShortCut");
    EXPECT_EQ(fx.messages.shown.at(0).title, "Shortcut Created");
    EXPECT_EQ(ExecArguments(ExecValue(vmtest::ReadAll(d.desktopFile()))),
              (std::vector<std::string>{"env", "VELMORA_DATA_DIR=" + odd, vm::RunningProgramPath()}));

    struct Case {
        const char *program, *data;
        std::vector<std::string> args;  // empty: refused
    };
    const Case cases[] = {
        {"/usr/bin/velmora", "", {"/usr/bin/velmora"}},
        {"/opt/my apps/velmora", "", {"/opt/my apps/velmora"}},
        {"/opt/100%/velmora", "", {"env", "/opt/100%/velmora"}},  // a first argument is looked up as written
        {"/opt/a\"b\\c/velmora", "/d/50%", {"env", "VELMORA_DATA_DIR=/d/50%", "/opt/a\"b\\c/velmora"}},
        {"/opt/a=b/velmora", "/d", {}},
        {"/opt/a=b/velmora", "", {"/opt/a=b/velmora"}},
        {"/opt/50% off/velmora", "", {}},
        {"/usr/bin/velmora", "/d/50% off", {}},
        {"/usr/bin/velmora", "/d/\x01x", {}},
        {"/usr/bin/velmora", "/d/\xff", {}},
    };
    for (const Case& c : cases) {
        std::string problem;
        const std::string exec = vm::LauncherExec(c.program, c.data, &problem);
        EXPECT_EQ(exec.empty() ? std::vector<std::string>{} : ExecArguments(exec), c.args) << c.program << c.data;
        EXPECT_EQ(problem.empty(), !c.args.empty()) << c.program << c.data;
    }
    EXPECT_EQ(vm::LauncherExec("/a\"b\\c$/v", "/d/5%", nullptr), R"(env VELMORA_DATA_DIR=/d/5%% "/a\\"b\\\\c\\$/v")");
}

// A launcher left by a program file that has since gone starts nothing: it
// is written again. One whose program is there, or that names none of its
// own, is never written over.
TEST(Shortcuts, ALauncherWhoseProgramIsGoneIsWrittenAgain) {
    vmtest::SettingsFixture fx;
    Desktop d;
    fx.panel->mnuFile_Settings_Click();
    std::filesystem::create_directories(d.home + "/Desktop");
    const std::string gone = "[Desktop Entry]\nType=Application\nName=Velmora\n"
                             "Exec=env VELMORA_DATA_DIR=/d \"/opt/velmora/velmora (deleted)\"\n";
    vmtest::WriteAll(d.desktopFile(), gone);
    EXPECT_EQ(PressShortCuts(fx), "Shortcut Has Been Created\n" + d.desktopFile());
    EXPECT_EQ(ExecArguments(ExecValue(vmtest::ReadAll(d.desktopFile()))).back(), vm::RunningProgramPath());
    EXPECT_TRUE(RunBitSet(d.desktopFile()));

    for (const std::string& kept : {std::string("[Desktop Entry]\nExec=/bin/sh -c true\n"),
                                    std::string("[Desktop Entry]\nExec=sh %f\n"), std::string("mine")}) {
        vmtest::WriteAll(d.desktopFile(), kept);
        EXPECT_EQ(PressShortCuts(fx).find("velmora ShortCut Already Exists"), 0u) << kept;
        EXPECT_EQ(vmtest::ReadAll(d.desktopFile()), kept);
    }
}

// The program file a launcher names: the running one, a new one put where
// it was, or the one it was started by; never a path that is not there.
TEST(Shortcuts, TheProgramFileIsOneThatIsThere) {
    const std::string dir = vmtest::MakeTempDir("velmora-bin");
    const std::string program = dir + "/velmora", started = dir + "/started";
    WriteProgram(program);
    WriteProgram(started);
    EXPECT_EQ(vm::ProgramFileFrom(program, started), program);
    EXPECT_EQ(vm::ProgramFileFrom(program + " (deleted)", started), program) << "replaced while running";
    std::filesystem::remove(program);
    EXPECT_EQ(vm::ProgramFileFrom(program + " (deleted)", started), started) << "removed: the started-by path";
    EXPECT_EQ(vm::ProgramFileFrom("", started), started);
    EXPECT_EQ(vm::ProgramFileFrom(program + " (deleted)", dir + "/none"), "");
    EXPECT_EQ(vm::ProgramFileFrom(program + " (deleted)", dir), "") << "a folder is no program";
    vmtest::WriteAll(program, "not runnable");
    std::filesystem::permissions(program, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(vm::ProgramFileFrom(program + " (deleted)", ""), "");

    EXPECT_EQ(vm::LauncherProgram("[Desktop Entry]\nExec=env A=1 -u B \"/opt/my apps/v\\\\\\\\x\" %u\n"),
              "/opt/my apps/v\\x");
    EXPECT_EQ(vm::LauncherProgram("[Desktop Entry]\nExec=/usr/bin/100%%\nTryExec=/x\n"), "/usr/bin/100%");
    EXPECT_EQ(vm::LauncherProgram("[Desktop Entry]\nName=No Exec\n"), "");
    const std::string ours = vm::LauncherText("/opt/a\"b\\c $x/velmora", "/d/5 %", nullptr);
    EXPECT_TRUE(ours.empty()) << "\"%\" with a blank is refused";
    EXPECT_EQ(vm::LauncherProgram(vm::LauncherText("/opt/a\"b\\c $x/velmora", "/d", nullptr)), "/opt/a\"b\\c $x/velmora");
}

// The program's own file replaced while it runs (an upgrade): a copy of this
// test program, started by its own name, takes its name away and puts a new
// program file there, then presses ShortCuts (the test below, run by itself).
TEST(Shortcuts, AfterAnUpgradeTheLauncherStartsTheNewProgramFile) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    std::filesystem::path dir = vmtest::MakeTempDir("velmora-upgrade");
    std::filesystem::create_hard_link(self, dir / "velmora", ec);
    if (ec) {  // another file system: a folder beside this program
        dir = self.parent_path() / ("upgrade-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::create_hard_link(self, dir / "velmora", ec);
        if (ec) std::filesystem::copy_file(self, dir / "velmora");
    }
    const std::string out = vmtest::RunCommand(
        "VELMORA_UPGRADE_TEST=1 VELMORA_PROGRAM_DIR='" + self.parent_path().string() + "' '" +
        (dir / "velmora").string() +
        "' --gtest_also_run_disabled_tests --gtest_filter=Shortcuts.DISABLED_UpgradedProgram 2>&1");
    std::filesystem::remove_all(dir, ec);
    EXPECT_NE(out.find("[  PASSED  ] 1 test."), std::string::npos) << out;
}

TEST(Shortcuts, DISABLED_UpgradedProgram) {
    ASSERT_TRUE(std::getenv("VELMORA_UPGRADE_TEST"));
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    ASSERT_EQ(self.substr(self.rfind('/')), "/velmora");
    std::filesystem::remove(self);
    WriteProgram(self);  // the new version
    ASSERT_EQ(std::filesystem::read_symlink("/proc/self/exe").string(), self + " (deleted)");

    vmtest::SettingsFixture fx;
    Desktop d;
    fx.panel->mnuFile_Settings_Click();
    EXPECT_EQ(PressShortCuts(fx), "Shortcut Has Been Created\n" + d.desktopFile());
    EXPECT_EQ(ExecArguments(ExecValue(vmtest::ReadAll(d.desktopFile()))).back(), self);

    // No program file at all: said so, and nothing is written.
    std::filesystem::remove(self);
    std::filesystem::remove(d.desktopFile());
    PressShortCuts(fx);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Shortcut Not Created");
    EXPECT_NE(fx.messages.shown[0].text.find("no longer where it was started from"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(d.desktopFile()));
}

}  // namespace
