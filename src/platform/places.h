// The fixed places of the program on this desktop: the user's data folder and
// the program's own folder.
#pragma once
#include <string>

namespace vm {

// $VELMORA_DATA_DIR when set, otherwise the user's documents folder + "/Velmora".
std::string DataFolder();
// $VELMORA_PROGRAM_DIR when set, otherwise the folder of the running executable.
std::string ProgramFolder();
// a + "/" + b, without doubling the separator.
std::string JoinPath(const std::string& a, const std::string& b);
bool FileExists(const std::string& path);
// True when the system refuses to say whether a file is at path (a folder on
// the way may not be read).
bool PathDenied(const std::string& path);
// Copies from -> to unless something exists at `to`; false when nothing was copied.
bool CopyFileNoOverwrite(const std::string& from, const std::string& to);
bool MakeFolder(const std::string& path);

}  // namespace vm
