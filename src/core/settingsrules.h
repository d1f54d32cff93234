// The plain rules of the settings panel: colour box texts, font captions, the
// calendar style names, the start year, sound numbers and month copying.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/currency.h"

namespace vm {

inline constexpr int32_t kMaxColor = 16777215;  // white

// A colour typed into a box (Enter or leaving it): the leading-number reading,
// rounded halves to even; nothing when it is no colour number (0..16777215).
std::optional<int32_t> TypedColor(std::string_view text);

// A box's whole text as a number: blanks around it allowed, "&H"/"&O" forms,
// a fraction rounded halves to even; nothing when any other character is there.
std::optional<int64_t> WholeNumberText(std::string_view text);
// What storing a box takes: its whole text as a colour number; nothing when
// it is no number or out of range.
std::optional<int32_t> StoredColor(std::string_view text);

// Only 0..16777215 can be shown as a box's colour.
bool IsColorNumber(int64_t value);

// "Arial, 10.5, True, False, False, False": name, size without trailing
// zeros, bold, italic, underline, strikethrough.
std::string FontCaption(const std::string& name, Currency size, bool bold, bool italic, bool underline,
                        bool strikethrough);
// A font size as a caption writes it: "11", "10.5", "8.25".
std::string SizeText(Currency size);

// The calendar style lists: 1 "Mixed Transparent/Opaque", 2 "All Days
// Transparent", 3 "All Days Opaque".
inline constexpr const char* kCalStyleNames[] = {"Mixed Transparent/Opaque", "All Days Transparent",
                                                  "All Days Opaque"};
int CalendarStyleFromText(std::string_view text);  // any other text gives 1
// The list text of a style, or nothing for a value other than 1..3.
std::optional<std::string> CalendarStyleText(int style);

// A start year of the repeat expansion: four digits from 1000 to 9999, blanks
// around them allowed. The year's digits, or nothing.
std::optional<std::string> ValidStartYear(std::string_view text);

// The sound number in the number list's text: read and rounded (no number
// gives 0).
int64_t SoundNumber(std::string_view text);
// The folder part of a path up to and including the last "/"; "" when none.
std::string FolderPart(const std::string& path);

// Copying one month's colours and fonts: the source month and the target
// months for the two list texts (case is ignored, "All" gives every month).
struct MonthCopy {
    int from = 0;              // 1..12, 0 when the text names no month
    std::vector<int> targets;  // months to write, never `from` itself
    bool toNamesMonth = false;  // the "to" text is "All" or a month
};
MonthCopy PlanMonthCopy(std::string_view fromText, std::string_view toText);

}  // namespace vm
