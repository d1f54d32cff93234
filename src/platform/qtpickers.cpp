#include "platform/qtpickers.h"

#include <QColor>
#include <QColorDialog>
#include <QFont>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

#include <cstdlib>

namespace vm {

QColor ColorFromNumber(long number) {
    const long n = std::labs(number) & 0xFFFFFF;
    return QColor(static_cast<int>(n & 0xFF), static_cast<int>((n >> 8) & 0xFF), static_cast<int>((n >> 16) & 0xFF));
}

long NumberFromColor(const QColor& c) { return c.red() + 256L * c.green() + 65536L * c.blue(); }

std::optional<long> QtPickers::pickColor(long initial, const std::string& title) {
    const QColor chosen = QColorDialog::getColor(ColorFromNumber(initial), parent_, QString::fromStdString(title));
    if (!chosen.isValid()) return std::nullopt;
    return NumberFromColor(chosen);
}

namespace {
bool IsWidthStyle(const QString& style) {
    for (const char* word : {"condensed", "expanded", "narrow", "wide", "compressed", "extended"})
        if (style.contains(QLatin1String(word), Qt::CaseInsensitive)) return true;
    return false;
}
}  // namespace

QFont FontDialogStartFont(const FontChoice& initial) {
    QFont f(QString::fromStdString(initial.name));
    if (initial.size > 0) f.setPointSizeF(initial.size);
    f.setBold(initial.bold);
    f.setItalic(initial.italic);
    f.setUnderline(initial.underline);
    f.setStrikeOut(initial.strikeout);
    // The style the font itself resolves to ("Book" for a regular DejaVu Sans)
    // when it has the right weight and slant; else, of the family's styles with
    // the right slant, the one nearest in weight, an upright width ("Condensed",
    // "Expanded") only when nothing else is as near.
    const QString family = QFontInfo(f).family();
    const QString own = QFontInfo(f).styleName();
    const int wanted = initial.bold ? QFont::Bold : QFont::Normal;
    QString best;
    int bestGap = 1 << 20;
    for (const QString& style : QFontDatabase::styles(family)) {
        // Oblique counts as slanted too (QFontDatabase::italic says no to it).
        const bool slanted = QFontDatabase::font(family, style, 12).style() != QFont::StyleNormal;
        if (slanted != initial.italic) continue;
        int gap = 4 * std::abs(QFontDatabase::weight(family, style) - wanted);
        if (style != own) gap += 1;
        if (IsWidthStyle(style)) gap += 2;
        if (gap < bestGap) {
            bestGap = gap;
            best = style;
        }
    }
    if (!best.isEmpty()) f.setStyleName(best);
    return f;
}

std::optional<FontChoice> QtPickers::pickFont(const FontChoice& initial, const std::string& title) {
    const QFont f = FontDialogStartFont(initial);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, f, parent_, QString::fromStdString(title));
    if (!ok) return std::nullopt;
    FontChoice r;
    r.name = chosen.family().toStdString();
    r.size = chosen.pointSizeF();
    r.bold = chosen.bold();
    r.italic = chosen.italic();
    r.underline = chosen.underline();
    r.strikeout = chosen.strikeOut();
    return r;
}

}  // namespace vm
