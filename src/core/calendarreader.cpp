// The import file's bytes as text and the line reader.
#include <algorithm>
#include <string>

#include "core/calendartext.h"
#include "platform/steps.h"

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
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
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

ImportEncoding SniffEncoding(std::string_view start) {
    if (start.substr(0, 2) == "\xFF\xFE") return ImportEncoding::Utf16LE;
    if (start.substr(0, 2) == "\xFE\xFF") return ImportEncoding::Utf16BE;
    // Without a byte-order mark: the high byte of most of the first 512
    // characters zero, the low byte of hardly any.
    const size_t pairs = std::min<size_t>(start.size() / 2, 512);
    if (pairs >= 2) {
        size_t zeroEven = 0, zeroOdd = 0;
        for (size_t i = 0; i < pairs; ++i) {
            zeroEven += start[2 * i] == '\0';
            zeroOdd += start[2 * i + 1] == '\0';
        }
        if (zeroOdd * 2 > pairs && zeroEven * 8 < zeroOdd) return ImportEncoding::Utf16LE;
        if (zeroEven * 2 > pairs && zeroOdd * 8 < zeroEven) return ImportEncoding::Utf16BE;
    }
    return ImportEncoding::Utf8;
}

void Utf16Decoder::decode(std::string_view bytes, std::string& out) {
    const bool le = encoding_ == ImportEncoding::Utf16LE;
    size_t i = 0;
    if (pendingByte_ >= 0 && !bytes.empty()) {
        const char pair[2] = {static_cast<char>(pendingByte_), bytes[0]};
        pendingByte_ = -1;
        unit(le ? static_cast<char16_t>(static_cast<unsigned char>(pair[0]) | static_cast<unsigned char>(pair[1]) << 8)
                : static_cast<char16_t>(static_cast<unsigned char>(pair[0]) << 8 | static_cast<unsigned char>(pair[1])),
             out);
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        unit(static_cast<char16_t>(le ? a | b << 8 : a << 8 | b), out);
    }
    if (i < bytes.size()) pendingByte_ = static_cast<unsigned char>(bytes[i]);
}

void Utf16Decoder::unit(char16_t u, std::string& out) {
    if (first_) {
        first_ = false;
        if (u == 0xFEFF) return;  // the byte-order mark
    }
    if (high_) {
        const char16_t h = high_;
        high_ = 0;
        if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((char32_t(h) - 0xD800) << 10) + (u - 0xDC00));
            return;
        }
        AppendUtf8(out, 0xFFFD);
    }
    if (u >= 0xD800 && u <= 0xDBFF) high_ = u;
    else if (u >= 0xDC00 && u <= 0xDFFF) AppendUtf8(out, 0xFFFD);
    else AppendUtf8(out, u);
}

void Utf16Decoder::finish(std::string& out) {
    if (high_ || pendingByte_ >= 0) AppendUtf8(out, 0xFFFD);
    high_ = 0;
    pendingByte_ = -1;
}

static void AppendWindows1252(std::string_view bytes, std::string& out) {
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) out += ch;
        else if (b < 0xA0) AppendUtf8(out, kCp1252High[b - 0x80]);
        else AppendUtf8(out, b);
    }
}

static size_t CompleteUtf8Prefix(std::string_view bytes) {
    // A sequence cut at the end: its lead byte within the last three bytes.
    const size_t n = bytes.size();
    for (size_t back = 1; back <= 3 && back <= n; ++back) {
        const auto b = static_cast<unsigned char>(bytes[n - back]);
        if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return len > back ? n - back : n;
    }
    return n;
}

