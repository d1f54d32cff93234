// Opening a document or a web address with the program the desktop
// associates with it. Text is never run as a command line: it becomes a URL
// (a local file or a web address) handed to the desktop's default handler,
// which sits behind an interface so tests can replace it.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace vm {

class IDesktopOpener {
public:
    virtual ~IDesktopOpener() = default;
    // Asks the desktop's default handler to open url ("file:///...",
    // "https://..."); false when it cannot. A handler that fails only after
    // this returned (the program it starts cannot open the url) calls
    // failedLater then, on the user-interface thread.
    virtual bool open(const std::string& url, std::function<void()> failedLater = {}) = 0;
};

// The process-wide opener; a recording fake until the program installs the real one.
IDesktopOpener& DesktopOpener();
void SetDesktopOpener(IDesktopOpener* impl);  // nullptr restores the built-in fake

// Records every URL and answers `succeed`; a test calls failLater() to fail
// the last one after it was answered.
class FakeDesktopOpener : public IDesktopOpener {
public:
    bool open(const std::string& url, std::function<void()> failedLater = {}) override {
        opened.push_back(url);
        lastFailedLater = std::move(failedLater);
        return succeed;
    }
    void failLater() {
        if (lastFailedLater) lastFailedLater();
    }
    std::vector<std::string> opened;
    bool succeed = true;
    std::function<void()> lastFailedLater;
};

// ShellOpenFile's results: above 32 is success, as callers expect.
constexpr int kShellOpened = 42;
constexpr int kShellNoFile = 0;     // no file there (callers report "not found")
constexpr int kShellCannotOpen = 31;  // the desktop has no program for it, or it is not a document

// The parts of a shell text: the file (or address), its parameters and the
// working folder.
struct ShellText {
    std::string file, parameters, folder;
};
// Splits text: a leading double-quoted name is the file (the text loses both
// quotes); otherwise the file ends before the first blank after the first
// "." (a text that names an existing file as a whole is all file). The
// working folder is workFolder, else the file's own folder, else "".
ShellText SplitShellText(std::string& text, const std::string& workFolder = "");
// The URL the desktop is asked to open for a split text, or "" when it is
// neither an existing document (a regular file that is not an executable
// binary or script) nor an http, https, ftp or mailto address
// ("www." addresses get "https://").
std::string DesktopUrlFor(const ShellText& parts);
// True when the file part is an address rather than a local path.
bool LooksLikeAddress(const std::string& file);

// Opens file with its associated program. Parameters cannot be passed to the
// desktop's handler and are ignored; so is showMode (the desktop decides how
// the program shows). A quoted file text is rewritten without its quotes.
// A handler that fails after the answer calls failedLater (see IDesktopOpener).
int ShellOpenFile(std::string& file, int showMode, const std::string& workFolder = "",
                  std::function<void()> failedLater = {});

// Opens a web address in the browser; when that fails, at once or later,
// tells the user the address in the box titled "Internet Browser Problem".
// Never stops the caller.
void OpenWebPage(const std::string& address);

}  // namespace vm
