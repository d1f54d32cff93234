// The import file's bytes as text and the line reader.
#include <string>

#include "core/calendartext.h"

namespace vm {
namespace {

// Windows-1252 code points of the bytes 0x80..0x9F (the others are Latin-1).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

// ---------------------------------------------------------------- bytes

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int len;
        char32_t cp;
        if (b >= 0xC2 && b <= 0xDF) len = 2, cp = b & 0x1F;
        else if (b >= 0xE0 && b <= 0xEF) len = 3, cp = b & 0x0F;
        else if (b >= 0xF0 && b <= 0xF4) len = 4, cp = b & 0x07;
        else return false;
        if (i + static_cast<size_t>(len) > s.size()) return false;
        for (int k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<size_t>(len);
    }
    return true;
}

std::string DecodeImportBytes(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) out += ch;
        else if (b < 0xA0) AppendUtf8(out, kCp1252High[b - 0x80]);
        else AppendUtf8(out, b);
    }
    return out;
}

// ---------------------------------------------------------------- reader

void CalendarLineReader::lineBreak(std::string* into) {
    // At a CR or LF: one line break (CR LF counts once).
    const bool crlf = t_[pos_] == '\r' && pos_ + 1 < t_.size() && t_[pos_ + 1] == '\n';
    if (into) into->append(t_.substr(pos_, crlf ? 2 : 1));
    pos_ += crlf ? 2 : 1;
    ++line_;
}

bool CalendarLineReader::readRecord(std::vector<std::string>& values, bool spanLines) {
    values.clear();
    const size_t n = t_.size();
    for (;;) {
        std::string value;
        if (pos_ < n && t_[pos_] == '"') {
            ++pos_;
            for (;;) {
                if (pos_ >= n) {
                    if (spanLines) return false;  // never closed
                    break;
                }
                const size_t stop = t_.find_first_of("\"\r\n", pos_);
                if (stop == std::string_view::npos) {
                    value.append(t_.substr(pos_));
                    pos_ = n;
                    continue;
                }
                value.append(t_.substr(pos_, stop - pos_));
                pos_ = stop;
                if (t_[pos_] != '"') {
                    if (!spanLines) break;  // an unclosed value ends with its line
                    lineBreak(&value);
                    continue;
                }
                const char after = pos_ + 1 < n ? t_[pos_ + 1] : '\0';
                if (after == '"') {
                    value += '"';
                    pos_ += 2;
                } else if (pos_ + 1 >= n || after == ',' || after == '\r' || after == '\n') {
                    ++pos_;
                    break;
                } else {
                    value += '"';  // a stray quote stays as it is
                    ++pos_;
                }
            }
        } else {
            size_t stop = t_.find_first_of(",\r\n", pos_);
            if (stop == std::string_view::npos) stop = n;
            value.assign(t_.substr(pos_, stop - pos_));
            pos_ = stop;
        }
        values.push_back(std::move(value));
        if (pos_ < n && t_[pos_] == ',') {
            ++pos_;
            continue;
        }
        if (pos_ < n) lineBreak(nullptr);
        return true;
    }
}

bool CalendarLineReader::next(std::vector<std::string>& values) {
    if (pos_ >= t_.size()) return false;
    const size_t start = pos_;
    const int64_t startLine = line_;
    if (!readRecord(values, spanLines_)) {
        // A quote that is never closed: read again with values ending at their line.
        spanLines_ = false;
        pos_ = start;
        line_ = startLine;
        readRecord(values, false);
    }
    recordLine_ = startLine;
    return true;
}

}  // namespace vm
