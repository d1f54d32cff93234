#include "core/monthcells.h"

#include <cmath>
#include <cstdlib>

#include "core/numtext.h"
#include "core/recordstyle.h"

namespace vm {
namespace {

bool InCells(int i) { return i >= 0 && i < kCellCount; }

// A day number as a strip shows it: "5 ".
std::string DayNumber(int day) {
    std::string t = std::to_string(day);
    t += ' ';
    return t;
}

// A font size a label takes.
bool UsableSize(double size) { return size > 0 && size <= 2048; }

// A colour part of a DayColors text: its absolute value, rounded, when that
// is a colour number.
std::optional<int32_t> ColourPart(const std::optional<double>& part) {
    if (!part) return std::nullopt;
    const double v = std::fabs(*part);
    if (!(v < 16777215.5)) return std::nullopt;
    return static_cast<int32_t>(RoundHalfEven(v));
}

// A style part: 2 is transparent, any other number opaque.
std::optional<bool> OpaquePart(const std::optional<double>& part) {
    if (!part || std::fabs(*part) > 1e9) return std::nullopt;
    return RoundHalfEven(*part) != kStyleTransparent;
}

}  // namespace

int YearFromBox(std::string_view yearText, int currentYear) {
    const double v = Val(yearText);
    if (!(v >= 0.5 && v < 9999.5)) return currentYear;
    return static_cast<int>(RoundHalfEven(v));
}

std::optional<MonthFrame> MakeMonthFrame(int month, std::string_view yearText, const CivilDate& today) {
    if (month < 1 || month > 12) return std::nullopt;
    MonthFrame f;
    f.year = YearFromBox(yearText, today.y);
    f.month = month;
    f.daysInMonth = DaysInMonth(f.year, month);
    f.daysInPreviousMonth = month == 1 ? 31 : DaysInMonth(f.year, month - 1);
    const CivilDate first{f.year, month, 1};
    f.firstCell = Weekday(first);
    f.firstKey = Date2Julian(first);
    if (today.y == f.year && today.m == month) f.todayCell = f.firstCell + today.d - 1;
    return f;
}

void ShowCells(CellLooks& cells, bool shown) {
    for (int i = 0; i < kCellCount; ++i) cells.title[i].visible = cells.day[i].visible = shown;
}

void NumberCells(CellLooks& cells, const MonthFrame& frame, std::string_view monthText, std::string_view yearText,
                 std::array<int32_t, kCellCount>& cellJulDate, CellColorState& state) {
    for (int i = 0; i < kCellCount; ++i) {
        cells.title[i].caption.clear();
        cells.title[i].tooltip.clear();
        cells.day[i].tooltip.clear();
    }
    state.clear();
    for (int i = 0; i < frame.firstCell; ++i)
        cells.title[i].caption = DayNumber(frame.daysInPreviousMonth - frame.firstCell + i + 1);
    const std::string year = Trim(yearText);
    for (int d = 1; d <= frame.daysInMonth; ++d) {
        const int i = frame.firstCell + d - 1;
        if (!InCells(i)) break;
        cells.title[i].caption = DayNumber(d);
        std::string tip = " ";
        tip.append(monthText).append(" ").append(std::to_string(d)).append(", ").append(year).append(" ");
        cells.title[i].tooltip = tip;
        cells.day[i].tooltip = tip;
        cellJulDate[i] = frame.firstKey + d - 1;
    }
}

void ApplyMonthFont(CellLooks& cells, const MonthAppearance& month, bool dayText) {
    const std::string& name = dayText ? month.DayFntName : month.TitleFntName;
    const double size = (dayText ? month.DayFntSiz : month.TitleFntSiz).toDouble();
    for (LabelLook& cell : dayText ? cells.day : cells.title) {
        if (!name.empty()) cell.font.name = name;
        if (UsableSize(size)) cell.font.size = size;
        cell.font.bold = dayText ? month.DayFntBold : month.TitleFntBold;
        cell.font.italic = dayText ? month.DayFntItalic : month.TitleFntItalic;
        cell.font.underline = dayText ? month.DayFntUndrLn : month.TitleFntUndrLn;
        cell.font.strikeout = dayText ? month.DayFntStrkThr : month.TitleFntStrkThr;
    }
}

void ApplyMonthAppearance(CellLooks& cells, MonthAppearance& month, int calendarStyle, CellColorState& state) {
    const Currency eight = Currency::Whole(8);
    if (month.TitleFntSiz < eight) month.TitleFntSiz = eight;
    if (month.DayFntSiz < eight) month.DayFntSiz = eight;
    const bool transparent = calendarStyle == kStyleMixed || calendarStyle == kStyleAllTransparent;
    // Strips keep their back colour from month to month, but not today's
    // black one: in another month its number, in the month's own colour,
    // would stand black on black.
    if (cells.todayMark) cells.title[cells.todayMark->first].back = cells.todayMark->second;
    cells.todayMark.reset();
    for (int i = 0; i < kCellCount; ++i) {
        LabelLook& day = cells.day[i];
        LabelLook& title = cells.title[i];
        day.caption.clear();
        day.opaque = title.opaque = !transparent;

        title.fore = month.TitleFG;
        title.font.bold = month.TitleFntBold;
        if (UsableSize(month.TitleFntSiz.toDouble())) title.font.size = month.TitleFntSiz.toDouble();
        if (!month.TitleFntName.empty()) title.font.name = month.TitleFntName;
        title.font.italic = month.TitleFntItalic;
        title.font.underline = month.TitleFntUndrLn;
        title.font.strikeout = month.TitleFntStrkThr;

        day.back = month.DayBG;
        if (UsableSize(month.DayFntSiz.toDouble())) day.font.size = month.DayFntSiz.toDouble();
        day.font.bold = month.DayFntBold;
        if (!month.DayFntName.empty()) day.font.name = month.DayFntName;
        day.font.italic = month.DayFntItalic;
        day.font.underline = month.DayFntUndrLn;
        day.font.strikeout = month.DayFntStrkThr;
    }
    state.clear();
}

void MarkToday(CellLooks& cells, std::optional<int> todayCell, int calendarStyle) {
    if (!todayCell || !InCells(*todayCell)) return;
    LabelLook& title = cells.title[*todayCell];
    if (!cells.todayMark) cells.todayMark.emplace(*todayCell, title.back);
    title.opaque = true;
    title.back = kBlack;
    title.fore = kWhite;
    if (calendarStyle == kStyleAllTransparent) title.opaque = false;
}

void MarkEntryCell(CellLooks& cells, int dayNo, std::optional<int> todayCell, int calendarStyle, int32_t titleBG,
                   int32_t titleFG) {
    if (!InCells(dayNo)) return;
    LabelLook& day = cells.day[dayNo];
    LabelLook& title = cells.title[dayNo];
    day.opaque = title.opaque = true;
    if (!todayCell || *todayCell != dayNo) {
        title.back = titleBG;
        title.fore = titleFG;
    }
    if (calendarStyle == kStyleAllTransparent) day.opaque = title.opaque = false;
}

void PlaceEntry(CellLooks& cells, CellColorState& state, const SortingRow& entry, EntryReadings* readings) {
    const int d = entry.DayNo;
    if (!InCells(d)) return;
    LabelLook& day = cells.day[d];
    LabelLook& title = cells.title[d];
    EntryReadings own;
    EntryReadings& r = readings ? *readings : own;

    if (!r.haveTime || r.hour != entry.Hour || r.min != entry.Min || r.ampm != entry.AMPM) {
        r.time = BuildTimeString(entry.Hour, entry.Min, entry.AMPM);
        r.hour = entry.Hour;
        r.min = entry.Min;
        r.ampm = entry.AMPM;
        r.haveTime = true;
    }
    const std::string& time = r.time;
    const bool alarm = !TrimView(entry.Alarm).empty();
    std::string doubled;  // "&&" is written for one "&"
    std::string_view message = entry.DayMsg;
    if (message.find("&&") != std::string_view::npos) {
        doubled = entry.DayMsg;
        for (size_t at = 0; (at = doubled.find("&&", at)) != std::string::npos; ++at) doubled.erase(at, 1);
        message = doubled;
    }
    if (day.caption.empty())
        day.caption.append(" ").append(alarm ? "*" : "").append(time).append(message);
    else
        day.caption.append("\n").append(alarm ? "  *" : " ").append(time).append(" ").append(TrimView(message));

    // The last entry with a font of its own sets the whole cell's font.
    if (!TrimView(entry.Font).empty()) {
        if (!r.haveFont || r.font != entry.Font) {
            r.fontSpec = ParseFontString(entry.Font);
            r.font = entry.Font;
            r.haveFont = true;
        }
        const FontSpec& f = r.fontSpec;
        if (f.name) day.font.name = *f.name;
        if (f.size && UsableSize(*f.size)) day.font.size = *f.size;
        if (f.bold) day.font.bold = *f.bold;
        if (f.italic) day.font.italic = *f.italic;
    }

    if (!r.haveColors || r.colors != entry.DayColors) {
        r.colorParts = SplitDayColors(entry.DayColors);
        r.colors = entry.DayColors;
        r.haveColors = true;
    }
    const auto& parts = r.colorParts;
    const int priority = entry.PriorityValue();
    auto part = [&](size_t k) { return k < parts.size() ? parts[k] : std::optional<double>{}; };
    if ((parts.size() >= 3 && !state.locked[d]) || priority > state.priority[d]) {
        if (auto o = OpaquePart(part(4))) day.opaque = *o;
        if (auto o = OpaquePart(part(5))) title.opaque = *o;
        if (auto c = ColourPart(part(0))) day.fore = *c;
        if (auto c = ColourPart(part(1))) day.back = *c;
        if (auto c = ColourPart(part(2))) title.fore = *c;
        if (auto c = ColourPart(part(3))) title.back = *c;
        bool forced = priority > 0;
        for (size_t k = 0; k < 4; ++k)
            if (auto p = part(k); p && *p < 0) forced = true;
        if (forced) state.locked[d] = true;
        if (priority > state.priority[d]) state.priority[d] = priority;
    } else if (parts.size() < 3 && !state.locked[d]) {
        day.opaque = title.opaque = true;
        day.fore = kBlack;
        day.back = kWhite;
        title.fore = kBlack;
        title.back = kWhite;
    }
}

void ReapplyToday(CellLooks& cells, std::optional<int> todayCell) {
    if (!todayCell || !InCells(*todayCell)) return;
    LabelLook& day = cells.day[*todayCell];
    LabelLook& title = cells.title[*todayCell];
    title.back = kBlack;
    title.fore = kWhite;
    if (!day.caption.empty()) title.opaque = day.opaque = true;
    day.fore = kBlack;
    day.back = kWhite;
}

int TrailingCells(CellLooks& cells, const MonthFrame& frame) {
    int d = 1;
    for (int i = frame.firstCell + frame.daysInMonth; i < kCellCount; ++i) {
        if (i == 35) {
            cells.title[35].caption.clear();
            break;
        }
        cells.title[i].caption = DayNumber(d++);
    }
    const int rows = cells.title[35].caption.empty() ? 5 : 6;
    for (int i = 35; i < kCellCount; ++i) cells.title[i].visible = cells.day[i].visible = rows == 6;
    return rows;
}

void ApplyDayLabelFonts(CellLooks& cells, const MonthAppearance& month) {
    const double daySize = month.DayFntSiz.toDouble();
    const double titleSize = month.TitleFntSiz.toDouble();
    for (int i = 0; i < kCellCount; ++i) {
        FontLook& day = cells.day[i].font;
        if (!month.DayFntName.empty()) day.name = month.DayFntName;
        day.bold = month.DayFntBold;
        if (UsableSize(daySize)) day.size = daySize;
        day.underline = month.DayFntUndrLn;
        day.strikeout = month.DayFntStrkThr;
        day.italic = month.DayFntItalic;

        FontLook& title = cells.title[i].font;
        if (!month.TitleFntName.empty()) title.name = month.TitleFntName;
        if (UsableSize(titleSize)) title.size = titleSize;
        title.bold = month.TitleFntBold;
        title.italic = month.TitleFntItalic;
        title.underline = month.TitleFntUndrLn;
        title.strikeout = month.TitleFntStrkThr;
    }
}

}  // namespace vm
