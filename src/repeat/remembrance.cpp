#include "repeat/remembrance.h"

#include "core/numtext.h"

namespace vm {
namespace {

std::string CutBefore(const std::string& text, char mark) {
    const size_t at = text.find(mark);
    return at == std::string::npos ? text : Trim(std::string_view(text).substr(0, at));
}

// The label word of a lowered "DateType DateText", the last one found winning.
const char* LabelWord(const std::string& label) {
    const char* word = nullptr;
    if (label.find("birth") != std::string::npos) word = "Birth ";
    if (label.find("anniv") != std::string::npos) word = "Anniversary ";
    if (label.find("weddi") != std::string::npos) word = "Wedding ";
    if (label.find("death") != std::string::npos) word = "Death ";
    return word;
}

std::string LoweredLabel(std::string_view dateType, std::string_view dateText) {
    std::string joined(dateType);
    joined += ' ';
    joined += dateText;
    return ToLower(Trim(joined));
}

}  // namespace

bool RemembersYears(std::string_view dateType, std::string_view dateText) {
    return LabelWord(LoweredLabel(dateType, dateText)) != nullptr;
}

std::string Remembrance::Text(int32_t years) const {
    if (!active) return {};
    return head + Str(static_cast<int64_t>(years)) + tail;
}

int32_t YearsSince(const CivilDate& from, const CivilDate& to) {
    return static_cast<int32_t>((DaysFromCivil(to) - DaysFromCivil(from)) / 365);
}

std::string DeathLookupName(std::string_view dateText) {
    const std::string text = Trim(dateText);
    const size_t at = ToLower(text).find("death");
    std::string name = Trim(std::string_view(text).substr(0, at));
    name = CutBefore(name, '\'');
    return CutBefore(name, '-');
}

Remembrance PrepareRemembrance(std::string_view dateType, std::string_view dateText, const CivilDate& recordDate,
                               const BirthLookup& lookup) {
    const std::string label = LoweredLabel(dateType, dateText);
    Remembrance out;
    const char* word = LabelWord(label);
    if (!word) return out;
    const bool death = label.find("death") != std::string::npos;

    out.active = true;
    out.head = std::string(dateText) + " ";
    out.tail = std::string(" Years Since ") + word;
    if (!death || !lookup) return out;

    const std::string name = DeathLookupName(dateText);
    if (name.empty()) return out;
    const std::optional<CivilDate> birth = lookup(name);
    if (!birth) return out;
    const std::string lived = DateDiffYearsMonthsDays(*birth, recordDate, 1);
    if (lived.empty()) return out;
    const size_t stars = dateText.find("**");
    out.head = std::string(dateText.substr(0, stars)) + " ";
    out.tail += " Lived: " + lived;
    return out;
}

}  // namespace vm
