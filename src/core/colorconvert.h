// The colour converter's arithmetic: a colour as red, green and blue
// components, as a decimal colour number and as hexadecimal text
// ("&H00BBGGRR&"). Each conversion gives every new box text at once, or a
// refusal that changes nothing. No window here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vm {

// "&H00" + six upper-case hex digits (blue, green, red) + "&".
std::string HexColorText(long color);

struct ConverterUpdate {
    // New box texts; an empty optional leaves that box as it is.
    std::optional<std::string> red, green, blue, decimal, hex;
    std::string message;                   // the message lines
    long sample = 0;                       // the sample's background colour
    std::optional<std::string> clipboard;  // text to put on the clipboard
    // A refusal: shown as a box, and nothing changes.
    std::string refusal, refusalTitle;
    bool critical = true;  // a bad-input box (with a beep) rather than a notice
    bool ok() const { return refusal.empty(); }
};

// Dec 2 RGB: from the decimal box (a negative number stands for its absolute value).
ConverterUpdate ConvertDecimal(std::string_view decimalText);
// Hex 2 RGB: from the hexadecimal box ("&H00FF00&", "&HFF00&", "FF00"...).
ConverterUpdate ConvertHex(std::string_view hexText);
// RGB 2 Dec: from the three component boxes.
ConverterUpdate ConvertComponents(std::string_view red, std::string_view green, std::string_view blue);

}  // namespace vm
