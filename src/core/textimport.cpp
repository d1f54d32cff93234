// Reading imported lines into date records: every line is checked whole
// before anything of it is kept, and the kept records are stored together.
#include <cmath>
#include <string>

#include "core/calendartext.h"
#include "core/dates.h"
#include "core/numtext.h"
#include "core/record.h"

namespace vm {
namespace {

enum Field { kHide, kDate, kTime, kDateText, kDuration, kRepeat, kDateType, kWorkDay, kAlarm, kSoundNum, kFont,
             kDayColors, kPriority };

// Characters as the store counts them (UTF-8 lead bytes).
size_t CharCount(std::string_view s) {
    size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

bool WholeNumber(std::string_view text, int& out) {
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 6) return false;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

std::string WithoutQuotes(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '"') out += c;
    return out;
}

// Yes/No text as the store took it: True/False, Yes/No, On/Off or a number.
bool ReadYesNo(std::string_view text, db::Value& out) {
    const std::string t = ToLower(Trim(text));
    if (t.empty()) return out = db::Value{}, true;
    if (t == "true" || t == "yes" || t == "on") return out = db::Bool(true), true;
    if (t == "false" || t == "no" || t == "off") return out = db::Bool(false), true;
    if (auto n = PlainNumber(t)) return out = db::Bool(*n != 0), true;
    return false;
}

// A number for a 32-bit column, rounded half to even; empty gives `ifEmpty`.
bool ReadLong(std::string_view text, const db::Value& ifEmpty, db::Value& out) {
    if (Trim(text).empty()) return out = ifEmpty, true;
    const auto n = PlainNumber(text);
    if (!n || std::fabs(*n) > 2147483647.0) return false;
    out = db::Int(RoundHalfEven(*n));
    return true;
}

}  // namespace

FieldPositions DefaultFieldPositions() {
    FieldPositions p{};
    for (int k = 0; k < kImportFieldCount; ++k) p[static_cast<size_t>(k)] = k + 1;
    return p;
}

int FieldPositionOf(std::string_view boxText) {
    const double v = Val(boxText);
    if (!(v > -1e6 && v < 1e6)) return 0;
    return static_cast<int>(RoundHalfEven(v));
}

bool ParseTimeText(std::string_view text, int16_t& Hour, int16_t& Minute, std::string& AM_PM) {
    Hour = 0;
    Minute = 0;
    AM_PM.clear();
    const std::string t = Trim(WithoutQuotes(text));
    if (t.empty()) return true;
    const size_t colon = t.find(':');
    if (colon == std::string::npos) return false;
    int h = 0, m = 0;
    if (!WholeNumber(std::string_view(t).substr(0, colon), h)) return false;
    size_t mark = t.find("AM", colon);
    if (mark == std::string::npos) mark = t.find("PM", colon);
    if (mark != std::string::npos) {
        if (!WholeNumber(std::string_view(t).substr(colon + 1, mark - colon - 1), m)) return false;
        if (h > 12 || m > 59 || CharCount(t) - CharCount(std::string_view(t).substr(0, mark)) > 10) return false;
        Hour = static_cast<int16_t>(h);
        Minute = static_cast<int16_t>(m);
        AM_PM = t.substr(mark);
        return true;
    }
    // A 24-hour time.
    if (!WholeNumber(std::string_view(t).substr(colon + 1), m) || h > 23 || m > 59) return false;
    if (h == 0 && m == 0) return true;
    Hour = static_cast<int16_t>(h == 0 ? 12 : h > 12 ? h - 12 : h);
    Minute = static_cast<int16_t>(m);
    AM_PM = h < 12 ? "AM" : "PM";
    return true;
}

LineResult ReadImportLine(const std::vector<std::string>& values, const FieldPositions& positions) {
    LineResult out;
    const int n = static_cast<int>(values.size());
    if (n < 2 || values[0].rfind("**", 0) == 0 || values[0] == "1") return out;  // skipped
    auto reject = [&](std::string why) {
        out.verdict = LineVerdict::Rejected;
        out.reason = std::move(why);
        return out;
    };
    // The value of field f, or nullptr when its position names none.
    auto value = [&](Field f) -> const std::string* {
        const int p = positions[static_cast<size_t>(f)];
        return p >= 1 && p <= n ? &values[static_cast<size_t>(p - 1)] : nullptr;
    };
    auto positioned = [&](Field f) { return positions[static_cast<size_t>(f)] >= 1; };
    ImportedRecord& r = out.record;

    const std::string* date = value(kDate);
    auto day = date ? ParseMDY(Trim(*date)) : std::nullopt;
    if (day && (day->y < 1 || day->y > 9999)) day.reset();  // the day key holds four-digit years
    if (!day) return reject(date ? "\"" + *date + "\" is not a date" : "no date");
    r.Date = db::Text(FormatIso(*day));
    r.JulDate = db::Int(Date2Julian(*day));

    if (positioned(kHide)) {
        const std::string* v = value(kHide);
        if (!v) return reject("no Hide value");
        if (!ReadYesNo(*v, r.Hide)) return reject("Hide \"" + *v + "\" is not Yes/No");
    }

    int16_t hour = 0, minute = 0;
    std::string ampm;
    if (positioned(kTime)) {
        const std::string* v = value(kTime);
        if (!v) return reject("no Time value");
        if (!ParseTimeText(*v, hour, minute, ampm)) return reject("\"" + *v + "\" is not a time");
    }
    r.Hour = db::Int(hour);
    r.Minute = db::Int(minute);
    r.AM_PM = db::Text(ampm);
    r.Hr24 = db::Int(Hr24Rule(hour, ampm, std::nullopt).value_or(0));

    struct TextField {
        Field field;
        db::Value* into;
        size_t maxChars;
        const char* name;
    };
    const TextField texts[] = {{kDateText, &r.DateText, 0, "Day's Text"},    {kRepeat, &r.Repeat, 50, "Repeat Type"},
                               {kDateType, &r.DateType, 50, "Date Type"},    {kAlarm, &r.Alarm, 255, "Alarms"},
                               {kFont, &r.Font, 100, "Font"},                {kDayColors, &r.DayColors, 100, "Colors"}};
    for (const TextField& f : texts) {
        const std::string* v = value(f.field);
        if (!v) continue;
        std::string text = f.field == kDateText ? DecodeDateText(*v)
                           : f.field == kAlarm  ? DecodeAlarm(*v)
                           : f.field == kFont   ? DecodeFont(*v)
                                                : *v;
        if (f.maxChars && CharCount(text) > f.maxChars)
            return reject(std::string(f.name) + " is longer than " + std::to_string(f.maxChars) + " characters");
        *f.into = db::Text(std::move(text));
    }
    if (const std::string* v = value(kDuration); v && !ReadLong(*v, db::Value{}, r.Duration))
        return reject("Repeat Periods \"" + *v + "\" is not a number");
    if (const std::string* v = value(kWorkDay); v && !ReadYesNo(*v, r.WorkDay))
        return reject("Work Day \"" + *v + "\" is not Yes/No");
    if (const std::string* v = value(kSoundNum); v && !ReadLong(*v, db::Int(0), r.SoundNum))
        return reject("Sound File# \"" + *v + "\" is not a number");
    if (const std::string* v = value(kPriority)) {
        if (!ReadLong(*v, db::Value{}, r.Priority)) return reject("Priority \"" + *v + "\" is not a number");
        const int64_t p = db::AsInt(r.Priority);
        if (p < 0 || p > 255) return reject("Priority " + std::to_string(p) + " is outside 0 to 255");
    }
    out.verdict = LineVerdict::Record;
    return out;
}

ParsedImport ParseCalendarImport(std::string_view text, const FieldPositions& positions) {
    ParsedImport out;
    CalendarLineReader reader(text);
    std::vector<std::string> values;
    while (reader.next(values)) {
        LineResult line = ReadImportLine(values, positions);
        if (line.verdict == LineVerdict::Record)
            out.records.push_back(std::move(line.record));
        else if (line.verdict == LineVerdict::Rejected)
            out.rejected.push_back({reader.lineNumber(), std::move(line.reason)});
    }
    return out;
}

int64_t StoreImportedRecords(db::Database& db, const std::vector<ImportedRecord>& records) {
    db::Transaction tx(db);
    auto st = db.prepare(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[Hr24],[DateText],[Duration],"
        "[Repeat],[DateType],[WorkDay],[Alarm],[SoundNum],[Font],[DayColors],[Priority]) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    for (const ImportedRecord& r : records) {
        int i = 0;
        for (const db::Value* v : {&r.Hide, &r.Date, &r.JulDate, &r.Hour, &r.Minute, &r.AM_PM, &r.Hr24, &r.DateText,
                                   &r.Duration, &r.Repeat, &r.DateType, &r.WorkDay, &r.Alarm, &r.SoundNum, &r.Font,
                                   &r.DayColors, &r.Priority})
            st.bind(++i, *v);
        st.run();
    }
    tx.commit();
    return static_cast<int64_t>(records.size());
}

std::string RejectedLinesMessage(const std::vector<RejectedLine>& rejected) {
    if (rejected.empty()) return {};
    std::string text = std::to_string(rejected.size()) + (rejected.size() == 1 ? " line was" : " lines were") +
                       " not imported; nothing of them was stored:";
    constexpr size_t kListed = 30;
    for (size_t i = 0; i < rejected.size() && i < kListed; ++i)
        text += "\r\nLine " + std::to_string(rejected[i].line) + ": " + rejected[i].reason;
    if (rejected.size() > kListed) text += "\r\n... and " + std::to_string(rejected.size() - kListed) + " more";
    return text;
}

std::string ImportFileExtension(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string() : ToLower(name.substr(dot + 1));
}

}  // namespace vm
