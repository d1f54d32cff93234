// What the calendar file commands of the File menu decide without a window:
// the recent-files list, the main window's caption, the test that a chosen
// file is a calendar file of this program, the safe copy of a calendar file
// and the file-dialog filters.
#pragma once
#include <array>
#include <string>

namespace vm {

// The recent calendar files and the start folders of the three calendar file
// dialogs, kept for the run. PrevFiles(1..4) is the list the File menu shows
// and [Settings].Prev1..Prev4 store; 0 and 5 stay empty.
struct CalendarFileState {
    std::array<std::string, 6> PrevFiles{};
    std::string OpenDialogFolder;    // File > Open
    std::string SaveAsDialogFolder;  // File > Save As
    std::string NewDialogFolder;     // File > New Calendar
    std::string pOpenExistFile;      // what the Open dialog last returned
};

inline CalendarFileState CalendarFiles;
inline void ResetCalendarFiles() { CalendarFiles = CalendarFileState{}; }

using PrevFileList = std::array<std::string, 6>;
constexpr int kPrevFilesKept = 4;

// ---- paths
// Absolute and lexically normal (no "." or ".." parts); "" stays "".
std::string AbsolutePath(const std::string& path);
// True when both texts name the same file: compared after resolving links
// and relative parts (the file need not exist).
bool SamePath(const std::string& a, const std::string& b);
// True when both texts name one file: the same path (as SamePath), or one
// file under two names (a hard link). Empty texts name no file.
bool SameFileAnyName(const std::string& a, const std::string& b);
std::string FileNameOf(const std::string& path);  // without its folder
std::string FolderOf(const std::string& path);    // without the file name and the final "/"
bool HasMdbSuffix(const std::string& path);       // ".mdb" in any case
// path + "." + suffix when the file name has no extension.
std::string WithDefaultSuffix(const std::string& path, const std::string& suffix);

// ---- recent files: move-to-front, at most four entries, no gaps, no duplicates
// Drops empty entries and later duplicates, keeps at most four, empties 0 and 5.
void TidyPrevFiles(PrevFileList& prev);
// Puts path at the head (an entry naming the same file moves there).
void AddToPrevFiles(PrevFileList& prev, const std::string& path);
// Moves entry index (1..5) to the head.
void MovePrevToFront(PrevFileList& prev, int index);
// Removes entry index (1..5); the entries after it move up.
void RemovePrevFile(PrevFileList& prev, int index);
// The list start-up builds from [Settings].Prev1..Prev4: entries that are
// empty, name the blank settings template, name no file, or name a file
// already listed are passed over.
PrevFileList StartupPrevFiles(const std::array<std::string, 4>& stored);
// Menu caption of entry n: "n - name", each "&" of the name doubled so that
// the menu shows it rather than underlining the next letter.
std::string PrevFileCaption(int n, const std::string& path);

// ---- the main window's caption
// "1-0-0": the program's version numbers joined by "-".
std::string VersionDashes();
// "Velmora " + 20 blanks + " Version: " + version + 10 blanks + file name.
std::string CalendarCaption(const std::string& calendarPath);

// ---- calendar files
// "" when path is an existing file ending in ".mdb" (any case) that is a
// calendar file of this program; otherwise why not. Reads only.
std::string CalendarFileProblem(const std::string& path, int* failure = nullptr);
// Copies the calendar file `from` to `to` as it stands with everything
// committed so far; holds a read lock meanwhile so no write lands half-way.
// All or nothing (CopyFileNoOverwrite): whatever stops it, `to` is either
// missing or the whole copy. Throws OpError 58 when something exists at `to`,
// and another error when the copy fails (nothing is left at `to` then).
void CopyCalendarNoOverwrite(const std::string& from, const std::string& to);

// What every command that needs the calendar says when none is open.
inline constexpr const char* kNoCalendarText =
    "No calendar file is open.\r\nUse File, Open to open a calendar file, or File, New Calendar to make a new one.";
// True when the calendar file in use exists; otherwise shows kNoCalendarText
// in a box titled `title` and gives false (nothing is changed).
bool CalendarIsOpen(const std::string& title);
// The one check of every command that writes into the calendar in use, made
// before anything is tried: CalendarIsOpen, and when the calendar may only be
// read, the plain box of a file that cannot be written and false.
bool CalendarIsWritable(const std::string& title);

// ---- file-dialog filters ("Desc|pattern|Desc|pattern")
// Patterns as the desktop's dialog needs them: ".mdb" becomes "*.mdb", and
// "*.ext" also lists its upper- and lower-case forms (file names are
// case-sensitive here, the calendar's ".mdb" test is not).
std::string DesktopDialogFilter(const std::string& filter);
// ".ext" of the filter's first pattern when it names one extension, else "".
std::string DefaultSuffixOfFilter(const std::string& filter);

}  // namespace vm
