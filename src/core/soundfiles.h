// The program's wave files in the user's data folder.
#pragma once
#include <string>

namespace vm {

// The folder of the shipped sounds: program folder + "/Sounds".
std::string ProgramSoundFolder();
// The user's sound folder: data folder + "/Sounds", where the stored sound
// names ("Sounds/Alarm01.wav") point.
std::string DataSoundFolder();

// Gives the data folder its copy of the shipped sounds when it has no Sounds
// folder yet (first start). The folder appears only whole: a first start cut
// short leaves none, and the next start makes it. A folder the user already
// has is left alone (save for finishing a copy into it that was cut short).
// Returns the number of files copied.
int EnsureSoundFolder();

}  // namespace vm
