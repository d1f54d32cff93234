#include "core/alarmqueue_rows.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/datewords.h"
#include "core/numtext.h"
#include "core/record.h"
#include "platform/places.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr int64_t kDaySeconds = 86400;
constexpr int kTypeMismatch = 13;

int64_t WholeNumber(std::string_view text) { return RoundHalfEven(Val(text)); }

// The row's day: the stored "YYYY-MM-DD", or the written "M/D/YYYY"; a Date
// another program wrote in some other form (or none) gives way to the day
// key the row is shown by.
CivilDate RowDate(const SortingRow& row) {
    const std::string text = Trim(db::AsText(row.Date));
    if (auto d = ParseIso(text.substr(0, 10))) return *d;
    if (auto d = ParseMDY(text)) return *d;
    if (!db::IsNull(row.JulDate)) return KeyToCivil(static_cast<int32_t>(db::AsInt(row.JulDate)));
    throw OpError(kTypeMismatch, "Type mismatch: \"" + text + "\" is not a date");
}

std::string TwoDigits(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

// "12/6/2026 9:05:00 AM"
std::string GeneralDate(const DateTime& t) {
    const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    return FormatMDY(t.date) + " " + std::to_string(h12) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second) +
           (t.hour < 12 ? " AM" : " PM");
}

// A number in its shortest decimal form ("15", "1.5", "-10").
std::string ShortNumber(double v) { return Trim(Str(v)); }

}  // namespace

int TodayCell(const CivilDate& today) { return Weekday(CivilDate{today.y, today.m, 1}) + today.d - 1; }

