// Letter case and blanks of the program's own words ("ID", "Daily", "&H",
// "http"), over ASCII only: the C library's tolower/toupper/isspace follow
// the process locale (under a Turkish one tolower('I') is not 'i'), and a
// byte of a UTF-8 character is never a letter or a blank here.
#pragma once
#include <string_view>

namespace vm {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }
// Blank, tab, line feed, vertical tab, form feed, carriage return.
constexpr bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
constexpr bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// Equal when ASCII letters are taken in either case.
constexpr bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}
constexpr bool StartsWithNoCase(std::string_view text, std::string_view head) {
    return text.size() >= head.size() && EqualsNoCase(text.substr(0, head.size()), head);
}

}  // namespace vm
