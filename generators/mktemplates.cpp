// Writes the two blank templates into the given folder, from the one schema
// definition in the code.
#include <cstdio>
#include <filesystem>

#include "core/schema.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    try {
        std::filesystem::create_directories(dir);
        for (const char* name : {"BlankVelmoras.mdb", "BlankVelmora_Settings.mdb"}) {
            std::filesystem::remove(dir / name);
            std::filesystem::remove(dir / (std::string(name) + "-journal"));
        }
        vm::CreateCalendarTemplate((dir / "BlankVelmoras.mdb").string());
        vm::CreateSettingsTemplate((dir / "BlankVelmora_Settings.mdb").string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora_mktemplates: %s\n", e.what());
        return 1;
    }
    return 0;
}
