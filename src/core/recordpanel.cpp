#include "core/recordpanel.h"

#include <cmath>

#include "core/numtext.h"
#include "core/recordstyle.h"

namespace vm {
namespace {

// Colour numbers run from 0 to 16777215 (red + 256 * green + 65536 * blue).
constexpr long kMaxColor = 16777215;
constexpr long kBlackColor = 0;
constexpr long kWhiteColor = 16777215;

// The absolute value of a number, rounded, as a colour the dialogs accept
// (anything beyond a colour number is cut to its low 24 bits).
long AbsColor(double v) {
    v = std::nearbyint(std::fabs(v));
    if (!std::isfinite(v)) return 0;
    if (v > static_cast<double>(kMaxColor)) return static_cast<long>(std::fmod(v, 16777216.0));
    return static_cast<long>(v);
}

}  // namespace

ColorPickStart StartColorPick(std::string_view boxText) {
    const double v = BoxNumber(boxText);
    return {AbsColor(v), v < 0 ? -1 : 1};
}

std::string PickedColorText(const ColorPickStart& start, long chosen) {
    return ColorBoxText(static_cast<long long>(chosen) * start.sign);
}

BoxColors ShownBoxColors(long color) {
    BoxColors c;
    c.background = AbsColor(static_cast<double>(color));
    c.text = c.background == kBlackColor ? kWhiteColor : kBlackColor;
    return c;
}

const std::array<const char*, 4>& ColorBoxPlaceholders() {
    static const std::array<const char*, 4> names = {"Text Color", "Text BG Color", "Title Text Color", "Title BG Color"};
    return names;
}

EntryPanelShown OpenEntryPanel(std::string_view dayColors) {
    EntryPanelShown out;
    if (Trim(dayColors).empty()) return out;
    const DayColorsShown shown = ShowDayColors(dayColors);
    const auto numbers = SplitDayColors(dayColors);
    for (size_t i = 0; i < 4; ++i) {
        out.boxes[i] = shown.boxes[i];
        if (i < numbers.size() && numbers[i] && *numbers[i] >= 0) out.backgrounds[i] = AbsColor(*numbers[i]);
    }
    out.dayList = shown.dayList;
    out.titleList = shown.titleList;
    return out;
}

std::string EntryPanelOk(std::array<std::string, 4>& boxes, std::string_view dayList, std::string_view titleList) {
    if (BoxNumber(boxes[0]) == 0 && BoxNumber(boxes[1]) == 0) boxes[1] = std::to_string(kWhiteColor);
    if (BoxNumber(boxes[2]) == 0 && BoxNumber(boxes[3]) == 0) boxes[3] = std::to_string(kWhiteColor);
    return ComposeDayColors(boxes, dayList, titleList);
}

FontChoice FontDialogPreset(std::string_view current, const std::string& defaultName) {
    FontChoice f;
    if (Trim(current).empty()) {
        f.name = defaultName;
        f.size = 10;
        return f;
    }
    const FontSpec spec = ParseFontString(current);
    if (spec.name) f.name = *spec.name;
    if (spec.size) f.size = *spec.size;
    if (spec.bold) f.bold = *spec.bold;
    if (spec.italic) f.italic = *spec.italic;
    return f;
}

std::optional<std::string> FontChoiceText(const FontChoice& choice) {
    if (choice.name.empty() || choice.size == 0) return std::nullopt;
    return ComposeFontString(choice.name, choice.size, choice.bold, choice.italic);
}

}  // namespace vm
