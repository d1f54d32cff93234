#include "core/recordstyle.h"

#include <cctype>
#include <cmath>

#include "core/numtext.h"

namespace vm {
namespace {

std::vector<std::string_view> Split(std::string_view text, char sep) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (true) {
        const size_t at = text.find(sep, start);
        if (at == std::string_view::npos) {
            out.push_back(text.substr(start));
            return out;
        }
        out.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

std::string ShortNumber(double v) {
    if (std::floor(v) == v && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
    return NumberText(v, 10);
}

}  // namespace

double BoxNumber(std::string_view text) { return Val(text); }

std::string DayColorsRefusal(const std::array<std::string, 4>& boxes) {
    for (const std::string& box : boxes) {
        const double v = BoxNumber(box);
        if (std::isfinite(v) && std::fabs(v) <= 2147483647.0) continue;
        return "\"" + Trim(box) + "\" is no colour: a colour is a number from 0 to 16777215 (negative to force it).";
    }
    return "";
}

std::optional<bool> ReadTruth(std::string_view text) {
    const std::string t = ToLower(Trim(text));
    if (t == "true") return true;
    if (t == "false") return false;
    if (auto n = PlainNumber(t)) return *n != 0.0;
    return std::nullopt;
}

std::vector<std::optional<double>> SplitDayColors(std::string_view text) {
    std::vector<std::optional<double>> out;
    const std::string t = Trim(text);
    if (t.empty()) return out;
    for (auto part : Split(t, ';')) out.push_back(PlainNumber(part));
    return out;
}

std::string ComposeDayColors(const std::array<std::string, 4>& boxes, std::string_view dayList,
                             std::string_view titleList) {
    std::string out;
    for (const auto& box : boxes) out += ShortNumber(BoxNumber(box)) + ";";
    out += std::to_string(dayList == kDayTransparent ? kStyleTransparent : kStyleOpaque);
    out += ";";
    out += std::to_string(titleList == kTitleTransparent ? kStyleTransparent : kStyleOpaque);
    return out;
}

DayColorsShown ShowDayColors(std::string_view text) {
    DayColorsShown shown;
    const auto parts = Split(text, ';');
    for (size_t i = 0; i < 4 && i < parts.size(); ++i)
        if (!text.empty()) shown.boxes[i] = std::string(parts[i]);
    auto style = [&](size_t i, const char* transparent, const char* opaque) -> std::optional<std::string> {
        if (i >= parts.size()) return std::nullopt;
        const auto n = PlainNumber(parts[i]);
        if (!n || *n != std::floor(*n)) return std::nullopt;
        switch (static_cast<int>(*n)) {
            case 0: return std::string(" ");
            case 1: return std::string(opaque);
            case 2: return std::string(transparent);
            case 3: return std::string(opaque);
            default: return std::nullopt;
        }
    };
    shown.dayList = style(4, kDayTransparent, kDayOpaque);
    shown.titleList = style(5, kTitleTransparent, kTitleOpaque);
    return shown;
}

std::string ColorBoxText(long long value) { return value >= 0 ? " " + std::to_string(value) : std::to_string(value); }

FontSpec ParseFontString(std::string_view text) {
    FontSpec f;
    if (Trim(text).empty()) return f;
    const auto parts = Split(text, ',');
    if (!parts.empty() && !parts[0].empty()) f.name = std::string(parts[0]);
    if (parts.size() > 1) f.size = PlainNumber(parts[1]);
    if (parts.size() > 2) f.bold = ReadTruth(parts[2]);
    if (parts.size() > 3) f.italic = ReadTruth(parts[3]);
    return f;
}

std::string ComposeFontString(const std::string& name, double size, bool bold, bool italic) {
    return name + ", " + ShortNumber(size) + "," + (bold ? "True" : "False") + "," + (italic ? "True" : "False");
}

}  // namespace vm
