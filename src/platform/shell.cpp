#include "platform/shell.h"

#include <QString>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "platform/asciicase.h"
#include "platform/messages.h"
#include "platform/places.h"

namespace fs = std::filesystem;

namespace vm {
namespace {

IDesktopOpener* g_opener = nullptr;
FakeDesktopOpener& BuiltIn() {
    static FakeDesktopOpener fake;
    return fake;
}

std::string TrimLeft(const std::string& s) {
    const size_t at = s.find_first_not_of(' ');
    return at == std::string::npos ? std::string() : s.substr(at);
}

std::string LowerScheme(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    std::string scheme = text.substr(0, colon);
    for (char c : scheme)
        if (!IsAsciiAlnum(c) && c != '+' && c != '-' && c != '.') return {};
    for (char& c : scheme) c = AsciiLower(c);
    return scheme;
}

// A program rather than a document: executable, and a binary or a script.
// Such a file is never handed to the desktop, which might start it.
bool IsProgramFile(const fs::path& p) {
    std::error_code ec;
    const auto perms = fs::status(p, ec).permissions();
    if (ec || (perms & (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec)) == fs::perms::none)
        return false;
    std::ifstream in(p, std::ios::binary);
    char head[4] = {};
    in.read(head, sizeof head);
    return (in.gcount() >= 4 && head[0] == 0x7f && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') ||
           (in.gcount() >= 2 && head[0] == '#' && head[1] == '!');
}

}  // namespace

IDesktopOpener& DesktopOpener() { return g_opener ? *g_opener : BuiltIn(); }
void SetDesktopOpener(IDesktopOpener* impl) { g_opener = impl; }

bool LooksLikeAddress(const std::string& file) {
    return !LowerScheme(file).empty() || StartsWithNoCase(file, "www.");
}

ShellText SplitShellText(std::string& text, const std::string& workFolder) {
    ShellText out;
    size_t fileEnd = text.size();  // where the file part ends in the (rewritten) text
    if (!text.empty() && text.front() == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string::npos) {
            text.erase(0, 1);
            fileEnd = text.size();
        } else {
            text.erase(close, 1);
            text.erase(0, 1);
            fileEnd = close - 1;
        }
    } else if (!FileExists(text)) {
        const size_t dot = text.find('.');
        if (dot != std::string::npos) {
            const size_t blank = text.find(' ', dot);
            if (blank != std::string::npos) fileEnd = blank;
        }
    }
    out.file = text.substr(0, fileEnd);
    out.parameters = TrimLeft(text.substr(fileEnd));
    if (!workFolder.empty()) {
        out.folder = workFolder;
    } else if (!LooksLikeAddress(out.file)) {
        const size_t slash = out.file.find_last_of('/');
        if (slash != std::string::npos) out.folder = slash == 0 ? "/" : out.file.substr(0, slash);
    }
    return out;
}

namespace {
// The local file a split text names, made absolute against its folder.
std::string AbsoluteIn(const ShellText& parts) {
    std::error_code ec;
    fs::path p = parts.file;
    if (p.is_relative()) p = (parts.folder.empty() ? fs::current_path(ec) : fs::path(parts.folder)) / p;
    return p.lexically_normal().string();
}
}  // namespace

std::string DesktopUrlFor(const ShellText& parts) {
    const std::string& f = parts.file;
    if (f.empty()) return {};
    if (LooksLikeAddress(f)) {
        std::string address = f;
        if (StartsWithNoCase(address, "www.")) address = "https://" + address;
        const std::string scheme = LowerScheme(address);
        QUrl url(QString::fromStdString(address), QUrl::StrictMode);
        if (!url.isValid()) return {};
        if (scheme == "file") {
            ShellText local{url.toLocalFile().toStdString(), {}, {}};
            return local.file.empty() || LooksLikeAddress(local.file) ? std::string() : DesktopUrlFor(local);
        }
        if (scheme != "http" && scheme != "https" && scheme != "ftp" && scheme != "mailto") return {};
        if ((scheme != "mailto") && url.host().isEmpty()) return {};
        return url.toString(QUrl::FullyEncoded).toStdString();
    }
    std::error_code ec;
    const fs::path p = AbsoluteIn(parts);
    if (!fs::is_regular_file(p, ec) || IsProgramFile(p)) return {};
    return QUrl::fromLocalFile(QString::fromStdString(p.string())).toString(QUrl::FullyEncoded).toStdString();
}

int ShellOpenFile(std::string& file, int /*showMode*/, const std::string& workFolder,
                  std::function<void()> failedLater) {
    const ShellText parts = SplitShellText(file, workFolder);
    const std::string url = DesktopUrlFor(parts);
    if (url.empty()) {
        if (LooksLikeAddress(parts.file)) return kShellCannotOpen;
        return FileExists(AbsoluteIn(parts)) ? kShellCannotOpen : kShellNoFile;
    }
    return DesktopOpener().open(url, std::move(failedLater)) ? kShellOpened : kShellCannotOpen;
}

void OpenWebPage(const std::string& address) {
    const auto sayCannot = [address] {
        InfoBox("Web page cannot be opened automatically.\nOpen your web browser and use the address:  " + address +
                    "  to see the webpage.",
                "Internet Browser Problem");
    };
    int result = 0;
    try {
        std::string a = address;
        result = ShellOpenFile(a, 4, "", sayCannot);
    } catch (...) {
        result = 0;
    }
    if (result <= 32) sayCannot();
}

}  // namespace vm
