#include "core/colorconvert.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/numtext.h"
#include "platform/asciicase.h"

namespace vm {
namespace {

constexpr long kMax = 16777215;

std::string Hex(long v, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lX", digits, v);
    return buf;
}

ConverterUpdate Refuse(std::string text, std::string title, bool critical = true) {
    ConverterUpdate u;
    u.refusal = std::move(text);
    u.refusalTitle = std::move(title);
    u.critical = critical;
    return u;
}

// Fills the three components, the message line and the sample from a colour.
ConverterUpdate FromColor(long color) {
    ConverterUpdate u;
    u.red = std::to_string(color & 0xFF);
    u.green = std::to_string((color >> 8) & 0xFF);
    u.blue = std::to_string((color >> 16) & 0xFF);
    u.message = "VB6 Hex = " + HexColorText(color);
    u.sample = color;
    return u;
}

}  // namespace

std::string HexColorText(long color) { return "&H00" + Hex(color & kMax, 6) + "&"; }

ConverterUpdate ConvertDecimal(std::string_view decimalText) {
    const double v = std::nearbyint(std::fabs(Val(decimalText)));
    if (!std::isfinite(v) || v > static_cast<double>(kMax))
        return Refuse("Decimal Color Values Run from 0 to 16777215 (a Negative Value Stands for Its Absolute Value).",
                      "Decimal Value Out of Range");
    const long d = static_cast<long>(v);
    ConverterUpdate u = FromColor(d);
    u.hex = HexColorText(d);
    return u;
}

ConverterUpdate ConvertHex(std::string_view hexText) {
    const std::string s = Trim(hexText);
    // Eleven characters that do not start "&H00" are a system colour (such as
    // &H8000000F&), which has no fixed red, green and blue.
    if (s.size() == 11 && !StartsWithNoCase(s, "&H00")) {
        const long n = static_cast<long>(Val("&H" + s.substr(9)));
        return Refuse("This is a system color = " + std::to_string(n) + "\nThis Cannot be Directly Converted to RGB",
                      "System Color", false);
    }
    // Accepted: an optional "&H" (or "H"), one to eight hex digits, an optional "&".
    std::string_view body = s;
    if (!body.empty() && body.back() == '&') body.remove_suffix(1);
    if (StartsWithNoCase(body, "&H")) body.remove_prefix(2);
    else if (StartsWithNoCase(body, "H")) body.remove_prefix(1);
    bool wellFormed = !body.empty() && body.size() <= 8;
    for (char c : body) wellFormed = wellFormed && std::isxdigit(static_cast<unsigned char>(c));
    if (!wellFormed)
        return Refuse("\"" + s + "\" Is Not a Hexadecimal Color.\nEnter Up to Six Hex Digits in the Order Blue, Green, Red, "
                      "for Example &H000000FF& for Red.",
                      "Hex Value Error");
    const unsigned long value = std::stoul(std::string(body), nullptr, 16);
    if (value > static_cast<unsigned long>(kMax))
        return Refuse("\"" + s + "\" Is More Than Six Hex Digits of Color (the Largest Is &H00FFFFFF&).",
                      "Hex Value Error");
    const long d = static_cast<long>(value);
    ConverterUpdate u = FromColor(d);
    u.decimal = std::to_string(d);
    return u;
}

ConverterUpdate ConvertComponents(std::string_view red, std::string_view green, std::string_view blue) {
    long part[3];
    const std::string_view boxes[3] = {red, green, blue};
    const char* names[3] = {"Red", "Green", "Blue"};
    for (int i = 0; i < 3; ++i) {
        const double v = std::nearbyint(Val(boxes[i]));
        if (!std::isfinite(v) || v < 0 || v > 255)
            return Refuse(std::string("The ") + names[i] + " Value Must Be from 0 to 255.", "Color Value Out of Range");
        part[i] = static_cast<long>(v);
    }
    const std::string h = Hex(part[2], 2) + Hex(part[1], 2) + Hex(part[0], 2);
    const long d = part[0] + 256 * part[1] + 65536 * part[2];
    ConverterUpdate u;
    u.decimal = " " + std::to_string(d);
    u.hex = "&H00" + h + "&";
    u.sample = d;
    u.clipboard = std::to_string(d);
    u.message = "VB6 Hex = &H00" + h + "&\nDecimal = " + std::to_string(d) + "\nDecimal Value Copied to Clipboard";
    return u;
}

}  // namespace vm
