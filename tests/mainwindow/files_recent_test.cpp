// The recent-files list, the caption, the calendar file test, the safe copy
// and the dialog filters, without windows.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/calendarfiles.h"
#include "core/files.h"
#include "platform/places.h"
#include "platform/qtmessages.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using vm::PrevFileList;

namespace {

// Four existing files A..D (and E) in one temporary folder.
struct Files {
    std::string dir = vmtest::MakeTempDir("velmora-prev");
    std::string A = make("A.mdb"), B = make("B.mdb"), C = make("C.mdb"), D = make("D.mdb"), E = make("E.mdb");
    std::string make(const std::string& name) {
        const std::string p = dir + "/" + name;
        vmtest::WriteAll(p, "x");
        return p;
    }
    PrevFileList list(std::initializer_list<std::string> entries) const {
        PrevFileList l{};
        size_t i = 1;
        for (const auto& e : entries) l[i++] = e;
        return l;
    }
};

TEST(RecentFiles, OpeningMovesTheFileToTheHeadWithoutGapsOrDuplicates) {
    Files f;
    struct Case {
        const char* what;
        PrevFileList before;
        std::string opened;
        PrevFileList after;
    };
    const Case cases[] = {
        {"a new file pushes the fourth one out", f.list({f.A, f.B, f.C, f.D}), f.E, f.list({f.E, f.A, f.B, f.C})},
        {"the head again changes nothing", f.list({f.A, f.B, f.C, f.D}), f.A, f.list({f.A, f.B, f.C, f.D})},
        {"entry 3 moves up and D stays", f.list({f.A, f.B, f.C, f.D}), f.C, f.list({f.C, f.A, f.B, f.D})},
        {"the last entry moves up", f.list({f.A, f.B, f.C, f.D}), f.D, f.list({f.D, f.A, f.B, f.C})},
        {"another spelling of the same path", f.list({f.A, f.B}), f.dir + "/./sub/../B.mdb", f.list({f.dir + "/./sub/../B.mdb", f.A})},
        {"an empty list", PrevFileList{}, f.A, f.list({f.A})},
        {"gaps in a stored list close", f.list({"", f.A, "", f.B}), f.C, f.list({f.C, f.A, f.B})},
    };
    for (const Case& c : cases) {
        PrevFileList l = c.before;
        vm::AddToPrevFiles(l, c.opened);
        EXPECT_EQ(l, c.after) << c.what;
    }
}

TEST(RecentFiles, ChoosingAndRemovingEntries) {
    Files f;
    PrevFileList l = f.list({f.A, f.B, f.C, f.D});
    vm::MovePrevToFront(l, 3);
    EXPECT_EQ(l, f.list({f.C, f.A, f.B, f.D}));
    vm::MovePrevToFront(l, 1);
    EXPECT_EQ(l, f.list({f.C, f.A, f.B, f.D}));
    vm::MovePrevToFront(l, 5);  // empty entry: nothing happens
    EXPECT_EQ(l, f.list({f.C, f.A, f.B, f.D}));
    vm::RemovePrevFile(l, 2);
    EXPECT_EQ(l, f.list({f.C, f.B, f.D}));
    vm::RemovePrevFile(l, 3);
    EXPECT_EQ(l, f.list({f.C, f.B}));
}

TEST(RecentFiles, FilesThatDifferOnlyInCaseAreDifferentFiles) {
    Files f;
    const std::string upper = f.make("a.mdb");  // beside A.mdb
    PrevFileList l = f.list({f.A});
    vm::AddToPrevFiles(l, upper);
    EXPECT_EQ(l, f.list({upper, f.A}));
    EXPECT_TRUE(vm::SamePath(f.A, f.dir + "//A.mdb"));
    EXPECT_FALSE(vm::SamePath(f.A, upper));
}

TEST(RecentFiles, StartUpPassesOverEmptyMissingTemplateAndRepeatedEntries) {
    Files f;
    const std::string tmpl = f.make("BlankVelmora_Settings.MDB");
    EXPECT_EQ(vm::StartupPrevFiles({f.A, f.B, f.A, f.C}), f.list({f.A, f.B, f.C}));
    EXPECT_EQ(vm::StartupPrevFiles({f.A, f.A, "", ""}), f.list({f.A}));
    EXPECT_EQ(vm::StartupPrevFiles({"", tmpl, f.dir + "/gone.mdb", f.D}), f.list({f.D}));
}

TEST(RecentFiles, CaptionsAndTheWindowCaption) {
    EXPECT_EQ(vm::PrevFileCaption(2, "/home/u/Cal/Work.mdb"), "2 - Work.mdb");
    const std::string version = std::to_string(VELMORA_VERSION_MAJOR) + "-" + std::to_string(VELMORA_VERSION_MINOR) +
                                "-" + std::to_string(VELMORA_VERSION_PATCH);
    EXPECT_EQ(vm::CalendarCaption("/home/u/Cal/Work.mdb"),
              "Velmora " + std::string(20, ' ') + " Version: " + version + std::string(10, ' ') + "Work.mdb");
}

TEST(CalendarFileProblem, OnlyCalendarFilesOfThisProgramPass) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("velmora-check");
    const std::string text = dir + "/notes.mdb", empty = dir + "/empty.mdb", upper = dir + "/Cal.MDB",
                      wrongName = dir + "/cal.db", settings = dir + "/settings.mdb";
    vmtest::WriteAll(text, "not a calendar\n");
    vmtest::WriteAll(empty, "");
    fs::copy_file(vm::BlankCalendarTemplate(), upper);
    fs::copy_file(vm::BlankCalendarTemplate(), wrongName);
    fs::copy_file(vm::BlankSettingsTemplate(), settings);
    EXPECT_EQ(vm::CalendarFileProblem(upper), "");
    for (const std::string& bad : {text, empty, wrongName, settings, dir + "/missing.mdb", dir})
        EXPECT_NE(vm::CalendarFileProblem(bad), "") << bad;
    EXPECT_TRUE(vm::HasMdbSuffix("x.Mdb"));
    EXPECT_FALSE(vm::HasMdbSuffix("mdb"));
}

