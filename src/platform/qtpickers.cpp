#include "platform/qtpickers.h"

#include <QColor>
#include <QColorDialog>
#include <QFont>
#include <QFontDialog>

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

std::optional<FontChoice> QtPickers::pickFont(const FontChoice& initial, const std::string& title) {
    QFont f(QString::fromStdString(initial.name));
    if (initial.size > 0) f.setPointSizeF(initial.size);
    f.setBold(initial.bold);
    f.setItalic(initial.italic);
    f.setUnderline(initial.underline);
    f.setStrikeOut(initial.strikeout);
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
