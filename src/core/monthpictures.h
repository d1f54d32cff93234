// The month pictures the program ships (Jan.jpg .. Dec.jpg in the program
// folder's Graphics/Months) and their copy in the data folder, where the
// calendar's [Backgrounds] rows name them ("Graphics/Months/Jan.jpg").
#pragma once
#include <string>

namespace vm {

// "Graphics/Months", relative to the program folder and to the data folder.
inline constexpr const char* kMonthPictureFolder = "Graphics/Months";

// "Jan.jpg" .. "Dec.jpg" for months 1..12; "" outside.
std::string MonthPictureName(int month);

// Copies the shipped pictures into the data folder's Graphics/Months when
// that folder holds no picture yet (never overwriting). A missing folder
// appears only whole, as the Sounds folder does (EnsureSoundFolder): a first
// start cut short leaves none or finishes at the next start, and pictures the
// user removed from a whole folder stay removed. Returns the number of
// pictures copied.
int EnsureMonthPictures();

}  // namespace vm
