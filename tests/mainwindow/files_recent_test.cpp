// The recent-files list and the dialog filters, without windows.
#include <gtest/gtest.h>

#include "core/calendarfiles.h"
#include "platform/qtmessages.h"
#include "testsupport.h"

using vm::PrevFileList;

namespace {

// Four existing files A..D (and E) in one temporary folder.
struct Files {
    std::string dir = vmtest::MakeTempDir("velmora-prev");
    std::string A = make("A.mdb"), B = make("B.mdb"), C = make("C.mdb"), D = make("D.mdb"), E = make("E.mdb"),
                lowerA = make("a.mdb");
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
    struct Case { const char* what; PrevFileList before; std::string opened; PrevFileList after; };
    const Case cases[] = {
        {"a new file pushes the fourth one out", f.list({f.A, f.B, f.C, f.D}), f.E, f.list({f.E, f.A, f.B, f.C})},
        {"the head again changes nothing", f.list({f.A, f.B, f.C, f.D}), f.A, f.list({f.A, f.B, f.C, f.D})},
        {"entry 3 moves up and D stays", f.list({f.A, f.B, f.C, f.D}), f.C, f.list({f.C, f.A, f.B, f.D})},
        {"the last entry moves up", f.list({f.A, f.B, f.C, f.D}), f.D, f.list({f.D, f.A, f.B, f.C})},
        {"another spelling of the same path", f.list({f.A, f.B}), f.dir + "/./sub/../B.mdb", f.list({f.dir + "/./sub/../B.mdb", f.A})},
        {"an empty list", PrevFileList{}, f.A, f.list({f.A})},
        {"gaps in a stored list close", f.list({"", f.A, "", f.B}), f.C, f.list({f.C, f.A, f.B})},
        {"a name differing only in case is another file", f.list({f.A}), f.lowerA, f.list({f.lowerA, f.A})},
    };
    for (const Case& c : cases) {
        PrevFileList l = c.before;
        vm::AddToPrevFiles(l, c.opened);
        EXPECT_EQ(l, c.after) << c.what;
    }
}

TEST(RecentFiles, StartUpPassesOverEmptyMissingTemplateAndRepeatedEntries) {
    Files f;
    const std::string tmpl = f.make("BlankVelmora_Settings.MDB");
    EXPECT_EQ(vm::StartupPrevFiles({f.A, f.B, f.A, f.C}), f.list({f.A, f.B, f.C}));
    EXPECT_EQ(vm::StartupPrevFiles({f.A, f.A, "", ""}), f.list({f.A}));
    EXPECT_EQ(vm::StartupPrevFiles({"", tmpl, f.dir + "/gone.mdb", f.D}), f.list({f.D}));
}

TEST(DialogFilters, PipesBecomeTheDesktopDialogsFilters) {
    struct Case { const char* in; const char* desktop; const char* qt; const char* suffix; };
    const Case cases[] = {
        {"Calendar File  *.MDB|*.mdb", "Calendar File  *.MDB|*.mdb;*.MDB", "Calendar File  *.MDB (*.mdb *.MDB)", ".mdb"},
        {"Sounds|*.wav;*.mp3", "Sounds|*.wav;*.WAV;*.mp3;*.MP3", "Sounds (*.wav *.WAV *.mp3 *.MP3)", ".wav"},
    };
    for (const Case& c : cases) {
        const std::string desktop = vm::DesktopDialogFilter(c.in);
        EXPECT_EQ(desktop, c.desktop) << c.in;
        EXPECT_EQ(vm::QtFilterFromPipes(desktop).toStdString(), c.qt) << c.in;
        EXPECT_EQ(vm::DefaultSuffixOfFilter(c.in), c.suffix) << c.in;
    }
}

}  // namespace
