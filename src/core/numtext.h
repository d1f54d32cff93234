// Numbers read from and written into texts, the way boxes and stored texts
// have always been read.
#pragma once
#include <cstdint>
#include <optional>
#include <cstddef>
#include <string>
#include <string_view>

namespace vm {

// Leading-number rule: blanks skipped; sign, digits, one decimal point and an
// exponent read up to the first other character; "&H" / "&O" read hex / octal
// digits; no number reads as 0.
double Val(std::string_view text);

// A text that holds only a plain decimal number (blanks around it, a sign and
// one decimal point allowed); nullopt otherwise.
std::optional<double> PlainNumber(std::string_view text);

// Every reader and writer here uses "." as the decimal point whatever the
// process locale.

// A decimal text with an optional sign, digits, one point and an exponent
// ("-2.5e2"); what cannot be read is 0.
double ReadDecimal(std::string_view text);

// Number-to-text with up to `precision` significant digits, shortest form
// ("%.15g" of the C library in the "C" locale).
std::string NumberText(double value, int precision = 15);

// Number-to-text with exactly `decimals` digits after the point ("8.50").
std::string FixedText(double value, int decimals);

// Rounds to the nearest whole number, halves to the even neighbour.
int64_t RoundHalfEven(double value);

// Number-to-text: a leading blank for 0 and positive numbers (" 16777215").
std::string Str(int64_t value);
std::string Str(double value);

// Whole-number text with no blanks ("16777215", "-5").
std::string IntText(int64_t value);
// With a comma between thousands, for counts shown to the user ("1,234").
std::string CountText(int64_t value);

// Case-insensitive helpers shared by the rule and text readers: ASCII letters
// only, whatever the process locale; other bytes stay as they are. Trim
// takes off ASCII blanks (a no-break space stays).
std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
bool ContainsNoCase(std::string_view hay, std::string_view needle);
std::string Trim(std::string_view text);
// The same, as a view into the text.
std::string_view TrimView(std::string_view text);
// Characters of a UTF-8 text as the store counts them (its lead bytes).
size_t CharCount(std::string_view utf8);
// Blanks only removed at both ends (a tab or a line break stays).
std::string TrimBlanks(std::string_view text);

}  // namespace vm
