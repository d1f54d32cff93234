// The program started with a data folder whose name is not UTF-8 text: it
// says so, naming the folder, and makes nothing there.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/places.h"
#include "testsupport.h"

namespace {

TEST(DataFolder, ANameThatIsNotUtf8IsRefusedBeforeAnythingIsMade) {
    const std::string data = vmtest::MakeTempDir("velmora-odd") + "/d\xE9 x";
    // The variable goes to the program as bytes: set here and inherited.
    const std::string former = std::getenv("VELMORA_DATA_DIR");
    setenv("VELMORA_DATA_DIR", data.c_str(), 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    QProcess program;
    program.start(QString::fromStdString(vm::JoinPath(vm::ProgramFolder(), "velmora")), {});
    setenv("VELMORA_DATA_DIR", former.c_str(), 1);
    ASSERT_TRUE(program.waitForStarted(10000));
    // The refusal's box waits for the user; its text also goes to the terminal.
    QByteArray said;
    QElapsedTimer t;
    t.start();
    while (!said.contains("is not UTF-8 text") && t.elapsed() < 60000 &&
           program.state() == QProcess::Running) {
        program.waitForReadyRead(1000);
        said += program.readAllStandardError();
    }
    EXPECT_TRUE(said.contains("/d\xEF\xBF\xBD x\" (VELMORA_DATA_DIR) is not UTF-8 text")) << said.toStdString();
    EXPECT_FALSE(std::filesystem::exists(data)) << "no folder, lock or calendar made";
    ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
    program.waitForFinished(10000);
}

}  // namespace
