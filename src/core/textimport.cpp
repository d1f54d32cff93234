// Reading imported lines into date records: every line is checked whole
// before anything of it is kept, and the kept records are stored together.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/calendartext.h"
#include "core/dates.h"
#include "core/numtext.h"
#include "core/record.h"

namespace vm {
namespace {

enum Field { kHide, kDate, kTime, kDateText, kDuration, kRepeat, kDateType, kWorkDay, kAlarm, kSoundNum, kFont,
             kDayColors, kPriority };

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

// A value quoted in a message: at most 40 characters, control characters as blanks.
std::string Shown(std::string_view text) {
    std::string out;
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) != 0x80 && ++chars > 40) return "\"" + out + "...\"";
        out += b < 0x20 || b == 0x7F ? ' ' : text[i];
    }
    return "\"" + out + "\"";
}

// The first `maxChars` characters of a text.
std::string Cut(std::string text, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++chars > maxChars) return text.substr(0, i);
    return text;
}

// The leading number of a text as a whole number within [lo, hi] (0 when none).
int64_t LeadingWhole(std::string_view text, double lo, double hi) {
    const double v = Val(text);
    return RoundHalfEven(std::isfinite(v) ? std::clamp(v, lo, hi) : 0.0);
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
    // AM/PM in any letter case; it is stored upper-cased.
    std::string upper = t;
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    size_t mark = upper.find("AM", colon);
    if (mark == std::string::npos) mark = upper.find("PM", colon);
    if (mark != std::string::npos) {
        if (!WholeNumber(std::string_view(t).substr(colon + 1, mark - colon - 1), m)) return false;
        // An hour of 13 to 24 beside AM/PM is kept as it stands: the export writes such times.
        if (h > 24 || m > 59 || CharCount(t) - CharCount(std::string_view(t).substr(0, mark)) > 10) return false;
        Hour = static_cast<int16_t>(h);
        Minute = static_cast<int16_t>(m);
        AM_PM = upper.substr(mark, 2) + t.substr(mark + 2);
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
    // A line holding what a text never holds (a zero byte, a control
    // character) is named, whatever else it holds.
    for (const std::string& v : values)
        for (char c : v)
            if (!IsTextByte(static_cast<unsigned char>(c))) {
                out.verdict = LineVerdict::Rejected;
                out.reason = "not text: it holds a zero byte or a control character";
                return out;
            }
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
    // Read as a typed date: two-digit years in 1930..2029, the ISO form too.
    const auto day = date ? ReadTypedDate(*date) : std::nullopt;
    if (!day) return reject(date ? Shown(*date) + " is not a date" : "no date");
    r.Date = db::Text(FormatIso(*day));
    r.JulDate = db::Int(Date2Julian(*day));

    int16_t hour = 0, minute = 0;
    std::string ampm;
    if (positioned(kTime)) {
        const std::string* v = value(kTime);
        if (!v) return reject("no Time value");
        if (!ParseTimeText(*v, hour, minute, ampm)) return reject(Shown(*v) + " is not a time");
    }
    r.Hour = db::Int(hour);
    r.Minute = db::Int(minute);
    r.AM_PM = db::Text(ampm);
    r.Hr24 = db::Int(Hr24Rule(hour, ampm, std::nullopt).value_or(0));

    // From here on a value that cannot be read leaves its field empty.
    if (const std::string* v = value(kHide); v && !ReadYesNo(*v, r.Hide)) r.Hide = db::Value{};
    struct TextField {
        Field field;
        db::Value* into;
        size_t maxChars;
    };
    const TextField texts[] = {{kDateText, &r.DateText, 0}, {kRepeat, &r.Repeat, 50}, {kDateType, &r.DateType, 50},
                               {kAlarm, &r.Alarm, 0},       {kFont, &r.Font, 100},    {kDayColors, &r.DayColors, 100}};
    for (const TextField& f : texts) {
        const std::string* v = value(f.field);
        if (!v) continue;
        std::string text = f.field == kDateText ? DecodeDateText(*v)
                           : f.field == kAlarm  ? DecodeAlarm(*v)
                           : f.field == kFont   ? DecodeFont(*v)
                                                : *v;
        *f.into = db::Text(f.maxChars ? Cut(std::move(text), f.maxChars) : std::move(text));
    }
    if (const std::string* v = value(kDuration); v && !ReadLong(*v, db::Value{}, r.Duration)) r.Duration = db::Value{};
    if (const std::string* v = value(kWorkDay); v && !ReadYesNo(*v, r.WorkDay)) r.WorkDay = db::Value{};
    if (const std::string* v = value(kSoundNum)) r.SoundNum = db::Int(LeadingWhole(*v, -2147483648.0, 2147483647.0));
    if (const std::string* v = value(kPriority)) {
        // A priority the column cannot hold (beyond 0..255) leaves it empty.
        const int64_t p = LeadingWhole(*v, -1, 256);
        r.Priority = p >= 0 && p <= 255 ? db::Int(p) : db::Value{};
    }
    out.verdict = LineVerdict::Record;
    return out;
}

LineResult ImportLineParser::Read(CalendarLineReader& reader) {
    LineResult quoted = ReadImportLine(values_, positions_);
    if (quoted.verdict != LineVerdict::Rejected && !reader.hadStrayQuote()) return quoted;
    // Older exports wrote quotes inside a value as they stand: the line read
    // the plain way, every quote removed.
    reader.rereadFirstLinePlain(plain_);
    LineResult plain = ReadImportLine(plain_, positions_);
    if (plain.verdict != LineVerdict::Rejected || quoted.verdict == LineVerdict::Rejected) {
        if (plain.verdict == LineVerdict::Rejected) plain.reason = quoted.reason;
        return plain;
    }
    return quoted;
}

ParsedImport ParseCalendarImport(std::string_view text, const FieldPositions& positions) {
    ParsedImport out;
    CalendarLineReader reader(text);
    ImportLineParser parser(positions);
    while (parser.next(
        reader, [&](const ImportedRecord& r) { out.records.push_back(r); },
        [&](RejectedLine&& l) { out.rejected.push_back(std::move(l)); })) {
    }
    return out;
}

ImportedRecordWriter::ImportedRecordWriter(db::Database& db) : db_(db) {
    tx_ = std::make_unique<db::Transaction>(db_);
    insert_.emplace(db_.prepare(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[Hr24],[DateText],[Duration],"
        "[Repeat],[DateType],[WorkDay],[Alarm],[SoundNum],[Font],[DayColors],[Priority]) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
}

ImportedRecordWriter::~ImportedRecordWriter() {
    insert_.reset();
    tx_.reset();  // rolls back unless committed
}

void ImportedRecordWriter::add(const ImportedRecord& r) {
    insert_->reset();
    int i = 0;
    for (const db::Value* v : {&r.Hide, &r.Date, &r.JulDate, &r.Hour, &r.Minute, &r.AM_PM, &r.Hr24, &r.DateText,
                               &r.Duration, &r.Repeat, &r.DateType, &r.WorkDay, &r.Alarm, &r.SoundNum, &r.Font,
                               &r.DayColors, &r.Priority})
        insert_->bind(++i, *v);
    insert_->run();
    ++count_;
}

int64_t ImportedRecordWriter::commit() {
    insert_.reset();
    tx_->commit();
    return count_;
}

int64_t StoreImportedRecords(db::Database& db, const std::vector<ImportedRecord>& records) {
    ImportedRecordWriter w(db);
    for (const ImportedRecord& r : records) w.add(r);
    return w.commit();
}

TextImportResult ImportCalendarText(const std::string& path, db::Database& db, const FieldPositions& positions,
                                    const std::function<bool(int64_t, int64_t)>& progress) {
    TextImportResult out;
    ImportTextFile file(path);
    if (!file.isText()) {
        out.isText = false;
        return out;
    }
    ImportedRecordWriter writer(db);
    CalendarLineReader reader(std::string_view{}, true);
    ImportLineParser parser(positions);
    auto onRecord = [&](const ImportedRecord& r) { writer.add(r); };
    auto onRejected = [&](RejectedLine&& l) {
        if (out.rejected.size() < kListedRejected) out.rejected.push_back(std::move(l));
        ++out.rejectedCount;
    };
    std::string text;
    bool more = true;
    bool skipping = false;  // through a line too long to be a record's, to its end
    while (more) {
        more = file.read(text);
        if (skipping) {
            const size_t lineEnd = text.find_first_of("\r\n");
            skipping = lineEnd == std::string::npos;
            text.erase(0, skipping ? text.size() : lineEnd);
        }
        reader.setText(text, more);
        while (parser.next(reader, onRecord, onRejected)) {
        }
        std::string_view left = reader.unread();
        if (more && left.size() > kLongestImportLine) {
            reader.stopSpanningLines();
            while (parser.next(reader, onRecord, onRejected)) {
            }
            left = reader.unread();
            if (left.size() > kLongestImportLine) {  // one line, and no end to it yet
                onRejected(RejectedLine{reader.unreadLine(), "longer than " + std::to_string(kLongestImportLine) +
                                                                 " characters: no record is so long"});
                skipping = true;
                left = {};
            }
        }
        text.erase(0, text.size() - left.size());
        if (progress && !progress(file.bytesRead(), file.size())) {
            out.cancelled = true;
            return out;  // the writer rolls back
        }
    }
    out.imported = writer.commit();
    return out;
}

std::string RejectedLinesMessage(const std::vector<RejectedLine>& rejected, int64_t total) {
    if (rejected.empty()) return {};
    if (total < static_cast<int64_t>(rejected.size())) total = static_cast<int64_t>(rejected.size());
    std::string text = std::to_string(total) + (total == 1 ? " line was" : " lines were") +
                       " not imported; nothing of them was stored:";
    size_t listed = 0;
    for (; listed < rejected.size() && listed < kListedRejected; ++listed)
        text += "\r\nLine " + std::to_string(rejected[listed].line) + ": " + rejected[listed].reason;
    if (total > static_cast<int64_t>(listed)) text += "\r\nand " + std::to_string(total - static_cast<int64_t>(listed)) + " more";
    return text;
}

std::string ImportFileExtension(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string() : ToLower(name.substr(dot + 1));
}

}  // namespace vm
