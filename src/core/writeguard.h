// The one check every command that writes a file the user names (an export,
// a contact list, a printout to PDF) makes first: it never writes over the
// calendar file in use, the settings database, or another file the program
// has in use (the default calendar, the blank templates, the manual, the
// print set-up, the program itself, the pictures and sounds, the databases'
// journals), nor any file under the program's own folder. Links are followed
// and hard links recognised, so no other name for such a file gets through.
// A printout checks the file its printer is aimed at right before it paints
// (MayPrintTo, exchange/printgrid.h), whoever named it last.
#pragma once
#include <string>

namespace vm {

// Why `path` may not be written, naming the file, or "" when it may. Besides
// the files above, anything there that is no regular file (a folder, a named
// pipe, a device, a socket) is refused before it is opened.
std::string WriteOverProblem(const std::string& path);

// True when `path` may be written; otherwise one box titled `title` says why
// and the caller writes nothing.
bool MayWriteFile(const std::string& path, const std::string& title);

// Why `path` may not be read as a file the user chose, naming it, or "" when
// it may: something there that is no regular file is refused before it is
// opened (a named pipe would wait for a writer, a device never end).
std::string ReadFromProblem(const std::string& path);
// True when `path` may be read; otherwise one box titled `title` says why.
bool MayReadFile(const std::string& path, const std::string& title);

}  // namespace vm
