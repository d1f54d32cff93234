// The splash window's rules that need no window: the month's picture and text
// colour from SplashTextColor.txt, the tick counter and its progress bar, and
// the placement that brings a window lost off the screens back.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QRect>

namespace vm {

// Colour number (red + 256*green + 65536*blue) of splash text digit 1..8:
// black, red, green, yellow, blue, magenta, cyan, white.
int32_t SplashColorOfDigit(int digit);
// "Jan.jpg" .. "Dec.jpg" for months 1..12.
std::string SplashPictureName(int month);

// Appends the month's picture name to folder (a "/" is put between when the
// folder lacks one) and sets colour from the month's digit in the first line
// of folder/SplashTextColor.txt (only its head is read, whatever its size):
// a missing file, a short line or a character that is not a digit give black; digit 9 leaves colour as it was. month 0
// means the current month of the system clock.
void GetSplashPicture(std::string& folder, int32_t& colour, int month = 0);

// The tick counter after one more tick of the splash timer: 0 counts as 1,
// then one is added, up to 32767.
int16_t NextSplashTick(int16_t ticks);

// The progress bar as the splash timer leaves it after the tick that brought
// the counter to `ticks`. Values are applied in the order minimum, maximum,
// value; one that the bar refuses (a minimum above the current maximum, a
// value outside the range) is skipped and the others still apply.
struct SplashBar {
    int minimum = 0, maximum = 100, value = 0;
    bool operator==(const SplashBar&) const = default;
};
SplashBar SplashBarAfterTick(SplashBar bar, int ticks);

// Where a window with frame `window` goes when it must be brought back: it
// stays where it is when a strip of its title bar lies on one of the screens'
// available areas; otherwise it is centred on the first screen, shrunk to fit.
QRect BringBackRect(const QRect& window, const std::vector<QRect>& screens);

// A stored length or place of the window (twips) that it can take: none when
// it lies below `least` (a size of nothing, or less than a window can show);
// `most` when it lies above.
std::optional<double> UsableTwips(std::optional<double> stored, double least, double most);

}  // namespace vm
