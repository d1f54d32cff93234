// FOLDHAS(needle, field, ...): the literal, case-folded search over a
// record's joined text fields that the grids' searches run on every row.
#include <QString>

#include <sqlite3.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/asciicase.h"

#include "platform/sqlstore_internal.h"

namespace vm::db::internal {

namespace {

// Whether canonical decomposition or composition may change the character.
// Below U+0300 there is no combining mark, and a letter folds the same
// decomposed or not; beyond, a character with a canonical decomposition, a
// mark, a Hangul vowel or final consonant, or half of a surrogate pair.
bool MayNormalize(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x300) return false;
    return c.isSurrogate() || c.isMark() || c.decompositionTag() == QChar::Canonical || (u >= 0x1161 && u <= 0x11C2);
}

// The fold of a text with a character beyond ASCII. Decomposed first, so a
// letter with an accent folds the same whether it was typed as one character
// or as a letter and a combining mark, and composed again at the end (both
// only when some character may change by them); "ß" and "ẞ" fold as "ss",
// and "İ" as "i" (the dot above that decomposing leaves after an "i" goes).
void FoldBeyondAscii(std::string& text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    bool normalize = false;
    for (qsizetype i = 0; i < s.size() && !normalize; ++i) normalize = MayNormalize(s.constData()[i]);
    if (normalize) s = s.normalized(QString::NormalizationForm_D);
    s = std::move(s).toCaseFolded();
    const QChar* d = s.constData();
    const qsizetype n = s.size();
    qsizetype k = 0;
    while (k < n && d[k].unicode() != 0x00DF && d[k].unicode() != 0x0130 && d[k].unicode() != 0x0307) ++k;
    if (k < n) {
        QString out;
        out.reserve(n + 8);
        out.append(d, k);
        for (qsizetype i = k; i < n; ++i) {
            const char16_t c = d[i].unicode();
            if (c == 0x00DF) out += QLatin1String("ss");
            else if (c == 0x0130) out += QLatin1Char('i');
            else if (c == 0x0307 && !out.isEmpty() && out.back() == QLatin1Char('i')) continue;
            else out += d[i];
        }
        s = std::move(out);
    }
    if (normalize) s = s.normalized(QString::NormalizationForm_C);
    text = s.toStdString();
}

}  // namespace

void FoldInPlace(std::string& text) {
    constexpr uint64_t kHigh = 0x8080808080808080ULL;
    char* p = text.data();
    const size_t n = text.size();
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x;
        std::memcpy(&x, p + i, 8);
        if (x & kHigh) break;
        const uint64_t aboveZ = x + 0x2525252525252525ULL;   // high bit where the byte is above 'Z'
        const uint64_t fromA = x + 0x3F3F3F3F3F3F3F3FULL;    // high bit where the byte is 'A' or above
        x |= ((fromA ^ aboveZ) & kHigh) >> 2;                // 0x20 on 'A'..'Z'
        std::memcpy(p + i, &x, 8);
    }
    for (; i < n; ++i) {
        char& c = p[i];
        if (static_cast<unsigned char>(c) & 0x80) {
            // The plain text before stays; from its last letter on, since a
            // combining mark joins the letter before it.
            const size_t from = i > 0 ? i - 1 : 0;
            std::string rest = text.substr(from);
            FoldBeyondAscii(rest);
            text.replace(from, std::string::npos, rest);
            return;
        }
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
}

namespace {

// FOLDHAS(needle, field, ...): 1 when the fields, joined into one text each
// preceded by a blank and ended by one (a Null field read as empty), contain
// the needle, both case-folded; else 0. The needle is taken literally.
void FoldHasFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 1) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    // The folded needle is kept with the statement while it stays the same.
    std::string local;
    const auto* needle = static_cast<const std::string*>(sqlite3_get_auxdata(ctx, 0));
    if (!needle) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        if (t) local.assign(t, static_cast<size_t>(sqlite3_value_bytes(argv[0])));
        FoldInPlace(local);
        sqlite3_set_auxdata(ctx, 0, new std::string(local), [](void* p) { delete static_cast<std::string*>(p); });
        needle = &local;
    }
    thread_local std::string joined;
    joined.clear();
    for (int i = 1; i < argc; ++i) {
        joined += ' ';
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) continue;
        const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
        if (t) joined.append(t, static_cast<size_t>(sqlite3_value_bytes(argv[i])));
    }
    joined += ' ';
    FoldInPlace(joined);
    sqlite3_result_int(ctx, joined.find(*needle) != std::string::npos ? 1 : 0);
}

bool PlainAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) & 0x80) return false;
    return true;
}

int Sign(int n) { return (n > 0) - (n < 0); }

int CompareBytes(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

// The plain letters of a letter that no accent splits off (a stroke, a
// slash, a dotless i, a joined pair), as they are written without it; 0 for
// any other character.
const char* PlainLettersOf(char16_t c) {
    switch (c) {
        case u'\u0142': return "l";   // ł
        case u'\u00F8': return "o";   // ø
        case u'\u0111': return "d";   // đ
        case u'\u00F0': return "d";   // ð
        case u'\u0127': return "h";   // ħ
        case u'\u0131': return "i";   // ı
        case u'\u0167': return "t";   // ŧ
        case u'\u0180': return "b";   // ƀ
        case u'\u00E6': return "ae";  // æ
        case u'\u0153': return "oe";  // œ
        case u'\u00FE': return "th";  // þ
        default: return nullptr;
    }
}

// A text's letters for ordering: folded, then decomposed with its accents
// and other combining marks left out, and a letter with a stroke or slash
// taken as its plain letter.
std::string LettersOf(std::string_view text) {
    std::string folded(text);
    FoldInPlace(folded);
    if (PlainAscii(folded)) return folded;
    const QString whole = QString::fromUtf8(folded.data(), static_cast<qsizetype>(folded.size()))
                              .normalized(QString::NormalizationForm_D);
    QString letters;
    letters.reserve(whole.size());
    for (const QChar c : whole) {
        if (c.isMark()) continue;
        if (const char* plain = PlainLettersOf(c.unicode())) letters += QLatin1String(plain);
        else letters += c;
    }
    return letters.toStdString();
}

int FoldedCollation(void*, int n1, const void* p1, int n2, const void* p2) {
    return CompareFoldedText(std::string_view(static_cast<const char*>(p1), static_cast<size_t>(n1)),
                         std::string_view(static_cast<const char*>(p2), static_cast<size_t>(n2)));
}

}  // namespace

int CompareFoldedText(std::string_view a, std::string_view b) {
    if (PlainAscii(a) && PlainAscii(b)) {
        // As the general way below orders plain text, without its copies.
        const size_t n = std::min(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            const int x = static_cast<unsigned char>(AsciiLower(a[i])), y = static_cast<unsigned char>(AsciiLower(b[i]));
            if (x != y) return x < y ? -1 : 1;
        }
        if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
        return CompareBytes(a, b);
    }
    if (const int byLetters = CompareBytes(LettersOf(a), LettersOf(b))) return byLetters;
    std::string fa(a), fb(b);
    FoldInPlace(fa);
    FoldInPlace(fb);
    if (const int byFold = CompareBytes(fa, fb)) return byFold;
    return CompareBytes(a, b);
}

void RegisterSearchFunctions(sqlite3* db) {
    sqlite3_create_collation_v2(db, "FOLDED", SQLITE_UTF8, nullptr, FoldedCollation, nullptr);
    sqlite3_create_function_v2(db, "FOLDHAS", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, FoldHasFunction,
                               nullptr, nullptr, nullptr);
}

}  // namespace vm::db::internal
