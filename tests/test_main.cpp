// main() of every test binary: headless Qt with the program's own
// application object, a private runtime folder and a temporary data folder,
// so no test touches the user's files or a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/guardedapp.h"
#include "testsupport.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string runtime = vmtest::MakeTempDir("velmora-xdg");
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const std::string data = vmtest::MakeTempDir("velmora-data");
    setenv("VELMORA_DATA_DIR", data.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    int rc;
    {
        vm::GuardedApplication app(argc, argv);
        rc = RUN_ALL_TESTS();
    }
    return rc;  // the folders go with every other a test made

}