std::string DecodeImportBytes(std::string_view bytes) {
    std::string out;
    const ImportEncoding e = SniffEncoding(bytes);
    if (e == ImportEncoding::Utf16LE || e == ImportEncoding::Utf16BE) {
        out.reserve(bytes.size());
        Utf16Decoder d(e);
        d.decode(bytes, out);
        d.finish(out);
        return out;
    }
    if (IsValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    out.reserve(bytes.size() + bytes.size() / 4);
    AppendWindows1252(bytes, out);
    return out;
}

std::string LineAsUtf8(std::string_view line) {
    if (IsValidUtf8(line)) return std::string(line);
    std::string out;
    AppendWindows1252(line, out);
    return out;
}

bool LooksLikeText(std::string_view start, ImportEncoding encoding) {
    std::string text;
    if (encoding == ImportEncoding::Utf16LE || encoding == ImportEncoding::Utf16BE) {
        Utf16Decoder d(encoding);
        d.decode(start, text);
        start = text;
    }
    // Line by line: one bad line (a crash's tail of zero bytes, a stray
    // control character) is that line's fault, not the file's.
    size_t clean = 0, bad = 0;
    bool lineBad = false, lineEmpty = true;
    for (char ch : start) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == '\n' || b == '\r') {
            if (!lineEmpty) ++(lineBad ? bad : clean);
            lineBad = false;
            lineEmpty = true;
            continue;
        }
        lineEmpty = false;
        if (!IsTextByte(b)) lineBad = true;
    }
    if (!lineEmpty) ++(lineBad ? bad : clean);
    return bad <= clean;
}

// ---------------------------------------------------------------- file

namespace {
constexpr size_t kPiece = 1 << 20;
constexpr size_t kSniff = 1 << 16;

OpError ReadError(const std::string& path) { return OpError(57, "Device I/O error reading \"" + path + "\""); }
}  // namespace

ImportTextFile::ImportTextFile(const std::string& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw OpError(53, "File not found: \"" + path + "\"");
    std::string buf(kPiece, '\0');
    size_t got = std::fread(buf.data(), 1, kSniff, file_);
    if (std::ferror(file_)) throw ReadError(path);
    const std::string_view start(buf.data(), got);
    encoding_ = SniffEncoding(start);
    isText_ = LooksLikeText(start, encoding_);
    if (isText_ && encoding_ == ImportEncoding::Utf8) {
        // Valid UTF-8 all through, or else every byte is Windows-1252.
        std::string carry;
        bool valid = true;
        std::fseek(file_, 0, SEEK_SET);
        while (valid && (got = std::fread(buf.data(), 1, kPiece, file_)) > 0) {
            std::string piece = carry;
            piece.append(buf.data(), got);
            const size_t whole = CompleteUtf8Prefix(piece);
            valid = IsValidUtf8(std::string_view(piece).substr(0, whole));
            carry = piece.substr(whole);
        }
        if (std::ferror(file_)) throw ReadError(path);
        if (!IsValidUtf8(carry)) valid = false;
        if (!valid) encoding_ = ImportEncoding::Windows1252;
    }
    if (encoding_ == ImportEncoding::Utf16LE || encoding_ == ImportEncoding::Utf16BE) utf16_.emplace(encoding_);
    std::fseek(file_, 0, SEEK_END);
    size_ = std::ftell(file_);
    std::fseek(file_, 0, SEEK_SET);
}

ImportTextFile::~ImportTextFile() {
    if (file_) std::fclose(file_);
}

bool ImportTextFile::read(std::string& out) {
    if (done_) return false;
    std::string buf(kPiece, '\0');
    const size_t got = std::fread(buf.data(), 1, kPiece, file_);
    if (std::ferror(file_)) throw ReadError(path_);
    read_ += static_cast<int64_t>(got);
    std::string_view bytes(buf.data(), got);
    if (atStart_ && bytes.substr(0, 3) == "\xEF\xBB\xBF")  // a UTF-8 mark, also before a line of another kind
        bytes.remove_prefix(3);
    atStart_ = false;
    switch (encoding_) {
        case ImportEncoding::Utf8: out.append(bytes); break;
        case ImportEncoding::Windows1252: {
            // Whole lines only (a CR, an LF or both end one): a line that
            // ends in the next piece waits for it. What is kept from the
            // last piece holds no line end, so only the new bytes are searched.
            const size_t kept = partLine_.size();
            partLine_.append(bytes);
            const size_t lastBreak = bytes.find_last_of("\r\n");
            const size_t whole =
                got < kPiece ? partLine_.size() : lastBreak == std::string_view::npos ? 0 : kept + lastBreak + 1;
            for (size_t at = 0; at < whole;) {
                const size_t lineBreak = partLine_.find_first_of("\r\n", at);
                const size_t end = lineBreak == std::string::npos || lineBreak >= whole ? whole : lineBreak + 1;
                out += LineAsUtf8(std::string_view(partLine_).substr(at, end - at));
                at = end;
            }
            partLine_.erase(0, whole);
            break;
        }
        default: utf16_->decode(bytes, out); break;
    }
    if (got < kPiece) {
        if (utf16_) utf16_->finish(out);
        done_ = true;
    }
    return got > 0 || !out.empty();
}

