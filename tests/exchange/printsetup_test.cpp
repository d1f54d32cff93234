// The stored page set-up: the file's exact text, and defaults for every file
// that cannot be read.
#include <gtest/gtest.h>

#include <string>

#include "core/printsetup.h"
#include "testsupport.h"

namespace {

const char* kA4Portrait =
    "Velmora print setup 1\n"
    "PaperName=A4\n"
    "PaperWidthPt=595\n"
    "PaperHeightPt=842\n"
    "Orientation=1\n"
    "MarginLeftTwips=1440\n"
    "MarginTopTwips=360\n"
    "MarginRightTwips=0\n"
    "MarginBottomTwips=2000\n";

TEST(PrintSetup, WrittenAndReadBackAsTheFileOfItsOwn) {
    vm::PrintSetup s;
    s.paperName = "A4";
    s.paperWidthPt = 595;
    s.paperHeightPt = 842;
    s.orientation = 1;
    s.marginLeft = 1440;
    s.marginTop = 360;
    s.marginRight = 0;
    s.marginBottom = 2000;
    const std::string path = vmtest::MakeTempDir("velmora-print") + "/Velmora_Print_Setup.Dat";
    ASSERT_TRUE(vm::WritePrintSetup(path, s));
    EXPECT_EQ(vmtest::ReadAll(path), kA4Portrait);
    EXPECT_EQ(vm::ReadPrintSetup(path), s);
}

TEST(PrintSetup, AFileThatCannotBeReadGivesTheDefaults) {
    const std::string good = kA4Portrait;
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const std::string bad[] = {
        "",
        std::string("\x01\x00\x10\x00\x00\x00\x00\x00\x00\x00\xff\xfe", 12),  // a binary record
        replaced("Velmora print setup 1", "Velmora print setup 2"),
        replaced("MarginLeftTwips=1440", "MarginLeftTwips=-5"),
        replaced("MarginTopTwips=360\n", ""),
        replaced("Orientation=1", "Orientation=3"),
        replaced("PaperHeightPt=842", "PaperHeightPt=0"),
        replaced("PaperName=A4", "garbage line"),
        good.substr(0, 60),
    };
    const std::string path = vmtest::MakeTempDir("velmora-print") + "/Velmora_Print_Setup.Dat";
    EXPECT_EQ(vm::ReadPrintSetup(path), vm::PrintSetup{}) << "no file";
    for (const std::string& text : bad) {
        vmtest::WriteAll(path, text);
        const vm::PrintSetup s = vm::ReadPrintSetup(path);
        EXPECT_EQ(s, vm::PrintSetup{}) << text;
        EXPECT_EQ(s.marginLeft, 720);
        EXPECT_EQ(s.marginBottom, 720);
        EXPECT_EQ(s.paperWidthPt, 0);
    }
    vmtest::WriteAll(path, replaced("\n", "\r\n"));
    EXPECT_EQ(vm::ReadPrintSetup(path).marginLeft, 1440) << "line ends of another desktop are read";
}

}  // namespace
