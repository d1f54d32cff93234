#include "core/gridsearch.h"

#include <QString>

#include <cmath>
#include <regex>

#include "core/numtext.h"
#include "core/record.h"
#include "platform/datagrid.h"

namespace vm {
namespace {

// The text fields a search looks through, each preceded by a blank.
const std::vector<std::string> kSearchFieldsWithTime = {"DateText", "Repeat", "DateType", "Font", "DayColors", "AM_PM"};
const std::vector<std::string> kSearchFields = {"DateText", "Repeat", "DateType", "Font", "DayColors"};

// Holds when the fields, joined into one text (an empty field read as empty
// text, so it never hides the others), contain the bound text; literal, with
// case folded over all of Unicode.
std::string Contains(const std::vector<std::string>& fields) { return FoldSearchCondition(fields); }

std::vector<std::string> SplitParts(const std::string& t) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = t.find(';', start);
        parts.push_back(t.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return parts;
}

// Written as month/day/year, whether or not such a day exists.
bool LooksLikeDate(const std::string& text) {
    static const std::regex form(R"(^\s*\d{1,2}\s*/\s*\d{1,2}\s*/\s*\d{1,4}\s*$)");
    return std::regex_match(text, form);
}

}  // namespace

SearchPlan ChooseSearch(const std::string& t) {
    SearchPlan plan;
    const std::vector<std::string> parts = SplitParts(t);
    const std::optional<CivilDate> first = ReadTypedDate(parts[0]);
    if (!first && LooksLikeDate(parts[0])) {
        plan.kind = SearchKind::BadDate;
        plan.badPart = parts[0];
        return plan;
    }
    if (!first && parts.size() >= 2) {
        plan.kind = SearchKind::MultiWord;
        plan.words = parts;
        return plan;
    }
    const double v = Val(t);
    // A number no column holds (beyond 32 bits, or overflowing) is looked for as text.
    const bool tooLarge = !std::isfinite(v) || std::fabs(v) > 2147483647.0;
    if (v == 0 || tooLarge || std::string("2021222324252627282930").find(t) != std::string::npos) {
        plan.kind = SearchKind::Text;
        return plan;
    }
    if (first) {
        plan.from = *first;
        if (parts.size() >= 2) {
            const std::optional<CivilDate> second = ReadTypedDate(parts[1]);
            if (!second) {
                plan.kind = SearchKind::BadDate;
                plan.badPart = parts[1];
                return plan;
            }
            plan.kind = SearchKind::DateRange;
            plan.to = *second;
        } else {
            plan.kind = SearchKind::Date;
        }
        return plan;
    }
    plan.kind = SearchKind::Number;
    plan.number = RoundHalfEven(v);
    return plan;
}

SearchClause SingleSearchClause(const SearchPlan& plan, const std::string& typed) {
    SearchClause c;
    switch (plan.kind) {
        case SearchKind::Text:
            c.textOrder = true;
            if (!typed.empty()) c.where = {" WHERE " + Contains(kSearchFieldsWithTime), {db::Text(typed)}};
            break;
        case SearchKind::Date:
            // By the day key, which every writer stores with the Date.
            c.where = {" WHERE [JulDate] = ?", {db::Int(Date2Julian(plan.from))}};
            break;
        case SearchKind::DateRange:
            c.where = {" WHERE [JulDate] BETWEEN ? AND ?", {db::Int(Date2Julian(plan.from)), db::Int(Date2Julian(plan.to))}};
            break;
        case SearchKind::Number:
            c.where = {" WHERE [Hour] = ? OR [Minute] = ? OR [Repeat] = ? OR [SoundNum] = ? ",
                       {db::Int(plan.number), db::Int(plan.number), db::Text(IntText(plan.number)), db::Int(plan.number)}};
            break;
        default:
            break;
    }
    return c;
}

BoundSql MultiWordClause(const std::string& w1, const std::string& j1, const std::string& w2,
                         const std::optional<std::string>& third, const std::string& j2) {
    const bool negate = j1 == "Not";
    const std::string test = negate ? "NOT (" + Contains(kSearchFields) + ")" : Contains(kSearchFields);
    BoundSql b;
    b.sql = " WHERE " + test + (j1 == "Or" ? " OR " : " AND ") + test;
    b.params = {db::Text(w1), db::Text(w2)};
    if (third) {
        b.sql += (j2 == "Or" ? " OR " : " AND ") + test;
        b.params.push_back(db::Text(*third));
    }
    return b;
}

BoundSql TypeFilterClause(const std::string& choice) {
    if (choice == "All") return {};
    if (choice == "Hidden") return {" WHERE [Hide] <> 0", {}};
    const std::string word = choice.rfind("WeekMask", 0) == 0 ? "WeekMask" : choice;
    return {" WHERE " + Contains({"Repeat"}), {db::Text(word)}};
}

std::string DateEditDayColors(int32_t dayFG, int32_t dayBG, int calendarStyle) {
    const std::string fg = IntText(dayFG), bg = IntText(dayBG), s = IntText(calendarStyle);
    return fg + ";" + bg + ";" + fg + ";" + bg + ";" + s + ";" + s;
}

HourEdit HourEditResult(int64_t hour, const std::string& ampmTyped, std::optional<int> currentHr24,
                        bool minuteEmpty) {
    HourEdit e;
    e.minuteZero = hour != 0 && minuteEmpty;
    e.ampm = QString::fromStdString(ampmTyped).toUpper().toStdString();
    e.hr24 = currentHr24;
    // Neither AM nor PM: the hour as it is.
    if (hour != 0) e.hr24 = Hr24Rule(static_cast<int>(hour), e.ampm, static_cast<int>(hour));
    return e;
}

}  // namespace vm
