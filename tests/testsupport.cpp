#include "testsupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/module1.h"
#include "platform/places.h"

namespace fs = std::filesystem;

namespace vmtest {

std::string MakeTempDir(const std::string& stem) {
    std::string tmpl = (fs::temp_directory_path() / (stem + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

static std::string FreshCopy(const char* name) {
    const std::string dir = MakeTempDir("velmora-file");
    const std::string to = dir + "/" + name;
    fs::copy_file(vm::JoinPath(vm::ProgramFolder(), std::string("Blank") + name), to);
    return to;
}

std::string FreshCalendar() { return FreshCopy("Velmoras.mdb"); }
std::string FreshSettings() { return FreshCopy("Velmora_Settings.mdb"); }

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    return out;
}

void FillDisk(vm::db::Database& connection, bool full) {
    int64_t pages = 1073741823;
    if (full) {
        auto count = connection.prepare("PRAGMA page_count");
        count.step();
        pages = vm::db::AsInt(count.column(0));
    }
    connection.exec("PRAGMA max_page_count = " + std::to_string(pages));
}

Fixture::Fixture() {
    if (const char* d = std::getenv("VELMORA_DATA_DIR")) savedDataDir_ = d;
    vm::ResetSharedState();
    vm::SetMessages(&messages);
}

Fixture::~Fixture() {
    setenv("VELMORA_DATA_DIR", savedDataDir_.c_str(), 1);
    vm::SetMessages(nullptr);
    vm::ResetSharedState();
}

}  // namespace vmtest
