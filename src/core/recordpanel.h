// What the record colour panels and the font choice do with their texts: the
// colour pick that keeps a forcing sign, the colours a box shows, the entry
// panel's opening and OK, and the font dialog's preset and result. Shared by
// the entry window, the date grid's panel and the week view; no window here.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/pickers.h"

namespace vm {

// Picking a colour by double-clicking a box: the dialog starts on the box's
// colour (absolute value, rounded); the chosen colour takes the box's sign, so
// a forced colour stays forced (black cannot carry the mark).
struct ColorPickStart {
    long color = 0;
    int sign = 1;
};
ColorPickStart StartColorPick(std::string_view boxText);
// The box text after a pick: " 65280" or "-65280".
std::string PickedColorText(const ColorPickStart& start, long chosen);

// The colours a box shows for a colour number: the background is the colour
// (its absolute value), the text black, or white on a black background.
struct BoxColors {
    long background = 0;
    long text = 0;
};
BoxColors ShownBoxColors(long color);

// The placeholder names of the four colour boxes.
const std::array<const char*, 4>& ColorBoxPlaceholders();

// Opening the entry window's panel on a DayColors text: each present field
// fills its box (and sets its background when it is a colour number that is
// not negative); a present style from 0 to 3 sets its list. Anything absent
// leaves the box or list as it was. A blank text changes nothing.
struct EntryPanelShown {
    std::array<std::optional<std::string>, 4> boxes;
    std::array<std::optional<long>, 4> backgrounds;
    std::optional<std::string> dayList, titleList;
};
EntryPanelShown OpenEntryPanel(std::string_view dayColors);

// The entry panel's OK: black text on a black background becomes black on
// white (box 1 and box 3 are rewritten "16777215"), then the DayColors text is
// composed from the boxes and lists.
std::string EntryPanelOk(std::array<std::string, 4>& boxes, std::string_view dayList, std::string_view titleList);

// ---- the font choice ----
inline constexpr const char* kFontChoiceError = "Font Name and Font Size Must Be Selected.";
inline constexpr const char* kFontChoiceErrorTitle = "Font Selection Err";
// What the font dialog starts on: the window's default font at 10 points when
// there is no current Font text, else the text's fields (missing ones left at
// the dialog's own).
FontChoice FontDialogPreset(std::string_view current, const std::string& defaultName);
// The Font text of a choice, or nullopt when the name is empty or the size 0.
std::optional<std::string> FontChoiceText(const FontChoice& choice);

}  // namespace vm