std::vector<SortingRow> ReadAlarmRows(const std::string& calendarPath, const CivilDate& today,
                                      const VelmoraChanges& changesNow) {
    std::vector<SortingRow> rows;
    if (calendarPath.empty() || !FileExists(calendarPath)) return rows;
    // Day keys run on across a year's end (no key lies between the 31st and the 1st).
    const int32_t first = Date2Julian(AddDays(today, -1)), last = Date2Julian(AddDays(today, 1));
    const int cell = TodayCell(today);
    db::RecordSource records;
    records.setDatabaseName(calendarPath);
    // The month shown holds these days, unchanged since: one short read of its rows.
    if (changesNow)
        if (const std::optional<int64_t> changes = changesNow(records.database()))
            if (auto kept = ReadKeptDays(records.database(), *changes, first, last, cell - 1)) return std::move(*kept);
    rows = ReadMonthOccurrences(records.database(), first, last, cell - 1);
    records.setRecordSource(MonthRangeSQL("Velmora", first, last) + kMonthQueryOrder);
    records.refresh();
    std::vector<SortingRow> own = ReadMonthDateRecords(records, first, cell - 1);
    rows.insert(rows.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
    ArrangeForDisplay(rows);
    return rows;
}

std::vector<SortingRow> SetDailyAlarms(db::Database& settings, int dayNo, int32_t julDate, const CivilDate& today) {
    // A Disable left empty is not "False": such a row does not ring.
    auto st = settings.prepare(
        "SELECT [Hour],[Minute],[AMPM],[AlarmText],[SoundNum] FROM [Alarms] WHERE [Disable] = 0 ORDER BY [ID]");
    std::vector<SortingRow> rows;
    while (st.step()) {
        if (db::IsNull(st.column(0)) || db::IsNull(st.column(1))) continue;
        SortingRow r;
        r.DayNo = dayNo;
        r.Date = db::Text(FormatIso(today));
        r.Hour = db::AsText(st.column(0));
        r.Min = db::AsText(st.column(1));
        r.AMPM = db::AsText(st.column(2));
        r.DayMsg = "DAILY ALARM: " + db::AsText(st.column(3));
        // The sound column holds a sound number or a wave file's path.
        const db::Value sound = st.column(4);
        const bool path = std::holds_alternative<std::string>(sound) && !PlainNumber(db::AsText(sound));
        r.SoundNum = path ? sound : db::Int(db::AsInt(sound, 0));
        r.JulDate = db::Int(julDate);
        rows.push_back(std::move(r));
    }
    return rows;
}

std::vector<AlarmEntry> RowEntries(const SortingRow& row, int64_t fromMs, int64_t untilMs) {
    const CivilDate day = RowDate(row);
    const int64_t minute = WholeNumber(row.Min);
    int64_t hour = WholeNumber(row.Hour);
    // The record's own Hr24 rule (AM/PM in any case): 12 AM is the first hour of the day.
    if (hour >= 0 && hour <= 12) hour = *Hr24Rule(static_cast<int>(hour), std::string_view(row.AMPM).substr(0, 2),
                                                  static_cast<int>(hour));
    const int64_t at = DaysFromCivil(day) * kDaySeconds + hour * 3600 + minute * 60;
    const bool laterDay = DaysFromCivil(day) * kDaySeconds * 1000 >= untilMs;
    auto taken = [&](int64_t seconds) { return seconds * 1000 >= fromMs && (!laterDay || seconds * 1000 < untilMs); };
    const bool isPath = std::holds_alternative<std::string>(row.SoundNum) && !PlainNumber(db::AsText(row.SoundNum));
    const std::string file = isPath ? db::AsText(row.SoundNum) : std::string();
    const int64_t stored = isPath ? 1 : (db::IsNull(row.SoundNum) ? 0 : db::AsInt(row.SoundNum));
    const auto sound = static_cast<int32_t>(std::clamp<int64_t>(stored, INT32_MIN, INT32_MAX));

    const int64_t rowDay = DaysFromCivil(day);
    std::vector<AlarmEntry> out;
    if (taken(at)) {
        const int32_t own = db::IsNull(row.SoundNum) ? 0 : (sound < 1 || sound > 30 ? 1 : sound);
        out.push_back({MomentFromSeconds(at), row.DayMsg, own, file, rowDay, std::nullopt});
    }
    if (Trim(row.Alarm).empty()) return out;
    size_t start = 0;
    while (start <= row.Alarm.size()) {
        size_t comma = row.Alarm.find(',', start);
        if (comma == std::string::npos) comma = row.Alarm.size();
        const double v = Val(std::string_view(row.Alarm).substr(start, comma - start));
        start = comma + 1;
        if (v == 0 || !std::isfinite(v) || std::fabs(v) > 1e7) continue;
        const int64_t offset = std::llround(v * 60);
        const int64_t when = at - offset;
        const std::string text = " " + ShortNumber(std::fabs(v)) + (v > 0 ? " Minutes Until - " : " Minutes After - ") +
                                 row.DayMsg;
        if (taken(when)) out.push_back({MomentFromSeconds(when), text, sound, file, rowDay, std::nullopt});
    }
    return out;
}

std::string AlarmSummary(const AlarmQueue& queue) {
    std::string out;
    for (int i = 1; i <= queue.count(); ++i)
        if (const std::optional<AlarmEntry>& e = queue.slot(i))
            out += std::to_string(i) + ": " + GeneralDate(e->moment) + " - " + e->text + " Snd:" +
                   std::to_string(e->sound) + "\r\n";
    return out;
}

std::string FiredAlarmMessage(const DateTime& moment, const std::string& text) {
    const int h12 = moment.hour % 12 == 0 ? 12 : moment.hour % 12;
    return LongCaptionDate(moment.date) + " " + std::to_string(h12) + ":" + TwoDigits(moment.minute) +
           (moment.hour < 12 ? " am" : " pm") + " - " + text;
}

int PlayableSound(int64_t sound) { return sound >= 1 && sound <= 30 ? static_cast<int>(sound) : 1; }

std::optional<int64_t> QuickDurationSeconds(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    // Each part is bounded so that a long run of digits cannot overflow.
    auto part = [](std::string_view p) {
        const double v = Val(p);
        return std::isfinite(v) ? RoundHalfEven(std::clamp(v, -1e9, 1e9)) : 0;
    };
    switch (parts.size()) {
        case 1: return part(parts[0]);
        case 2: return part(parts[0]) * 60 + part(parts[1]);
        case 3: {
            // The hours must be a number; anything else counts as 0.
            const std::optional<double> h = PlainNumber(parts[0]);
            const int64_t hours = h ? RoundHalfEven(std::clamp(*h, -1e6, 1e6)) : 0;
            return hours * 3600 + part(parts[1]) * 60 + part(parts[2]);
        }
        default: return 0;
    }
}

}  // namespace vm
