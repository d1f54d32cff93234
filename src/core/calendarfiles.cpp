#include "core/calendarfiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "core/files.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"

namespace fs = std::filesystem;

namespace vm {
namespace {

// Error numbers the File menu's error boxes show.
constexpr int kFileExists = 58;
constexpr int kPathAccess = 75;

std::vector<std::string> SplitOn(const std::string& text, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(sep, start);
        out.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return out;
        start = at + 1;
    }
}

std::string Join(const std::vector<std::string>& parts, char sep) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? std::string(1, sep) : std::string()) + parts[i];
    return out;
}

// "*.ext" with an extension free of wildcards: the extension; otherwise "".
std::string PlainExtension(const std::string& pattern) {
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0) return {};
    const std::string ext = pattern.substr(2);
    return ext.find_first_of("*?[] ") == std::string::npos ? ext : std::string();
}

}  // namespace

// ------------------------------------------------------------------ paths

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    fs::path p = fs::absolute(path, ec);
    if (ec) p = path;
    return p.lexically_normal().string();
}

bool SamePath(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    std::error_code ea, eb;
    const fs::path ca = fs::weakly_canonical(AbsolutePath(a), ea);
    const fs::path cb = fs::weakly_canonical(AbsolutePath(b), eb);
    if (!ea && !eb) return ca == cb;
    return AbsolutePath(a) == AbsolutePath(b);
}

