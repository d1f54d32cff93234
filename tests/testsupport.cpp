#include "testsupport.h"

#include <QColor>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/module1.h"
#include "platform/places.h"

namespace fs = std::filesystem;

namespace vmtest {

namespace {

// Every folder a test makes is removed when its test program ends, so runs
// of the suite leave nothing behind; VELMORA_KEEP_TEST_DIRS keeps them for a
// look afterwards. Only the process that made a folder removes it: a forked
// child that exits normally leaves its parent's folders alone.
class TempDirs {
public:
    ~TempDirs() {
        if (getpid() != owner_ || std::getenv("VELMORA_KEEP_TEST_DIRS")) return;
        for (const std::string& dir : dirs_) Remove(dir);
    }
    void add(const std::string& dir) {
        if (dirs_.empty()) owner_ = getpid();
        dirs_.push_back(dir);
    }

private:
    static void Remove(const fs::path& dir) {
        std::error_code ec;
        if (fs::remove_all(dir, ec) != static_cast<std::uintmax_t>(-1) && !ec) return;
        // A test may have taken its own rights away from part of the folder:
        // they come back on its folders (never through a link, which may
        // lead out of it), from the top down.
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(dir, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            std::error_code kind;
            if (fs::is_directory(it->symlink_status(kind)))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add | fs::perm_options::nofollow,
                                kind);
        }
        fs::remove_all(dir, ec);
    }
    std::vector<std::string> dirs_;
    pid_t owner_ = 0;
};

TempDirs& MadeDirs() {
    static TempDirs dirs;
    return dirs;
}

}  // namespace

std::string MakeTempDir(const std::string& stem) {
    std::string tmpl = (fs::temp_directory_path() / (stem + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    MadeDirs().add(tmpl);
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

void WritePhoto(const std::string& path, int width, int height) {
    QImage photo(width, height, QImage::Format_RGB888);
    photo.fill(QColor(40, 90, 160));
    ASSERT_TRUE(photo.save(QString::fromStdString(path), "JPG", 90)) << path;
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

DiskFullAfter::DiskFullAfter(unsigned long long bytes) {
    savedSignal_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    savedSoft_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ADD_FAILURE() << "no file size limit";
}

DiskFullAfter::~DiskFullAfter() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = savedSoft_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, savedSignal_);
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

void RunCopyKilledAt(std::uintmax_t stopAt, const std::function<void()>& copy) {
    int pipefd[2];
    ASSERT_EQ(pipe(pipefd), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipefd[0]);
        vm::SetCopyPieceHook([&](std::uintmax_t written) {
            if (stopAt == 0 || written < stopAt) return;
            const char stopped = 's';
            if (write(pipefd[1], &stopped, 1) != 1) _exit(2);
            for (;;) pause();
        });
        try {
            copy();
        } catch (...) {
        }
        _exit(0);
    }
    close(pipefd[1]);
    char stopped = 0;
    const bool atStop = read(pipefd[0], &stopped, 1) == 1;  // nothing when the child finished
    close(pipefd[0]);
    if (atStop) kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(atStop, stopAt != 0) << "the copy stopped where it was told to";
}

}  // namespace vmtest
