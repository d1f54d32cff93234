#include "core/numtext.h"

#include "platform/asciicase.h"

#include <charconv>
#include <cctype>
#include <cmath>

namespace vm {

double ReadDecimal(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large reads as infinity, too small as zero, as the C reader does.
        const std::string_view rest = text.substr(i);
        const size_t e = rest.find_first_of("eE");
        v = e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-' ? 0.0 : HUGE_VAL;
    } else if (ec != std::errc()) {
        v = 0.0;
    }
    (void)end;
    return negative ? -v : v;
}

std::string NumberText(double value, int precision) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::string FixedText(double value, int decimals) {
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

double Val(std::string_view text) {
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    };
    skipBlanks();
    if (i + 1 < text.size() && text[i] == '&') {
        const char kind = AsciiUpper(text[i + 1]);
        if (kind == 'H' || kind == 'O') {
            const int base = kind == 'H' ? 16 : 8;
            uint64_t v = 0;
            size_t j = i + 2, digits = 0;
            for (; j < text.size(); ++j) {
                const char c = AsciiLower(text[j]);
                int dv = -1;
                if (c >= '0' && c <= '9') dv = c - '0';
                else if (base == 16 && c >= 'a' && c <= 'f') dv = c - 'a' + 10;
                if (dv < 0 || dv >= base) break;
                v = v * base + static_cast<uint64_t>(dv);
                if (++digits > 16) break;
            }
            // With a closing "&" or more than four digits the value is a signed
            // 32-bit number, otherwise a signed 16-bit one (&HFFFF is -1,
            // &HFF00& is 65280).
            const bool wide = digits > 4 || (j < text.size() && text[j] == '&');
            if (!wide && v > 0x7FFF) return static_cast<double>(static_cast<int64_t>(v) - 0x10000);
            if (v > 0x7FFFFFFF && v <= 0xFFFFFFFF) return static_cast<double>(static_cast<int64_t>(v) - 0x100000000LL);
            return static_cast<double>(v);
        }
    }
    // Collect sign, digits, one point and an exponent (blanks inside digits are
    // skipped, as the old reader did).
    std::string buf;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) buf += text[i++];
    bool point = false, digit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) { buf += c; digit = true; }
        else if (c == '.' && !point) { buf += c; point = true; }
        else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        else break;
    }
    if (digit && i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::string exp = "e";
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exp += text[j++];
        bool expDigit = false;
        for (; j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])); ++j) { exp += text[j]; expDigit = true; }
        if (expDigit) buf += exp;
    }
    if (!digit) return 0.0;
    return ReadDecimal(buf);
}

std::optional<double> PlainNumber(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty()) return std::nullopt;
    size_t i = 0;
    if (t[i] == '+' || t[i] == '-') ++i;
    bool digit = false, point = false;
    for (; i < t.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(t[i]))) digit = true;
        else if (t[i] == '.' && !point) point = true;
        else return std::nullopt;
    }
    if (!digit) return std::nullopt;
    return ReadDecimal(t);
}

int64_t RoundHalfEven(double value) {
    if (!std::isfinite(value)) return 0;
    const double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    // Out of range reads as the nearest end rather than an undefined cast.
    if (r >= 9.2e18) return INT64_MAX;
    if (r <= -9.2e18) return INT64_MIN;
    return static_cast<int64_t>(r);
}

std::string IntText(int64_t value) { return std::to_string(value); }

std::string CountText(int64_t value) {
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
    return value < 0 ? "-" + digits : digits;
}

std::string Str(int64_t value) { return value >= 0 ? " " + std::to_string(value) : std::to_string(value); }

std::string Str(double value) {
    const std::string s = NumberText(value, 15);
    return value >= 0 ? " " + s : s;
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = AsciiLower(c);
    return out;
}

std::string ToUpper(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = AsciiUpper(c);
    return out;
}

bool ContainsNoCase(std::string_view hay, std::string_view needle) {
    return ToLower(hay).find(ToLower(needle)) != std::string::npos;
}

std::string_view TrimView(std::string_view text) {
    size_t a = 0, b = text.size();
    while (a < b && IsAsciiSpace(text[a])) ++a;
    while (b > a && IsAsciiSpace(text[b - 1])) --b;
    return text.substr(a, b - a);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

size_t CharCount(std::string_view utf8) {
    size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string TrimBlanks(std::string_view text) {
    const size_t a = text.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    return std::string(text.substr(a, text.find_last_not_of(' ') - a + 1));
}

}  // namespace vm
