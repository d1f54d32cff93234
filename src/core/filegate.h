// The one gate every path goes through before it takes a calendar file or the
// settings database into use: start-up, File > Open, a recent file, New
// Calendar and Exit. A file that is not of its kind is refused with one box
// naming it and left byte for byte as it is; a file that may only be read is
// used read-only.
#pragma once
#include <string>

namespace vm {

enum class FileUse { Usable, ReadOnly, Refused };

struct FileVerdict {
    FileUse use = FileUse::Refused;
    std::string problem;  // why it is refused, naming the file
    bool inUse = false;    // refused only because another program holds it locked just now
    bool damaged = false;  // refused as no database of its kind, or one the engine finds damaged
};

// Reads only; shows nothing. The blank templates new calendars and settings
// databases are made from are never taken as a calendar, under any name.
FileVerdict CheckCalendarFile(const std::string& path);
FileVerdict CheckSettingsFile(const std::string& path);

// Checks a calendar file and says so when it cannot be used as it is: one
// critical box titled `title` for a refused file (for a blank template, the
// one sentence that says to use New Calendar instead), one box for a
// read-only one.
FileUse AdmitCalendarFile(const std::string& path, const std::string& title);

// The settings database at start-up: a file that is not one (garbage, empty,
// another kind) is kept beside it under a new name and a fresh one is made
// from the blank template, with one box; one that may only be read is said
// so once. Returns the use of the file now there (Refused only when no fresh
// one could be made).
FileUse AdmitSettingsFile(const std::string& path);

// Where a damaged settings database is kept: "<name>.damaged.mdb", numbered
// when that exists too.
std::string DamagedFileName(const std::string& path);

}  // namespace vm
