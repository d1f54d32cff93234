#include "core/entryrecord.h"

#include <algorithm>
#include <cmath>

#include "core/datesql.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/record.h"
#include "core/schema.h"

namespace vm {
namespace {

// The leading number of a box as a whole number, when it lies in [lo, hi].
std::optional<int64_t> WholeIn(std::string_view text, int64_t lo, int64_t hi) {
    const double v = std::nearbyint(Val(text));
    if (!std::isfinite(v) || v < static_cast<double>(lo) || v > static_cast<double>(hi)) return std::nullopt;
    return static_cast<int64_t>(v);
}

std::string BoxText(const db::RecordSource& rs, const char* column, const char* placeholder) {
    if (!rs.hasField(column)) return placeholder;
    const db::Value v = rs.field(column);
    if (db::IsNull(v)) return placeholder;
    return db::AsText(v);
}

}  // namespace

std::optional<CivilDate> ReadBoxDate(std::string_view text) {
    return ReadTypedDate(text);
}

EntrySave PlanEntrySave(const EntryBoxes& b) {
    EntrySave s;
    auto refuse = [&](std::string text) {
        s.columns.clear();
        s.refusal = std::move(text);
        return s;
    };
    const auto date = ReadBoxDate(b.date);
    if (!date)
        return refuse("\"" + b.date + "\" Is Not a Date. Enter the Date as M/D/YYYY, or Double-Click the Date Box to Pick One.");
    std::optional<int64_t> hour, minute;
    if (b.hour != entry::kHourUnset && !(hour = WholeIn(b.hour, 0, 12))) return refuse("The Hour Must Be from 0 to 12.");
    if (b.minute != entry::kMinuteUnset && !(minute = WholeIn(b.minute, 0, 59)))
        return refuse("The Minute Must Be from 0 to 59.");
    const auto priority = WholeIn(b.priority, 0, 255);
    if (!priority) return refuse("The Priority Must Be from 0 to 255 (Larger = Higher Priority).");
    const auto duration = WholeIn(b.repeatNo, INT32_MIN, INT32_MAX);
    if (!duration) return refuse("The Repeat# Is Not a Usable Number of Times.");
    const auto sound = WholeIn(b.sound, INT32_MIN, INT32_MAX);
    if (!sound) return refuse("The Sound# Is Not a Usable Sound Number.");

    const bool writeAmPm = b.ampm != entry::kAmPmUnset;
    const bool writeRepeat = b.repeatType != entry::kRepeatType;
    const bool writeAlarm = b.alarm != entry::kAlarm;
    const std::string dayType = b.dayType == entry::kDayType ? "" : b.dayType;
    const std::string font = b.font == entry::kFont ? "" : b.font;
    const std::string colors = b.colors == entry::kColors ? "" : b.colors;
    const struct {
        bool written;
        const char* column;
        const char* label;
        const std::string& text;
    } texts[] = {{writeAmPm, "AM_PM", "AM/PM", b.ampm},          {writeRepeat, "Repeat", "Repeat Type", b.repeatType},
                 {true, "DateType", "Date Type", dayType},         {writeAlarm, "Alarm", "Alarm Mins", b.alarm},
                 {true, "Font", "Font", font},                     {true, "DayColors", "Colors", colors}};
    for (const auto& t : texts) {
        const size_t width = RecordTextWidth(t.column);
        if (t.written && width && CharCount(t.text) > width)
            return refuse(std::string("The ") + t.label + " Text Can Not Be Longer Than " + std::to_string(width) +
                          " Characters.");
    }

    auto put = [&](const char* column, db::Value v) { s.columns.emplace_back(column, std::move(v)); };
    put("Hide", db::Bool(b.hide));
    put("Date", db::Text(FormatIso(*date)));
    put("JulDate", db::Int(Date2Julian(*date)));
    if (hour) put("Hour", db::Int(*hour));
    if (minute) put("Minute", db::Int(*minute));
    if (writeAmPm) put("AM_PM", db::Text(ToUpper(b.ampm)));  // typed in any case, stored upper-cased
    put("DateText", db::Text(b.dateText));
    put("Duration", db::Int(*duration));
    if (writeRepeat) put("Repeat", db::Text(b.repeatType));
    put("DateType", db::Text(dayType));
    put("WorkDay", db::Bool(b.workDay));
    if (writeAlarm) put("Alarm", db::Text(b.alarm));
    put("SoundNum", db::Int(*sound));
    put("Font", db::Text(font));
    put("DayColors", db::Text(colors));
    put("Priority", db::Int(*priority));
    s.ampmBox = b.ampm;
    return s;
}

EntrySave ChangedSince(const EntrySave& now, const EntrySave& loaded) {
    EntrySave changed;
    changed.refusal = now.refusal;
    bool timeChanged = now.ampmBox != loaded.ampmBox;
    for (const auto& column : now.columns) {
        const auto was = std::find_if(loaded.columns.begin(), loaded.columns.end(),
                                      [&](const auto& c) { return c.first == column.first; });
        if (was != loaded.columns.end() && was->second == column.second) continue;
        changed.columns.push_back(column);
        timeChanged = timeChanged || column.first == "Hour" || column.first == "AM_PM";
    }
    if (timeChanged) changed.ampmBox = now.ampmBox;
    changed.ampmFromRow = timeChanged && now.ampmBox == loaded.ampmBox &&
                          std::none_of(changed.columns.begin(), changed.columns.end(),
                                       [](const auto& c) { return c.first == "AM_PM"; });
    return changed;
}

void WriteEntrySave(db::RecordSource& rs, const EntrySave& save) {
    for (const auto& [column, value] : save.columns) rs.setField(column, value);
    // An hour picked with no minute is on the hour, as the alarms read it: a
    // row holding an hour but no minute would show no time in the day cells
    // or the week view. Hour 0, what the hour box's placeholder gives, is no time.
    const db::Value hour = rs.field("Hour");
    if (!db::IsNull(hour) && db::AsInt(hour) != 0 && db::IsNull(rs.field("Minute"))) rs.setField("Minute", db::Int(0));
    // Hr24 follows the AM/PM box's text, its placeholder "AM/PM" included
    // (it contains "AM"): the hour the row now holds on the 24-hour clock.
    std::string box = save.ampmBox;
    if (save.ampmFromRow && rs.hasField("AM_PM")) {
        const std::string held = db::AsText(rs.field("AM_PM"));
        if (ContainsNoCase(held, "AM") || ContainsNoCase(held, "PM")) box = held;
    }
    const bool am = ContainsNoCase(box, "AM");
    if (!am && !ContainsNoCase(box, "PM")) return;
    if (db::IsNull(hour)) {
        rs.setField("Hr24", db::Value{});
        return;
    }
    const auto hr24 = Hr24Rule(static_cast<int>(db::AsInt(hour)), am ? "AM" : "PM", std::nullopt);
    rs.setField("Hr24", hr24 ? db::Int(*hr24) : db::Value{});
}

EntryBoxes EntryBoxesFromRecord(const db::RecordSource& rs) {
    EntryBoxes b;
    b.hide = rs.hasField("Hide") && db::AsBool(rs.field("Hide"));
    b.workDay = rs.hasField("WorkDay") && db::AsBool(rs.field("WorkDay"));
    b.date = BoxText(rs, "Date", entry::kDate);
    if (auto d = ReadStoredDate(b.date)) b.date = FormatMDY(*d);
    b.hour = BoxText(rs, "Hour", entry::kHourUnset);
    b.minute = BoxText(rs, "Minute", entry::kMinuteUnset);
    b.ampm = BoxText(rs, "AM_PM", entry::kAmPmUnset);
    b.dateText = BoxText(rs, "DateText", "");
    b.repeatNo = BoxText(rs, "Duration", entry::kRepeatNo);
    b.repeatType = BoxText(rs, "Repeat", entry::kRepeatType);
    b.dayType = BoxText(rs, "DateType", entry::kDayType);
    if (b.dayType != entry::kDayType) b.dayType = Trim(b.dayType);
    b.alarm = BoxText(rs, "Alarm", entry::kAlarm);
    b.sound = BoxText(rs, "SoundNum", entry::kSound);
    b.font = BoxText(rs, "Font", entry::kFont);
    b.colors = BoxText(rs, "DayColors", entry::kColors);
    b.priority = BoxText(rs, "Priority", entry::kPriority);
    return b;
}

namespace {
// The entry window's order: by the record's day, then Priority.
std::string ByDate() { return DateSortKeySql("[Date]") + ",[Priority]"; }
}  // namespace

std::string EntryMonthSource() {
    if (Module1.MonthQuerySQL.empty())
        return "SELECT * FROM [Velmora] ORDER BY [JulDate],[Hr24],[AM_PM],[Hour],[Minute],[ID]";
    return Module1.MonthQuerySQL + Module1.MonthQueryOrder;
}

std::vector<int64_t> FindDateTextIds(db::Database& db, std::string_view word) {
    // The typed text is matched literally and without regard to case over all
    // of Unicode ("été" finds "Café Été").
    auto st = db.prepare(
        "SELECT [ID] FROM [Velmora] WHERE instr(FOLD([DateText]), FOLD(?)) > 0 ORDER BY " + ByDate() + ",[ID]");
    st.bind(1, db::Text(std::string(word)));
    std::vector<int64_t> ids;
    while (st.step()) ids.push_back(db::AsInt(st.column(0)));
    return ids;
}

std::string EntryIdsSource(const std::vector<int64_t>& ids) {
    std::string list;
    for (const int64_t id : ids) list += (list.empty() ? "" : ",") + std::to_string(id);
    if (list.empty()) return "SELECT * FROM [Velmora] WHERE 0 = 1 ORDER BY " + ByDate();
    return "SELECT * FROM [Velmora] WHERE [ID] IN (" + list + ") ORDER BY " + ByDate();
}

std::string EntryAllByDate() { return "SELECT * FROM [Velmora] ORDER BY " + ByDate(); }

std::vector<std::string> DistinctColumnValues(db::Database& db, const std::string& column) {
    bool known = false;
    for (const char* c : DateRecordColumns()) known = known || column == c;
    if (!known) throw db::DbError(db::kNoField, "Item not found in this collection: [" + column + "]");
    auto st = db.prepare("SELECT DISTINCT [" + column + "] FROM [Velmora] ORDER BY [" + column + "] COLLATE FOLDED");
    std::vector<std::string> out;
    while (st.step()) {
        std::string v = Trim(db::AsText(st.column(0)));
        if (!v.empty()) out.push_back(std::move(v));
    }
    return out;
}

}  // namespace vm
