// The fixed places of the program on this desktop: the user's data folder and
// the program's own folder.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vm {

// $VELMORA_DATA_DIR when set, otherwise the user's documents folder + "/Velmora".
std::string DataFolder();
// Why the program cannot start with its data folder, "" when it can: a name
// that is not UTF-8 text, which the names of its calendar files, pictures and
// sounds must be to reach the dialogs, the picture boxes and the player. The
// text names the folder (each byte that is no UTF-8 as U+FFFD).
std::string DataFolderProblem();
// $VELMORA_PROGRAM_DIR when set, otherwise the folder of the running executable.
std::string ProgramFolder();
// a + "/" + b, without doubling the separator.
std::string JoinPath(const std::string& a, const std::string& b);
bool FileExists(const std::string& path);
// What stands at `path` when something does and it is no regular file (links
// followed): "a folder", "a named pipe", "a device", "a socket" or "a special
// file"; "" when nothing is there or a regular file is. Looked at without
// opening it: opening a named pipe waits for the other end.
std::string NotAFileAt(const std::string& path);
// The first bytes of the regular file at `path`, at most `most` of them; ""
// when there is no regular file (a named pipe is never opened).
std::string FileHead(const std::string& path, size_t most);
// True when the system refuses to say whether a file is at path (a folder on
// the way may not be read).
bool PathDenied(const std::string& path);
// Copies from -> to unless something exists at `to`; false when nothing was
// copied. All or nothing: the bytes go to a hidden temporary file in `to`'s
// folder, which takes the name `to` only once it is whole (and never over a
// file that appeared meanwhile), so a copy stopped at any point, the process
// killed included, leaves either no file at `to` or the whole one. With
// `sync` the copy is also on the disk before it takes the name, and the name
// once it has it (for the calendar files). A copy begins by removing what
// copies to the same name stopped midway left: the user's own regular files
// of exactly that temporary name that no running copy holds locked.
bool CopyFileNoOverwrite(const std::string& from, const std::string& to, bool sync = false);
// Removes what copies of databases (".mdb" files: Save As, New Calendar, the
// settings put in place) into `folder` left when stopped midway, whatever
// their names: files that can be as large as a calendar and that no later
// copy to another name would ever remove. Copies running meanwhile keep theirs.
void RemoveLeftoverDatabaseCopies(const std::string& folder);
// Called after each piece a copy writes, with the bytes written so far, so a
// test can stop a copy midway; an empty function for none.
void SetCopyPieceHook(std::function<void(std::uintmax_t)> hook);
bool MakeFolder(const std::string& path);

// Makes the folder `to` holding copies of the regular files `names` found in
// the folder `from` (every regular file there when `names` is empty), unless
// something exists at `to`. All or nothing, as a file's copy: the files go
// into a hidden temporary folder beside `to` ("." + its name + ".velmora-part-XXXXXX"),
// which takes the name `to` only once every file is in it, so a copy stopped
// at any point leaves either no folder at `to` or the whole one; what such a
// stopped copy left is removed by the next call. A folder already at `to` is
// left as its owner keeps it, save one that holds what a copy of one of the
// files into it left when stopped midway (as a copy file by file into it
// leaves): that copy is finished, each file missing copied whole and the
// leftovers removed. Returns the number of files copied.
int CopyFolderNoOverwrite(const std::string& from, const std::string& to, std::vector<std::string> names = {});
// Copies the files `names` of the folder `from` into the folder `to`, one by
// one as CopyFileNoOverwrite, leaving any already there. Returns how many.
int CopyFilesNoOverwrite(const std::string& from, const std::string& to, const std::vector<std::string>& names);

// A file written whole or not at all, replacing what had its name: the bytes
// go to a hidden temporary file in the same folder (named as a copy's, above),
// which takes the name only at commit(), once every byte is on the disk. A
// writer dropped before commit(), or whose writing failed, removes its
// temporary and leaves the old file as it was. A link at the name keeps its
// place: the file it leads to is the one replaced. The new file keeps the old
// one's permissions. Something there that is no regular file (a folder, a
// pipe, a device) is never replaced: the writer does not open.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const std::string& path);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;
    // False when the temporary file could not be made.
    bool isOpen() const { return fd_ >= 0; }
    // Why it is not open, as the end of a sentence ("it may only be read").
    const std::string& whyNotOpen() const { return whyNot_; }
    // False once anything could not be written (a full disk).
    bool write(std::string_view bytes);
    // Puts the whole file in place; false (nothing replaced) when any write,
    // the sync or the renaming failed.
    bool commit();

private:
    bool flush();
    std::string target_, tmp_, whyNot_;
    std::string pending_;
    int fd_ = -1;
    bool failed_ = false;
};

}  // namespace vm
