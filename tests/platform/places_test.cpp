// The data folder the program may start with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/places.h"

namespace {

// Sets VELMORA_DATA_DIR for one test and puts the former value back.
struct DataDir {
    std::string former = std::getenv("VELMORA_DATA_DIR") ? std::getenv("VELMORA_DATA_DIR") : "";
    explicit DataDir(const std::string& path) { setenv("VELMORA_DATA_DIR", path.c_str(), 1); }
    ~DataDir() { setenv("VELMORA_DATA_DIR", former.c_str(), 1); }
};

TEST(DataFolderProblem, AFolderNameThatIsNotUtf8IsRefusedAndNamed) {
    {
        const DataDir latin1("/tmp/d\xE9 x");
        const std::string problem = vm::DataFolderProblem();
        EXPECT_NE(problem.find("The data folder \"/tmp/d\xEF\xBF\xBD x\" (VELMORA_DATA_DIR) is not UTF-8 text"),
                  std::string::npos)
            << problem;
    }
    {
        const DataDir cut("/tmp/\xC3");  // a character cut short at the end
        EXPECT_NE(vm::DataFolderProblem(), "");
    }
    for (const char* fine : {"/tmp/d\xC3\xA9 x", "/tmp/R&D plans", "/tmp/\xE6\x97\xA5\xE8\xAA\x8C"}) {
        const DataDir ok(fine);
        EXPECT_EQ(vm::DataFolderProblem(), "") << fine;
    }
}

}  // namespace
