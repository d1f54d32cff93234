#include "core/soundfiles.h"

#include "platform/places.h"

namespace vm {

std::string ProgramSoundFolder() { return JoinPath(ProgramFolder(), "Sounds"); }
std::string DataSoundFolder() { return JoinPath(DataFolder(), "Sounds"); }

int EnsureSoundFolder() { return CopyFolderNoOverwrite(ProgramSoundFolder(), DataSoundFolder()); }

}  // namespace vm
