// The one way the program plays a wave file.
#pragma once
#include <string>

namespace vm {

// Stops any sound, then plays the file and returns at once. A name that finds
// no file (the empty name included), or a file that is no playable wave file,
// gives the beep instead, and the silence stays. Relative names are taken
// from the data folder, as the settings store them. Never throws.
void PlayWaveFile(const std::string& FileName);

}  // namespace vm
