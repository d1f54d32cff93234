// A record's own look: the DayColors text (six ";" fields: text colour, text
// background, title colour, title background, day style, title style) and the
// Font text ("Name, 10.5,True,False"). Plain text logic shared by the month
// grid, the colour panels and the week view.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vm {

// The number in a box: Val's reading (blanks ignored, "&H" hex, else 0).
double BoxNumber(std::string_view text);

// A truth value as stored: "True"/"False" (any case), or a number (0 false).
// Unreadable text gives nullopt.
std::optional<bool> ReadTruth(std::string_view text);

// ---- DayColors ----
inline constexpr int kStyleTransparent = 2;
inline constexpr int kStyleOpaque = 3;

// The fields of a DayColors text, each a number or missing when the field is
// absent, empty or not a number. An empty text has no fields.
std::vector<std::optional<double>> SplitDayColors(std::string_view text);

// The refusal of the first colour box whose number no colour can be (it
// does not fit 32 bits, as a 21-digit number), or "" when all may be stored.
std::string DayColorsRefusal(const std::array<std::string, 4>& boxes);

// Composes from the four colour boxes and the two style list texts:
// "255;16777215;-65280;0;2;3".
std::string ComposeDayColors(const std::array<std::string, 4>& boxes, std::string_view dayList,
                             std::string_view titleList);

// What a panel shows for a stored DayColors: the four box texts as stored and
// the two list texts by the style table; missing or unusable fields are empty
// optionals (the panel keeps what it had).
struct DayColorsShown {
    std::array<std::optional<std::string>, 4> boxes;
    std::optional<std::string> dayList, titleList;
};
DayColorsShown ShowDayColors(std::string_view text);

inline constexpr const char* kDayTransparent = "Day is Transparent";
inline constexpr const char* kDayOpaque = "Day is Opaque";
inline constexpr const char* kTitleTransparent = "Title is Transparent";
inline constexpr const char* kTitleOpaque = "Title is Opaque";

// A colour number as a box shows it after a pick: " 65280" or "-65280".
std::string ColorBoxText(long long value);

// ---- Font ----
struct FontSpec {
    std::optional<std::string> name;
    std::optional<double> size;
    std::optional<bool> bold, italic;
};
// Reads "Arial, 12,True,False"; missing or unreadable fields stay empty.
FontSpec ParseFontString(std::string_view text);
// Writes "Arial, 12,True,False" (the size with a leading blank, a fraction
// only when it has one).
std::string ComposeFontString(const std::string& name, double size, bool bold, bool italic);

}  // namespace vm
