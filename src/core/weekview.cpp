#include "core/weekview.h"

#include <cstdlib>

#include "core/numtext.h"
#include "core/record.h"

namespace vm {
namespace {

constexpr int32_t kWhite = 0xFFFFFF;

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

std::optional<int64_t> OptInt(const db::Value& v) {
    if (db::IsNull(v)) return std::nullopt;
    return db::AsInt(v);
}

// A colour number from the numeric value of a DayColors field; a negative
// number stands for the colour of its absolute value.
int32_t FieldColor(std::string_view field) {
    const double v = std::abs(Val(field));
    if (!(v <= kWhite)) return kWhite;  // beyond any colour (or not a number)
    return static_cast<int32_t>(v);
}

}  // namespace

WeekFrame MakeWeekFrame(const CivilDate& today, int weekOffset) {
    WeekFrame f;
    f.shown = AddDays(today, 7LL * weekOffset);
    const CivilDate sunday = AddDays(f.shown, -Weekday(f.shown));
    for (int i = 0; i < 7; ++i) {
        f.days[size_t(i)] = AddDays(sunday, i);
        f.keys[size_t(i)] = Date2Julian(f.days[size_t(i)]);
    }
    f.caption = std::string(MonthName(f.shown.m)) + " - " + Str(int64_t{f.shown.y});
    if (weekOffset == 0) f.todayColumn = Weekday(today);
    return f;
}

std::string WeekDayLabel(const CivilDate& day) { return " " + std::to_string(day.d); }

std::string WeekEntryLine(std::optional<int64_t> hour, std::optional<int64_t> minute, std::string_view ampm,
                          std::string_view text) {
    std::string line;
    if (hour && minute && *hour > 0 && *minute >= 0)
        line = "  " + Trim(TimeText(static_cast<int>(*hour), static_cast<int>(*minute), ampm));
    line.append("  ").append(text).append(" ");
    ReplaceAll(line, "&&", "&");
    return line;
}

void ReadWeekTable(db::Database& store, const std::string& table, const std::array<int32_t, 7>& keys,
                   std::vector<WeekLine>& out) {
    db::Statement st = store.prepare("SELECT [JulDate],[Hour],[Minute],[AM_PM],[DateText],[DayColors],[Font] FROM [" +
                                     table +
                                     "] WHERE [JulDate] IN (?,?,?,?,?,?,?) ORDER BY [JulDate],[Hr24],[Minute]");
    for (int i = 0; i < 7; ++i) st.bind(i + 1, db::Int(keys[size_t(i)]));
    while (st.step()) {
        const int64_t key = db::AsInt(st.column(0));
        int column = -1;
        for (int i = 0; i < 7; ++i)
            if (keys[size_t(i)] == key) column = i;
        if (column < 0) continue;
        WeekLine line;
        line.column = column;
        line.text = WeekEntryLine(OptInt(st.column(1)), OptInt(st.column(2)), db::AsText(st.column(3)),
                                  db::AsText(st.column(4)));
        line.dayColors = db::AsText(st.column(5));
        line.font = db::AsText(st.column(6));
        out.push_back(std::move(line));
    }
}

LineLook WeekLineLook(std::string_view dayColors, std::string_view font) {
    LineLook look;
    const size_t first = dayColors.find(';');
    const std::string_view fgText = dayColors.substr(0, first);
    std::string_view bgText;
    if (first != std::string_view::npos) {
        bgText = dayColors.substr(first + 1);
        bgText = bgText.substr(0, bgText.find(';'));
    }
    look.fg = FieldColor(fgText);
    look.bg = FieldColor(bgText);
    if (look.fg == 0 && look.bg == 0) look.bg = kWhite;
    if (look.fg == look.bg) {  // text in its own background colour would not show
        look.fg = 0;
        look.bg = kWhite;
    }
    if (!font.empty()) {
        look.font = ParseFontString(font);
        look.hasFont = true;
    }
    return look;
}

WeekBoxes LayOutWeek(const std::vector<WeekLine>& lines) {
    WeekBoxes boxes;
    std::array<int, 7> length{};
    boxes.formats.reserve(lines.size());
    for (const WeekLine& line : lines) {
        if (line.column < 0 || line.column > 6) continue;
        const size_t c = size_t(line.column);
        LineFormat f;
        f.column = line.column;
        f.start = length[c];
        f.length = Utf16Length(line.text);
        f.look = WeekLineLook(line.dayColors, line.font);
        boxes.text[c].append(line.text).append("\n\n");
        length[c] += f.length + 2;
        boxes.formats.push_back(std::move(f));
    }
    return boxes;
}

int AddColorToTable(std::vector<int32_t>& table, int32_t color) {
    for (size_t k = 0; k < table.size(); ++k)
        if (table[k] == color) return static_cast<int>(k) + 1;
    table.push_back(color);
    return static_cast<int>(table.size());
}

int Utf16Length(std::string_view utf8) {
    int units = 0;
    for (const unsigned char c : utf8) {
        if ((c & 0xC0) == 0x80) continue;  // continuation byte
        units += c >= 0xF0 ? 2 : 1;        // four-byte sequences need a surrogate pair
    }
    return units;
}

}  // namespace vm
