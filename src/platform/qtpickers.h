// The colour and font dialogs on Qt's dialogs.
#pragma once
#include <QColor>
#include <QFont>

#include "platform/pickers.h"

class QWidget;

namespace vm {

class QtPickers : public IPickers {
public:
    explicit QtPickers(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<long> pickColor(long initial, const std::string& title) override;
    std::optional<FontChoice> pickFont(const FontChoice& initial, const std::string& title) override;

private:
    QWidget* parent_;
};

// The font the font dialog opens on: the choice with the family's own style
// name for its weight and slant ("Book", "Bold Oblique"...), so the dialog
// selects that style rather than one of its own guessing.
QFont FontDialogStartFont(const FontChoice& initial);

// Colour numbers (red + 256*green + 65536*blue) to and from Qt colours.
QColor ColorFromNumber(long number);  // the absolute value is used
long NumberFromColor(const QColor& color);

}  // namespace vm
