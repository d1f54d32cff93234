#include "core/settingsrules.h"

#include <cctype>
#include <cstdio>

#include "core/dates.h"
#include "core/numtext.h"

namespace vm {

bool IsColorNumber(int64_t value) { return value >= 0 && value <= kMaxColor; }

std::optional<int32_t> TypedColor(std::string_view text) {
    const int64_t v = RoundHalfEven(Val(text));
    if (!IsColorNumber(v)) return std::nullopt;
    return static_cast<int32_t>(v);
}

std::optional<int64_t> WholeNumberText(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty()) return std::nullopt;
    size_t i = 0;
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h' || t[1] == 'O' || t[1] == 'o')) {
        const bool hex = t[1] == 'H' || t[1] == 'h';
        i = 2;
        for (; i < t.size(); ++i) {
            const char c = t[i];
            const bool ok = hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : (c >= '0' && c <= '7');
            if (!ok) break;
        }
        if (i < t.size() && t[i] == '&') ++i;  // the long-number suffix
        if (i != t.size() || i <= 2) return std::nullopt;
        return RoundHalfEven(Val(t));
    }
    if (t[i] == '+' || t[i] == '-') ++i;
    bool digit = false, point = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (std::isdigit(static_cast<unsigned char>(c))) digit = true;
        else if (c == '.' && !point) point = true;
        else break;
    }
    if (!digit) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        const size_t digitsAt = j;
        while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j;
        if (j == digitsAt) return std::nullopt;
        i = j;
    }
    if (i != t.size()) return std::nullopt;
    const double v = Val(t);
    if (v > 9.2e18 || v < -9.2e18) return std::nullopt;
    return RoundHalfEven(v);
}

std::optional<int32_t> StoredColor(std::string_view text) {
    const auto v = WholeNumberText(text);
    if (!v || !IsColorNumber(*v)) return std::nullopt;
    return static_cast<int32_t>(*v);
}

std::string SizeText(Currency size) {
    const int64_t u = size.units;
    const int64_t whole = (u < 0 ? -u : u) / 10000;
    int64_t frac = (u < 0 ? -u : u) % 10000;
    std::string s = (u < 0 ? "-" : "") + std::to_string(whole);
    if (frac != 0) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04lld", static_cast<long long>(frac));
        std::string f = buf;
        while (!f.empty() && f.back() == '0') f.pop_back();
        s += "." + f;
    }
    return s;
}

std::string FontCaption(const std::string& name, Currency size, bool bold, bool italic, bool underline,
                        bool strikethrough) {
    auto tf = [](bool b) { return b ? "True" : "False"; };
    return name + ", " + SizeText(size) + ", " + tf(bold) + ", " + tf(italic) + ", " + tf(underline) + ", " +
           tf(strikethrough);
}

int CalendarStyleFromText(std::string_view text) {
    for (int i = 0; i < 3; ++i)
        if (text == kCalStyleNames[i]) return i + 1;
    return 1;
}

std::optional<std::string> CalendarStyleText(int style) {
    if (style < 1 || style > 3) return std::nullopt;
    return std::string(kCalStyleNames[style - 1]);
}

std::optional<std::string> ValidStartYear(std::string_view text) {
    const std::string t = Trim(text);
    if (t.size() != 4) return std::nullopt;
    for (char c : t)
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    if (t[0] == '0') return std::nullopt;
    return t;
}

int64_t SoundNumber(std::string_view text) {
    const double v = Val(text);
    if (v > 1e9 || v < -1e9) return v > 0 ? 1000000000 : -1000000000;
    return RoundHalfEven(v);
}

std::string FolderPart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

MonthCopy PlanMonthCopy(std::string_view fromText, std::string_view toText) {
    auto monthOf = [](std::string_view text) {
        const std::string lower = ToLower(text);
        for (int m = 1; m <= 12; ++m)
            if (lower == ToLower(MonthName(m))) return m;
        return 0;
    };
    MonthCopy plan;
    plan.from = monthOf(fromText);
    const bool all = ToLower(toText) == "all";
    const int to = monthOf(toText);
    plan.toNamesMonth = all || to != 0;
    for (int m = 1; m <= 12; ++m)
        if ((all || m == to) && m != plan.from) plan.targets.push_back(m);
    return plan;
}

}  // namespace vm