bool SameFileAnyName(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    if (SamePath(a, b)) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool HasMdbSuffix(const std::string& path) {
    return path.size() >= 4 && ToLower(path.substr(path.size() - 4)) == ".mdb";
}

std::string WithDefaultSuffix(const std::string& path, const std::string& suffix) {
    std::string ext = suffix;
    if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
    const std::string name = FileNameOf(path);
    if (path.empty() || ext.empty() || name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + ext;
}

// ----------------------------------------------------------- recent files

void TidyPrevFiles(PrevFileList& prev) {
    std::vector<std::string> kept;
    for (size_t i = 1; i < prev.size(); ++i) {
        const std::string& p = prev[i];
        if (p.empty()) continue;
        if (std::any_of(kept.begin(), kept.end(), [&](const std::string& k) { return SamePath(k, p); })) continue;
        if (static_cast<int>(kept.size()) < kPrevFilesKept) kept.push_back(p);
    }
    prev = PrevFileList{};
    for (size_t i = 0; i < kept.size(); ++i) prev[i + 1] = kept[i];
}

void AddToPrevFiles(PrevFileList& prev, const std::string& path) {
    if (path.empty()) return;
    PrevFileList next{};
    next[1] = path;
    for (size_t i = 1; i + 1 < prev.size(); ++i) next[i + 1] = prev[i];  // entry 5 falls off; tidying keeps four
    prev = next;
    TidyPrevFiles(prev);
}

void MovePrevToFront(PrevFileList& prev, int index) {
    if (index < 1 || index > 5 || prev[static_cast<size_t>(index)].empty()) return;
    const std::string chosen = prev[static_cast<size_t>(index)];
    prev[static_cast<size_t>(index)].clear();
    AddToPrevFiles(prev, chosen);
}

void RemovePrevFile(PrevFileList& prev, int index) {
    if (index < 1 || index > 5) return;
    prev[static_cast<size_t>(index)].clear();
    TidyPrevFiles(prev);
}

PrevFileList StartupPrevFiles(const std::array<std::string, 4>& stored) {
    PrevFileList prev{};
    size_t n = 0;
    for (const std::string& p : stored) {
        if (p.empty() || ToLower(FileNameOf(p)) == "blankvelmora_settings.mdb" || !FileExists(p)) continue;
        prev[++n] = p;
    }
    TidyPrevFiles(prev);
    return prev;
}

std::string PrevFileCaption(int n, const std::string& path) {
    std::string caption = std::to_string(n) + " - ";
    for (char c : FileNameOf(path)) caption += c == '&' ? std::string("&&") : std::string(1, c);
    return caption;
}

// ---------------------------------------------------------------- caption

std::string VersionDashes() {
    std::string v = VersionText();
    std::replace(v.begin(), v.end(), '.', '-');
    return v;
}

std::string CalendarCaption(const std::string& calendarPath) {
    return "Velmora " + std::string(20, ' ') + " Version: " + VersionDashes() + std::string(10, ' ') +
           FileNameOf(calendarPath);
}

// --------------------------------------------------------- calendar files

std::string CalendarFileProblem(const std::string& path, int* failure) {
    if (failure) *failure = 0;
    if (!FileExists(path)) {
        const std::string why = CheckStore(path, DbKind::Calendar);  // no file, or no permission to look
        return why.empty() ? "There is no file at \"" + path + "\"." : why;
    }
    if (!HasMdbSuffix(path)) return "\"" + path + "\" does not end in \".mdb\".";
    return CheckStore(path, DbKind::Calendar, failure);
}

namespace {

// True when the file is not in write-ahead-log mode, or its log was emptied
// into the file itself.
bool WalMovedIntoFile(db::Database& source, const std::string& path) {
    auto mode = source.prepare("PRAGMA journal_mode");
    if (!mode.step() || ToLower(db::AsText(mode.column(0))) != "wal") return true;
    try {
        auto checkpoint = source.prepare("PRAGMA wal_checkpoint(TRUNCATE)");
        // busy, frames in the log, frames moved into the file
        return checkpoint.step() && db::AsInt(checkpoint.column(0)) == 0 &&
               db::AsInt(checkpoint.column(1)) == db::AsInt(checkpoint.column(2));
    } catch (const db::DbError&) {
        // A file that may only be read cannot take its log in: it is whole
        // when the log holds nothing.
        std::error_code ec;
        const auto logSize = fs::file_size(path + "-wal", ec);
        return ec || logSize == 0;
    }
}

}  // namespace

void CopyCalendarNoOverwrite(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (fs::exists(to, ec) || fs::is_symlink(to, ec)) throw OpError(kFileExists, "File already exists");
    auto source = OpenStore(from, DbKind::Calendar);
    // A file another program left in write-ahead-log mode may hold its latest
    // records in its "-wal" file only: they are moved into the file itself
    // first, or the copy would lack them.
    if (!WalMovedIntoFile(*source, from))
        throw OpError(kPathAccess, "\"" + from + "\" could not be copied whole: another program is using it. Close "
                                   "that program and try again.");
    // A read transaction keeps writers out (and rolls back a journal a crash
    // left behind) while the bytes are copied; in log mode, it keeps what
    // others commit meanwhile in the log, out of the file being copied.
    source->exec("BEGIN");
    bool copied = false;
    try {
        source->exec("SELECT count(*) FROM sqlite_master");
        copied = CopyFileNoOverwrite(from, to, true);
    } catch (...) {
        try { source->exec("ROLLBACK"); } catch (...) {}
        throw;
    }
    source->exec("COMMIT");
    if (!copied) {
        if (fs::exists(to, ec)) throw OpError(kFileExists, "File already exists");
        throw OpError(kPathAccess, "Path/File access error: cannot write \"" + to + "\"");
    }
}

bool CalendarIsOpen(const std::string& title) {
    if (!Module1.CalendarFilePath.empty() && FileExists(Module1.CalendarFilePath)) return true;
    Messages().message(kNoCalendarText, MsgButtons::Ok, MsgIcon::Exclamation, title);
    return false;
}

bool CalendarIsWritable(const std::string& title) {
    if (!CalendarIsOpen(title)) return false;
    if (!MainState.CalendarReadOnly && !db::IsReadOnlyFile(Module1.CalendarFilePath)) return true;
    ShowWriteFailure(ReadOnlyFileText(Module1.CalendarFilePath));
    return false;
}

// ----------------------------------------------------------- dialog filters

std::string DesktopDialogFilter(const std::string& filter) {
    std::vector<std::string> parts = SplitOn(filter, '|');
    for (size_t i = 1; i < parts.size(); i += 2) {
        std::vector<std::string> out;
        auto add = [&](const std::string& p) {
            if (!p.empty() && std::find(out.begin(), out.end(), p) == out.end()) out.push_back(p);
        };
        for (std::string p : SplitOn(parts[i], ';')) {
            p = Trim(p);
            if (p.size() > 1 && p.front() == '.') p = "*" + p;
            add(p);
            const std::string ext = PlainExtension(p);
            if (ext.empty()) continue;
            add("*." + ToLower(ext));
            add("*." + ToUpper(ext));
        }
        parts[i] = Join(out, ';');
    }
    return Join(parts, '|');
}

std::string DefaultSuffixOfFilter(const std::string& filter) {
    const std::vector<std::string> parts = SplitOn(filter, '|');
    if (parts.size() < 2) return {};
    std::string first = Trim(SplitOn(parts[1], ';').front());
    if (first.size() > 1 && first.front() == '.') first = "*" + first;
    const std::string ext = PlainExtension(first);
    return ext.empty() ? std::string() : "." + ToLower(ext);
}

}  // namespace vm
