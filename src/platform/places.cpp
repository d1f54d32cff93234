#include "platform/places.h"

#include <QStandardPaths>
#include <QStringDecoder>

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/asciicase.h"

namespace fs = std::filesystem;

namespace vm {

std::string DataFolder() {
    if (const char* env = std::getenv("VELMORA_DATA_DIR"); env && *env) return env;
    std::string docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    if (docs.empty()) {
        const char* home = std::getenv("HOME");
        docs = std::string(home ? home : ".") + "/Documents";
    }
    return JoinPath(docs, "Velmora");
}

std::string DataFolderProblem() {
    const std::string folder = DataFolder();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString shown = utf8(QByteArrayView(folder.data(), static_cast<qsizetype>(folder.size())));
    if (!utf8.hasError()) return {};
    for (QChar& c : shown)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = QLatin1Char('?');
    const char* env = std::getenv("VELMORA_DATA_DIR");
    return "The data folder \"" + shown.toStdString() + "\"" + (env && *env ? " (VELMORA_DATA_DIR)" : "") +
           " is not UTF-8 text, which Velmora needs for the names of its calendar files, pictures and sounds."
           "\r\nThis copy ends now. Start Velmora with a data folder whose name is UTF-8 text.";
}

std::string ProgramFolder() {
    if (const char* env = std::getenv("VELMORA_PROGRAM_DIR"); env && *env) return env;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::string JoinPath(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (a.back() == '/') return a + b;
    return a + "/" + b;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

std::string NotAFileAt(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISFIFO(st.st_mode)) return "a named pipe";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "a device";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    return "a special file";
}

std::string FileHead(const std::string& path, size_t most) {
    if (!FileExists(path)) return {};
    std::ifstream in(path, std::ios::binary);
    std::string bytes(most, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(most));
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
    return bytes;
}

bool PathDenied(const std::string& path) {
    std::error_code ec;
    (void)fs::status(path, ec);
    return ec == std::errc::permission_denied;
}

namespace {

std::function<void(std::uintmax_t)>& CopyPieceHook() {
    static std::function<void(std::uintmax_t)> hook;
    return hook;
}

// Closes a descriptor when it goes out of scope.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

bool WriteWhole(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// All bytes of `in` into `out`, telling the hook after each piece.
bool CopyBytes(int in, int out) {
    std::vector<char> piece(64 * 1024);
    std::uintmax_t done = 0;
    for (;;) {
        const ssize_t n = ::read(in, piece.data(), piece.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!WriteWhole(out, piece.data(), static_cast<size_t>(n))) return false;
        done += static_cast<std::uintmax_t>(n);
        if (CopyPieceHook()) CopyPieceHook()(done);
    }
}

// The hidden temporary a copy to `name` writes first: "." + name, the
// program's own mark ".velmora-part-", and six letters or digits (as
// mkostemp fills them in). Only names with the mark are ever taken for what
// a stopped copy left: a user's ".Velmoras.mdb.backup" or another
// program's temporary is no leftover of ours.
constexpr std::string_view kTemporaryMark = ".velmora-part-";
std::string TemporaryPattern(const std::string& name) { return "." + name + std::string(kTemporaryMark) + "XXXXXX"; }

bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    const std::string pattern = TemporaryPattern(name);
    const size_t stem = pattern.size() - 6;
    if (entry.size() != pattern.size() || entry.compare(0, stem, pattern, 0, stem) != 0) return false;
    return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(stem), entry.end(), [](unsigned char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
    });
}

// Removes what copies to `name` in `folder` left behind when they were
// stopped before the end (killed, or the machine went down): the user's own
// regular files of exactly the temporary name (folders, for a folder's copy),
// never a link or anything else. A copy running meanwhile (another run of the
// program) holds a lock on its temporary, which is then left alone.
void RemoveIfLeftover(const std::string& path, bool folder) {
    Fd left{::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (folder ? O_DIRECTORY : 0))};
    struct stat st {};
    if (left.fd < 0 || ::fstat(left.fd, &st) != 0 || st.st_uid != ::geteuid() ||
        !(folder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode)) || ::flock(left.fd, LOCK_EX | LOCK_NB) != 0)
        return;
    std::error_code removing;
    if (folder) fs::remove_all(path, removing);
    else ::unlink(path.c_str());
}

