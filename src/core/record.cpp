#include "core/record.h"

#include "core/numtext.h"

namespace vm {

const std::array<const char*, 20>& DateRecordColumns() {
    static const std::array<const char*, 20> cols = {
        "ID",      "Hide",    "Date",    "Hour",     "Minute", "AM_PM",    "DateText", "Duration", "Repeat",    "BGColor",
        "FGColor", "DateType", "WorkDay", "JulDate", "Alarm",  "SoundNum", "Font",     "Priority", "DayColors", "Hr24"};
    return cols;
}

namespace {
std::optional<int64_t> OptInt(const db::Value& v) {
    if (db::IsNull(v)) return std::nullopt;
    return db::AsInt(v);
}
db::Value FromOpt(const std::optional<int64_t>& v) { return v ? db::Int(*v) : db::Value{}; }
}  // namespace

namespace {
// A date record from a getter of its columns by name (empty when missing).
template <class Get>
DateRecord DateRecordFrom(Get&& get) {
    DateRecord r;
    r.ID = db::AsInt(get("ID"));
    r.Hide = db::AsBool(get("Hide"));
    if (auto d = ReadStoredDate(db::AsText(get("Date")))) r.Date = *d;
    r.Hour = static_cast<int>(db::AsInt(get("Hour")));
    r.Minute = static_cast<int>(db::AsInt(get("Minute")));
    r.AM_PM = db::AsText(get("AM_PM"));
    r.DateText = db::AsText(get("DateText"));
    r.Duration = db::AsInt(get("Duration"));
    r.Repeat = db::AsText(get("Repeat"));
    r.BGColor = OptInt(get("BGColor"));
    r.FGColor = OptInt(get("FGColor"));
    r.DateType = db::AsText(get("DateType"));
    r.WorkDay = db::AsBool(get("WorkDay"));
    r.JulDate = static_cast<int32_t>(db::AsInt(get("JulDate")));
    r.Alarm = db::AsText(get("Alarm"));
    r.SoundNum = db::AsInt(get("SoundNum"));
    r.Font = db::AsText(get("Font"));
    r.Priority = static_cast<int>(db::AsInt(get("Priority")));
    r.DayColors = db::AsText(get("DayColors"));
    if (auto h = OptInt(get("Hr24"))) r.Hr24 = static_cast<int>(*h);
    return r;
}
}  // namespace

DateRecord ReadDateRecord(const db::RecordSource& rs) {
    return DateRecordFrom([&](const char* name) { return rs.hasField(name) ? rs.field(name) : db::Value{}; });
}

DateRecord ReadDateRecord(const db::Statement& st) {
    return DateRecordFrom([&](const char* name) {
        for (int i = 0; i < st.columnCount(); ++i)
            if (ToLower(st.columnName(i)) == ToLower(name)) return st.column(i);
        return db::Value{};
    });
}

void WriteDateRecord(db::RecordSource& rs, const DateRecord& r) {
    rs.setField("Hide", db::Bool(r.Hide));
    rs.setField("Date", db::Text(FormatIso(r.Date)));
    rs.setField("JulDate", db::Int(Date2Julian(r.Date)));
    rs.setField("Hour", db::Int(r.Hour));
    rs.setField("Minute", db::Int(r.Minute));
    rs.setField("AM_PM", db::Text(r.AM_PM));
    rs.setField("DateText", db::Text(r.DateText));
    rs.setField("Duration", db::Int(r.Duration));
    rs.setField("Repeat", db::Text(r.Repeat));
    rs.setField("BGColor", FromOpt(r.BGColor));
    rs.setField("FGColor", FromOpt(r.FGColor));
    rs.setField("DateType", db::Text(r.DateType));
    rs.setField("WorkDay", db::Bool(r.WorkDay));
    rs.setField("Alarm", db::Text(r.Alarm));
    rs.setField("SoundNum", db::Int(r.SoundNum));
    rs.setField("Font", db::Text(r.Font));
    rs.setField("Priority", db::Int(r.Priority));
    rs.setField("DayColors", db::Text(r.DayColors));
    rs.setField("Hr24", r.Hr24 ? db::Int(*r.Hr24) : db::Value{});
}

std::optional<int> Hr24Rule(int hour, std::string_view ampm, std::optional<int> current) {
    if (ContainsNoCase(ampm, "AM")) return hour == 12 ? 0 : hour;
    if (ContainsNoCase(ampm, "PM")) return hour < 12 ? hour + 12 : hour;
    return current;
}

std::string TimeText(int hour, int minute, std::string_view ampm) {
    std::string mm = std::to_string(minute);
    if (mm.size() < 2) mm = "0" + mm;
    return std::to_string(hour) + ":" + mm + " " + std::string(ampm);
}

const std::vector<std::string>& AmPmValues() {
    static const std::vector<std::string> v = {"AM", "PM", "AMET", "PMET", "AMCT", "PMCT", "AMMT", "PMMT", "AMPT", "PMPT"};
    return v;
}

const std::vector<std::string>& RepeatValues() {
    static const std::vector<std::string> v = {"None",   "Minute",  "Hour",         "Daily", "Weekly",     "Monthly",  "Yearly",
                                               "WeekMask-TFTTFTT", "YearWeek", "MonthWeek", "MonthLastDay", "Every", "EveryMonth", "Quarterly"};
    return v;
}

}  // namespace vm
