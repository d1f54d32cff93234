// The desktop opener on Qt with a stand-in for the desktop's opener program
// put first on the search path: its exit status is what the caller is told.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/shellqt.h"
#include "testsupport.h"

namespace {

TEST(DesktopOpener, AnOpenerProgramThatFailsIsNoSuccess) {
    const std::string dir = vmtest::MakeTempDir("velmora-opener");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir + ":" + path).c_str(), 1);
    for (const auto& [status, opened] : {std::pair{3, false}, std::pair{0, true}}) {
        SCOPED_TRACE(status);
        vmtest::WriteAll(dir + "/xdg-open", "#!/bin/sh\necho \"$1\" > \"" + dir + "/asked\"\nexit " +
                                                std::to_string(status) + "\n");
        std::filesystem::permissions(dir + "/xdg-open", std::filesystem::perms::owner_all);
        vm::QtDesktopOpener opener;
        EXPECT_EQ(opener.open("https://example.org/videos"), opened);
        EXPECT_EQ(vmtest::ReadAll(dir + "/asked"), "https://example.org/videos\n");
    }
    setenv("PATH", path.c_str(), 1);
}

}  // namespace
