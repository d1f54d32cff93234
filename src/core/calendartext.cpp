// The export writer and the field encodings.
#include "core/calendartext.h"

#include <charconv>
#include <cmath>

#include "core/dates.h"
#include "core/numtext.h"
#include "core/sorting.h"
#include "platform/places.h"
#include "platform/steps.h"

namespace vm {
namespace {

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    for (size_t at; (at = text.find(from, start)) != std::string_view::npos; start = at + from.size()) {
        out.append(text.substr(start, at - start));
        out.append(to);
    }
    out.append(text.substr(start));
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

db::Value At(const db::RecordSource& rs, int index) { return index < 0 ? db::Value{} : rs.field(index); }

std::string DateOf(const db::Value& v) {
    if (db::IsNull(v)) return {};
    const std::string text = db::AsText(v);
    if (auto d = ReadStoredDate(text)) return FormatMDY(*d);
    return text;
}

// A stored number with "." as decimal sign and no blanks, whatever the locale.
std::string ValueNumberText(const db::Value& v) {
    if (const double* d = std::get_if<double>(&v)) return NumberText(*d);
    return db::AsText(v);
}

}  // namespace

// ---------------------------------------------------------------- export

const std::string& ExportLegendLine() {
    static const std::string line =
        "**0Hide, 1Date, 2Time, 3Date Text, 4Repeat Periods, 5Repeat Type, 8Date Type, 9Work Day, 10Alarm, "
        "11SoundFile, 12Font +Size +Bold +Italic, 13Colors+DateColr+DayBG+DayStyl+TitlTxt+TitlBG+TitlStyl, "
        "14Priority ";
    return line;
}

const std::string& ExportRuleLine() {
    static const std::string line = "**" + std::string(110, '-');
    return line;
}

std::string EncodeDateText(std::string_view text) {
    const std::string commas = ReplaceAll(text, ",", "++");
    std::string out;
    out.reserve(commas.size());
    for (size_t i = 0; i < commas.size(); ++i) {
        const char c = commas[i];
        if (c == '\r') {
            if (i + 1 < commas.size() && commas[i + 1] == '\n') ++i;
            out += "[]";
        } else if (c == '\n') {
            out += "[]";
        } else {
            out += c;
        }
    }
    return out;
}

std::string DecodeDateText(std::string_view text) { return ReplaceAll(ReplaceAll(text, "++", ","), "[]", "\r\n"); }

std::string EncodeAlarm(std::string_view alarm) { return TrimBlanks(ReplaceAll(alarm, ",", "-")); }

std::string DecodeAlarm(std::string_view alarm) {
    std::string out;
    out.reserve(alarm.size());
    char lastSeen = 0;  // the last character written that is not a blank
    for (char c : alarm) {
        if (c == '-' && IsDigit(lastSeen)) c = ',';
        out += c;
        if (c != ' ' && c != '\t') lastSeen = c;
    }
    return out;
}

std::string EncodeFont(std::string_view font) { return ReplaceAll(font, ",", ";"); }
std::string DecodeFont(std::string_view font) { return ReplaceAll(font, ";", ","); }

void AppendQuoted(std::string& line, std::string_view value) {
    line += '"';
    for (char c : value) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

ExportColumns FindExportColumns(const db::RecordSource& rs) {
    ExportColumns c;
    for (int i = 0; i < rs.fieldCount(); ++i) {
        const std::string name = ToLower(rs.fieldName(i));
        int* slot = name == "hide"        ? &c.Hide
                    : name == "date"      ? &c.Date
                    : name == "hour"      ? &c.Hour
                    : name == "minute"    ? &c.Minute
                    : name == "am_pm"     ? &c.AM_PM
                    : name == "datetext"  ? &c.DateText
                    : name == "duration"  ? &c.Duration
                    : name == "repeat"    ? &c.Repeat
                    : name == "datetype"  ? &c.DateType
                    : name == "workday"   ? &c.WorkDay
                    : name == "alarm"     ? &c.Alarm
                    : name == "soundnum"  ? &c.SoundNum
                    : name == "font"      ? &c.Font
                    : name == "daycolors" ? &c.DayColors
                    : name == "priority"  ? &c.Priority
                                          : nullptr;
        if (slot && *slot < 0) *slot = i;
    }
    return c;
}

std::string ExportFieldText(const db::RecordSource& rs, const ExportColumns& c, int box) {
    switch (box) {
        case 0: {
            const db::Value v = At(rs, c.Hide);
            return db::IsNull(v) ? std::string() : db::AsBool(v) ? "True" : "False";
        }
        case 1: return DateOf(At(rs, c.Date));
        case 2:
            return TrimBlanks(BuildTimeString(db::AsText(At(rs, c.Hour)), db::AsText(At(rs, c.Minute)),
                                        db::AsText(At(rs, c.AM_PM))));
        case 3: return EncodeDateText(db::AsText(At(rs, c.DateText)));
        case 4: return ValueNumberText(At(rs, c.Duration));
        case 5: return TrimBlanks(db::AsText(At(rs, c.Repeat)));
        case 8: return TrimBlanks(db::AsText(At(rs, c.DateType)));
        case 9: return db::AsBool(At(rs, c.WorkDay)) ? "True" : "False";
        case 10: return EncodeAlarm(db::AsText(At(rs, c.Alarm)));
        case 11: return NumberText(Val(db::AsText(At(rs, c.SoundNum))));
        case 12: return EncodeFont(db::AsText(At(rs, c.Font)));
        case 13: return db::AsText(At(rs, c.DayColors));
        case 14: return ValueNumberText(At(rs, c.Priority));
        default: return {};
    }
}

std::string ExportLine(const db::RecordSource& rs, const ExportColumns& cols, const ExportBoxes& boxes) {
    std::string line;
    for (int box = 0; box < kExportBoxCount; ++box) {
        if (!boxes[static_cast<size_t>(box)] || box == 6 || box == 7) continue;
        if (!line.empty()) line += ',';
        AppendQuoted(line, ExportFieldText(rs, cols, box));
    }
    return line;
}

int64_t WriteCalendarExport(const std::string& path, db::RecordSource& rs, const ExportBoxes& boxes,
                            const std::function<bool(int64_t, int64_t)>& progress) {
    WholeFileWriter file(path);
    if (!file.isOpen())
        throw OpError(75, "Path/File access error: cannot write \"" + path + "\": " + file.whyNotOpen() + ".");
    auto put = [&](const std::string& text) {
        if (!file.write(text)) throw OpError(61, "Disk full or write error: \"" + path + "\" was not changed");
    };
    put(ExportLegendLine() + "\r\n" + ExportRuleLine() + "\r\n");
    const ExportColumns cols = FindExportColumns(rs);
    const int64_t total = rs.recordCount();
    int64_t count = 0;
    std::string chunk;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        chunk += ExportLine(rs, cols, boxes);
        chunk += "\r\n";
        ++count;
        if (chunk.size() > (1 << 16)) {
            put(chunk);
            chunk.clear();
            if (progress && !progress(count, total)) return -1;  // the writer drops what it wrote
        }
    }
    put(chunk);
    if (!file.commit()) throw OpError(61, "Disk full or write error: \"" + path + "\" was not changed");
    return count;
}

}  // namespace vm
