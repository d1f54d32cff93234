#include "core/alarmqueue.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/datewords.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/record.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr int64_t kDaySeconds = 86400;
constexpr int kTypeMismatch = 13;

int64_t WholeNumber(std::string_view text) { return RoundHalfEven(Val(text)); }

// The row's day: the stored "YYYY-MM-DD", or the written "M/D/YYYY".
CivilDate RowDate(const db::Value& value) {
    const std::string text = Trim(db::AsText(value));
    if (auto d = ParseIso(text.substr(0, 10))) return *d;
    if (auto d = ParseMDY(text)) return *d;
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

int64_t MomentSeconds(const DateTime& m) {
    return DaysFromCivil(m.date) * kDaySeconds + m.hour * 3600 + m.minute * 60 + m.second;
}

DateTime MomentFromSeconds(int64_t seconds) {
    int64_t days = seconds / kDaySeconds;
    int64_t rest = seconds % kDaySeconds;
    if (rest < 0) {
        rest += kDaySeconds;
        --days;
    }
    DateTime t;
    t.date = CivilFromDays(days);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest % 3600 / 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

int64_t WallNowMs() {
    const LocalTime t = Clock().now();
    return MomentSeconds(DateTime{{t.year, t.month, t.day}, t.hour, t.minute, t.second}) * 1000 + t.millisecond;
}

int TodayCell(const CivilDate& today) { return Weekday(CivilDate{today.y, today.m, 1}) + today.d - 1; }

std::vector<SortingRow> ReadTodaysRows(const std::string& calendarPath, const CivilDate& today) {
    std::vector<SortingRow> rows;
    if (calendarPath.empty() || !FileExists(calendarPath)) return rows;
    const int32_t key = Date2Julian(today);
    const int cell = TodayCell(today);
    db::RecordSource records;
    records.setDatabaseName(calendarPath);
    rows = ReadMonthOccurrences(records.database(), key, key, cell);
    records.setRecordSource(MonthRangeSQL("Velmora", key, key) + kMonthQueryOrder);
    records.refresh();
    std::vector<SortingRow> own = ReadMonthDateRecords(records, key, cell);
    rows.insert(rows.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
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

void ClearAlarmQueue() { Module1.AlarmQueueCount = 0; }

bool AddAlarm(const DateTime& moment, const std::string& text, int32_t sound, const std::string& soundFile,
              int64_t steadyDueMs) {
    if (Module1.AlarmQueueCount >= kAlarmQueueSlots) return false;
    const size_t i = static_cast<size_t>(++Module1.AlarmQueueCount);
    Module1.AlarmQueueTime[i] = moment;
    Module1.AlarmQueueText[i] = text;
    Module1.AlarmQueueSound[i] = sound;
    Module1.AlarmQueueSoundFile[i] = soundFile;
    Module1.AlarmQueueSteady[i] = steadyDueMs;
    return true;
}

int QueueRow(const SortingRow& row, int64_t fromMs) {
    const CivilDate day = RowDate(row.Date);
    const int64_t minute = WholeNumber(row.Min);
    int64_t hour = WholeNumber(row.Hour);
    // The record's own Hr24 rule (AM/PM in any case): 12 AM is the first hour of the day.
    if (hour >= 0 && hour <= 12) hour = *Hr24Rule(static_cast<int>(hour), std::string_view(row.AMPM).substr(0, 2),
                                                  static_cast<int>(hour));
    const int64_t at = DaysFromCivil(day) * kDaySeconds + hour * 3600 + minute * 60;
    auto notPast = [&](int64_t seconds) { return seconds * 1000 >= fromMs; };
    const bool isPath = std::holds_alternative<std::string>(row.SoundNum) && !PlainNumber(db::AsText(row.SoundNum));
    const std::string file = isPath ? db::AsText(row.SoundNum) : std::string();
    const int64_t stored = isPath ? 1 : (db::IsNull(row.SoundNum) ? 0 : db::AsInt(row.SoundNum));
    const auto sound = static_cast<int32_t>(std::clamp<int64_t>(stored, INT32_MIN, INT32_MAX));

    int added = 0;
    if (notPast(at)) {
        const int32_t own = db::IsNull(row.SoundNum) ? 0 : (sound < 1 || sound > 30 ? 1 : sound);
        added += AddAlarm(MomentFromSeconds(at), row.DayMsg, own, file) ? 1 : 0;
    }
    if (Trim(row.Alarm).empty()) return added;
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
        if (notPast(when)) added += AddAlarm(MomentFromSeconds(when), text, sound, file) ? 1 : 0;
    }
    return added;
}

std::string AlarmSummary() {
    std::string out;
    for (int i = 1; i <= Module1.AlarmQueueCount && i <= kAlarmQueueSlots; ++i) {
        const size_t s = static_cast<size_t>(i);
        out += std::to_string(i) + ": " + GeneralDate(Module1.AlarmQueueTime[s]) + " - " + Module1.AlarmQueueText[s] +
               " Snd:" + std::to_string(Module1.AlarmQueueSound[s]) + "\r\n";
    }
    return out;
}

bool AlarmDue(const DateTime& moment, int64_t nowMs) {
    return !IsFreeMoment(moment) && MomentSeconds(moment) * 1000 <= nowMs;
}

namespace {
// Milliseconds until slot i is due (negative when overdue); nullopt when free.
std::optional<int64_t> MsUntil(size_t i, int64_t nowMs, int64_t steadyNowMs) {
    if (IsFreeMoment(Module1.AlarmQueueTime[i])) return std::nullopt;
    if (Module1.AlarmQueueSteady[i] != 0) return Module1.AlarmQueueSteady[i] - steadyNowMs;
    return MomentSeconds(Module1.AlarmQueueTime[i]) * 1000 - nowMs;
}
}  // namespace

bool SlotDue(int slot, int64_t nowMs, int64_t steadyNowMs) {
    if (slot < 1 || slot > kAlarmQueueSlots) return false;
    const auto left = MsUntil(static_cast<size_t>(slot), nowMs, steadyNowMs);
    return left && *left <= 0;
}

std::optional<int64_t> MsUntilNextDue(int64_t nowMs, int64_t steadyNowMs) {
    std::optional<int64_t> next;
    for (int i = 1; i <= Module1.AlarmQueueCount && i <= kAlarmQueueSlots; ++i)
        if (const auto left = MsUntil(static_cast<size_t>(i), nowMs, steadyNowMs)) {
            const int64_t ms = std::max<int64_t>(0, *left);
            next = next ? std::min(*next, ms) : ms;
        }
    return next;
}

int CancelCountdowns() {
    int n = 0;
    for (size_t i = 1; i <= size_t(std::clamp<int>(Module1.AlarmQueueCount, 0, kAlarmQueueSlots)); ++i) {
        if (IsFreeMoment(Module1.AlarmQueueTime[i]) || Module1.AlarmQueueSteady[i] == 0) continue;
        Module1.AlarmQueueTime[i] = DateTime{};
        Module1.AlarmQueueText[i].clear();
        Module1.AlarmQueueSteady[i] = 0;
        ++n;
    }
    return n;
}

bool AnyAlarmLeft() {
    for (int i = 1; i <= Module1.AlarmQueueCount && i <= kAlarmQueueSlots; ++i)
        if (!IsFreeMoment(Module1.AlarmQueueTime[static_cast<size_t>(i)])) return true;
    return false;
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