void RemoveLeftoverTemporaries(const std::string& folder, const std::string& name, bool folders = false) {
    if (name.empty()) return;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (IsTemporaryOf(it->path().filename().string(), name)) RemoveIfLeftover(it->path().string(), folders);
}

}  // namespace

void RemoveLeftoverDatabaseCopies(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        const size_t mark = entry.rfind(kTemporaryMark);
        if (entry.front() != '.' || mark == std::string::npos || mark < 1) continue;
        const std::string name = entry.substr(1, mark - 1);
        if (name.size() > 4 && EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".mdb") &&
            IsTemporaryOf(entry, name))
            RemoveIfLeftover(it->path().string(), false);
    }
}

namespace {

// Gives the whole file `tmp` the name `to` unless something has that name:
// in one step where the file system allows it, else by a second name and
// dropping the first, else (a file system without links, a memory stick's)
// by looking first.
bool NameWithoutReplacing(const std::string& tmp, const std::string& to) {
    if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    if (::link(tmp.c_str(), to.c_str()) == 0) {
        ::unlink(tmp.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    std::error_code ec;
    if (fs::exists(to, ec) || fs::is_symlink(to, ec)) return false;
    return ::rename(tmp.c_str(), to.c_str()) == 0;
}

void SyncFolder(const std::string& folder) {
    Fd dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
}

}  // namespace

void SetCopyPieceHook(std::function<void(std::uintmax_t)> hook) { CopyPieceHook() = std::move(hook); }

namespace {

std::string ParentFolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path().string() : std::string(".");
}

// A hidden temporary file beside `target`, held locked so that another run's
// clean-up leaves it alone (the leftovers of earlier runs go first); -1 when
// none can be made.
int TemporaryBeside(const fs::path& target, std::string& tmp) {
    const std::string folder = ParentFolderOf(target);
    RemoveLeftoverTemporaries(folder, target.filename().string());
    tmp = (fs::path(folder) / TemporaryPattern(target.filename().string())).string();
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

}  // namespace

bool CopyFileNoOverwrite(const std::string& from, const std::string& to, bool sync) {
    std::error_code ec;
    if (to.empty() || fs::exists(to, ec) || fs::is_symlink(to, ec) || !fs::is_regular_file(from, ec)) return false;
    Fd in{::open(from.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat source {};
    if (in.fd < 0 || ::fstat(in.fd, &source) != 0) return false;
    const fs::path target(to);
    const std::string folder = ParentFolderOf(target);
    std::string tmp;
    Fd out{TemporaryBeside(target, tmp)};  // held until the copy ends
    if (out.fd < 0) return false;
    // The copy may be read and written by its owner whatever the source
    // allows (where the file system keeps permissions at all).
    ::fchmod(out.fd, (source.st_mode & 0777) | S_IRUSR | S_IWUSR);
    bool whole = CopyBytes(in.fd, out.fd) && (!sync || ::fsync(out.fd) == 0);
    whole = ::close(out.fd) == 0 && whole;
    out.fd = -1;
    if (!whole || !NameWithoutReplacing(tmp, to)) {
        ::unlink(tmp.c_str());
        return false;
    }
    if (sync) SyncFolder(folder);
    return true;
}

bool MakeFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

namespace {

// The process's file-creation mask, read without setting it (setting it, even
// for a moment, would hold for every thread).
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 022;
}

}  // namespace

WholeFileWriter::WholeFileWriter(const std::string& path) {
    // Through links, to the file they lead to, there already or not yet.
    fs::path p(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(p, ec); ++hops) {
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) break;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    target_ = p.string();
    if (const std::string what = NotAFileAt(target_); !what.empty()) {  // never replaced by a file
        whyNot_ = "it is " + what + ", not a file";
        return;
    }
    if (::access(target_.c_str(), F_OK) == 0 && ::access(target_.c_str(), W_OK) != 0) {
        whyNot_ = "it may only be read";
        return;
    }
    fd_ = TemporaryBeside(fs::path(target_), tmp_);
    if (fd_ < 0) {
        whyNot_ = "no file can be made in its folder";
        return;
    }
    struct stat old {};
    ::fchmod(fd_, ::stat(target_.c_str(), &old) == 0 ? old.st_mode & 0777 : 0666 & ~CurrentUmask());
}

WholeFileWriter::~WholeFileWriter() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(tmp_.c_str());
}

bool WholeFileWriter::flush() {
    if (!failed_ && !pending_.empty()) failed_ = !WriteWhole(fd_, pending_.data(), pending_.size());
    pending_.clear();
    return !failed_;
}

bool WholeFileWriter::write(std::string_view bytes) {
    if (fd_ < 0 || failed_) return false;
    pending_.append(bytes);
    return pending_.size() < (1 << 16) || flush();
}

bool WholeFileWriter::commit() {
    if (fd_ < 0) return false;
    bool whole = flush() && ::fsync(fd_) == 0;
    whole = ::close(fd_) == 0 && whole;
    fd_ = -1;
    if (!whole || ::rename(tmp_.c_str(), target_.c_str()) != 0) {
        ::unlink(tmp_.c_str());
        return false;
    }
    SyncFolder(ParentFolderOf(fs::path(target_)));
    return true;
}

namespace {

// The regular files of `folder`, by name.
std::vector<std::string> RegularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) names.push_back(it->path().filename().string());
    return names;
}

// A copy file by file into `to` was stopped midway when a leftover of one of
// the files' copies is there.
bool HoldsStoppedCopy(const std::string& to, const std::vector<std::string>& names) {
    std::error_code ec;
    for (fs::directory_iterator it(to, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        for (const std::string& name : names)
            if (IsTemporaryOf(entry, name)) return true;
    }
    return false;
}

// How many of the files reached the folder, and whether every one that can
// be read did (a shipped file that cannot be read is no part of the copy).
struct FilesCopied {
    int copied = 0;
    bool whole = true;
};

FilesCopied CopyFilesInto(const std::string& from, const std::string& to, const std::vector<std::string>& names) {
    FilesCopied r;
    for (const std::string& name : names) {
        const std::string source = JoinPath(from, name);
        if (CopyFileNoOverwrite(source, JoinPath(to, name))) ++r.copied;
        else if (::access(source.c_str(), R_OK) == 0) r.whole = false;
    }
    return r;
}

}  // namespace

int CopyFilesNoOverwrite(const std::string& from, const std::string& to, const std::vector<std::string>& names) {
    return CopyFilesInto(from, to, names).copied;
}

int CopyFolderNoOverwrite(const std::string& from, const std::string& to, std::vector<std::string> names) {
    std::error_code ec;
    if (names.empty()) names = RegularFilesIn(from);
    const fs::path target(to);
    const std::string parent = ParentFolderOf(target);
    const std::string name = target.filename().string();
    if (name.empty()) return 0;
    RemoveLeftoverTemporaries(parent, name, true);
    if (fs::is_symlink(to, ec)) return 0;
    if (fs::exists(to, ec))
        return fs::is_directory(to, ec) && HoldsStoppedCopy(to, names) ? CopyFilesInto(from, to, names).copied : 0;
    if (!fs::is_directory(from, ec) || !MakeFolder(parent)) return 0;
    std::string tmp = (fs::path(parent) / TemporaryPattern(name)).string();
    if (!::mkdtemp(tmp.data())) return 0;
    ::chmod(tmp.c_str(), 0777 & ~CurrentUmask());  // as a folder made by name
    Fd held{::open(tmp.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};  // until it has its name
    if (held.fd >= 0) ::flock(held.fd, LOCK_EX | LOCK_NB);
    // Named only when whole: a copy cut short by a full disk is made again at
    // the next start.
    const FilesCopied files = CopyFilesInto(from, tmp, names);
    if (files.copied == 0 || !files.whole || !NameWithoutReplacing(tmp, to)) {
        fs::remove_all(tmp, ec);
        return 0;
    }
    return files.copied;
}

}  // namespace vm
