// The date grid's searches, filters and sorts as statements with bound
// values: which search a typed text asks for, the WHERE and ORDER BY texts,
// and what a cell edit derives (day key, day colours, 24-hour hour). No
// window here; the typed text is always a bound value, never part of the SQL.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dates.h"
#include "platform/sqlstore.h"

namespace vm {

// A statement text with the values for its "?" placeholders, in order.
struct BoundSql {
    std::string sql;
    std::vector<db::Value> params;
};

inline constexpr const char* kGridSelect = "SELECT * FROM [Velmora]";
// The orders of the searches. "+[JulDate]" reads the table straight through
// and sorts what the search keeps, rather than walking the day-key index
// and looking every row up.
inline constexpr const char* kTextSearchOrder = " ORDER BY +[JulDate],[Hr24]";
inline constexpr const char* kGridDefaultOrder = " ORDER BY +[JulDate],[Hr24],[AM_PM],[Hour],[Minute],[ID]";

// What a text typed into the search box asks for.
enum class SearchKind {
    MultiWord,  // two or more ";" parts, the first no date: the words go to the multi-word panel
    Text,       // the text anywhere in the record's text fields
    Date,       // one day
    DateRange,  // the days from the first date to the second
    Number,     // Hour, Minute, SoundNum or Repeat equal to a whole number
    BadDate,    // written as a date, but names no day (or the range's second part is none)
};

struct SearchPlan {
    SearchKind kind = SearchKind::Text;
    std::vector<std::string> words;  // MultiWord: the parts, as typed
    CivilDate from, to;              // Date / DateRange
    int64_t number = 0;              // Number
    std::string badPart;             // BadDate: the part that is no date
};

// Chooses the search for the typed text t (as typed, not trimmed).
SearchPlan ChooseSearch(const std::string& t);

// The WHERE clause (with its leading blank, or "" for every record) of a
// single search, and whether it replaces the order by the text-search order.
struct SearchClause {
    BoundSql where;
    bool textOrder = false;
};
SearchClause SingleSearchClause(const SearchPlan& plan, const std::string& typed);

// The multi-word clause: each word found (or, with "Not" as the first
// joiner, not found) in the record's text fields; joined by AND or OR.
// `third` is nullopt when the third word box is not offered.
BoundSql MultiWordClause(const std::string& w1, const std::string& j1, const std::string& w2,
                         const std::optional<std::string>& third, const std::string& j2);

// The type filter's WHERE clause for a list text ("" for "All"); "WeekMask
// TF/YN" and anything else starting "WeekMask" filter by "WeekMask".
BoundSql TypeFilterClause(const std::string& choice);
inline constexpr const char* kTypeFilterOrder = " ORDER BY +[JulDate],[Hr24],[AM_Pm],[Hour],[Minute],[ID]";

// ---- what a cell edit derives

// The day colours a Date edit writes: the shown month's day colours for the
// text and the title pair, the calendar style for both styles.
std::string DateEditDayColors(int32_t dayFG, int32_t dayBG, int calendarStyle);

// An Hour or AM/PM edit: the AM/PM text upper-cased, and Hr24 from the hour
// and that text (the hour itself when it holds neither AM nor PM); an hour of
// 0 leaves Hr24 as it was. An hour with no minute is on the hour, as the
// alarms read it (a row with an hour and no minute shows no time).
struct HourEdit {
    std::string ampm;
    std::optional<int> hr24;
    bool minuteZero = false;
};
HourEdit HourEditResult(int64_t hour, const std::string& ampmTyped, std::optional<int> currentHr24,
                        bool minuteEmpty = false);

}  // namespace vm