// ---------------------------------------------------------------- reader

bool CalendarLineReader::lineBreak(std::string* into) {
    // At a CR or LF: one line break (CR LF counts once). False when a CR ends
    // a piece that has more after it: its LF may follow.
    const bool crAtEnd = t_[pos_] == '\r' && pos_ + 1 >= t_.size();
    if (crAtEnd && more_) return false;
    const bool crlf = t_[pos_] == '\r' && pos_ + 1 < t_.size() && t_[pos_ + 1] == '\n';
    if (into) into->append(t_.substr(pos_, crlf ? 2 : 1));
    pos_ += crlf ? 2 : 1;
    ++line_;
    return true;
}

CalendarLineReader::Read CalendarLineReader::readRecord(std::vector<std::string>& values, bool spanLines) {
    values.clear();
    strayQuote_ = false;
    const size_t n = t_.size();
    for (;;) {
        std::string value;
        if (pos_ < n && t_[pos_] == '"') {
            ++pos_;
            for (;;) {
                if (pos_ >= n) {
                    if (more_) return Read::Short;
                    if (spanLines) return Read::Unclosed;
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
                    if (!lineBreak(&value)) return Read::Short;
                    continue;
                }
                if (pos_ + 1 >= n && more_) return Read::Short;  // what follows the quote is not here yet
                const char after = pos_ + 1 < n ? t_[pos_ + 1] : '\0';
                if (after == '"') {
                    value += '"';
                    pos_ += 2;
                } else if (pos_ + 1 >= n || after == ',' || after == '\r' || after == '\n') {
                    ++pos_;
                    break;
                } else {
                    value += '"';  // a stray quote stays as it is
                    strayQuote_ = true;
                    ++pos_;
                }
            }
        } else {
            size_t stop = t_.find_first_of(",\r\n", pos_);
            if (stop == std::string_view::npos) {
                if (more_) return Read::Short;
                stop = n;
            }
            value.assign(t_.substr(pos_, stop - pos_));
            pos_ = stop;
        }
        values.push_back(std::move(value));
        if (pos_ < n && t_[pos_] == ',') {
            ++pos_;
            continue;
        }
        if (pos_ < n) {
            if (!lineBreak(nullptr)) return Read::Short;
        } else if (more_) {
            return Read::Short;
        }
        return Read::Done;
    }
}

bool CalendarLineReader::next(std::vector<std::string>& values) {
    if (pos_ >= t_.size()) return false;
    const size_t start = pos_;
    const int64_t startLine = line_;
    Read r = readRecord(values, spanLines_);
    if (r == Read::Unclosed) {
        // A quote that is never closed: read again with values ending at their line.
        spanLines_ = false;
        pos_ = start;
        line_ = startLine;
        r = readRecord(values, false);
    }
    if (r == Read::Short) {
        pos_ = start;
        line_ = startLine;
        return false;
    }
    recordStart_ = start;
    recordLine_ = startLine;
    return true;
}

void CalendarLineReader::rereadFirstLinePlain(std::vector<std::string>& values) {
    size_t end = t_.find_first_of("\r\n", recordStart_);
    if (end == std::string_view::npos) end = t_.size();
    values.clear();
    std::string value;
    for (size_t i = recordStart_; i < end; ++i) {
        const char c = t_[i];
        if (c == '"') continue;
        if (c == ',') {
            values.push_back(std::move(value));
            value.clear();
        } else {
            value += c;
        }
    }
    values.push_back(std::move(value));
    if (end >= pos_) return;  // the record was this one line
    pos_ = end;
    line_ = recordLine_;
    lineBreak(nullptr);
}

}  // namespace vm