TEST(CopyCalendarNoOverwrite, CopiesCommittedRecordsAndNeverOverwrites) {
    vmtest::Fixture fx;
    const std::string from = vmtest::FreshCalendar();
    {
        auto d = vm::db::Database::Open(from);
        d->exec("INSERT INTO [Velmora] ([DateText]) VALUES ('first'), ('second')");
    }
    // A record source still holding its connection, as the main window's does.
    vm::db::RecordSource open;
    open.setDatabaseName(from);
    open.setRecordSource("Velmora");
    open.refresh();
    open.addNew();
    open.setField("DateText", vm::db::Text("third"));
    open.update();

    const std::string dir = vmtest::MakeTempDir("velmora-copy");
    const std::string to = dir + "/Copy.mdb";
    vm::CopyCalendarNoOverwrite(from, to);
    auto copy = vm::db::Database::Open(to);
    auto st = copy->prepare("SELECT count(*) FROM [Velmora]");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(vm::db::AsInt(st.column(0)), 3);

    const std::string other = dir + "/Other.mdb";
    vmtest::WriteAll(other, "keep me");
    try {
        vm::CopyCalendarNoOverwrite(from, other);
        ADD_FAILURE() << "an existing file was accepted";
    } catch (const vm::OpError& e) {
        EXPECT_EQ(e.number(), 58);
    }
    EXPECT_EQ(vmtest::ReadAll(other), "keep me");
    EXPECT_THROW(vm::CopyCalendarNoOverwrite(dir + "/none.mdb", dir + "/x.mdb"), std::exception);
    EXPECT_FALSE(vm::FileExists(dir + "/x.mdb"));
}

TEST(DialogFilters, PipesBecomeTheDesktopDialogsFilters) {
    struct Case {
        const char* in;
        const char* desktop;
        const char* qt;
        const char* suffix;
    };
    const Case cases[] = {
        {"Calendar File  *.MDB|*.mdb", "Calendar File  *.MDB|*.mdb;*.MDB", "Calendar File  *.MDB (*.mdb *.MDB)", ".mdb"},
        {"Calendar File     *.mdb|.mdb", "Calendar File     *.mdb|*.mdb;*.MDB", "Calendar File     *.mdb (*.mdb *.MDB)", ".mdb"},
        {"Text (*.txt)|*.txt|All Files|*.*", "Text (*.txt)|*.txt;*.TXT|All Files|*.*",
         "Text (*.txt) (*.txt *.TXT);;All Files (*)", ".txt"},
        {"Sounds|*.wav;*.mp3", "Sounds|*.wav;*.WAV;*.mp3;*.MP3", "Sounds (*.wav *.WAV *.mp3 *.MP3)", ".wav"},
        {"All|*.*", "All|*.*", "All (*)", ""},
    };
    for (const Case& c : cases) {
        const std::string desktop = vm::DesktopDialogFilter(c.in);
        EXPECT_EQ(desktop, c.desktop) << c.in;
        EXPECT_EQ(vm::QtFilterFromPipes(desktop).toStdString(), c.qt) << c.in;
        EXPECT_EQ(vm::DefaultSuffixOfFilter(c.in), c.suffix) << c.in;
    }
    EXPECT_EQ(vm::WithDefaultSuffix("/a/Work", ".mdb"), "/a/Work.mdb");
    EXPECT_EQ(vm::WithDefaultSuffix("/a.b/Work", "mdb"), "/a.b/Work.mdb");
    EXPECT_EQ(vm::WithDefaultSuffix("/a/Work.MDB", ".mdb"), "/a/Work.MDB");
    EXPECT_EQ(vm::WithDefaultSuffix("/a/Work", ""), "/a/Work");
}

}  // namespace
