// The edited month's four colour boxes, its day and title fonts, and copying
// one month's colours and fonts to others.
#include <QComboBox>
#include <QLabel>
#include <QPalette>

#include "core/appearance.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/recordstyle.h"
#include "core/settingsrules.h"
#include "records/colorpanel.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/settingspanel_boxes.h"
#include "mainwindow/settingspanel_hooks.h"
#include "platform/messages.h"
#include "platform/pickers.h"
#include "platform/qtpickers.h"
#include "platform/steps.h"

namespace vm {
namespace {

MonthAppearance& Edited(int16_t month) { return MainState.Month.at(static_cast<size_t>(month)); }

void SetBack(QLineEdit* box, const QColor& c) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, c);
    box->setPalette(p);
}

void SetFore(QLineEdit* box, const QColor& c) {
    QPalette p = box->palette();
    p.setColor(QPalette::Text, c);
    box->setPalette(p);
}

FontChoice ChoiceOf(const std::string& name, Currency size, bool bold, bool italic, bool underline, bool strike) {
    FontChoice f;
    f.name = name;
    f.size = size.toDouble();
    f.bold = bold;
    f.italic = italic;
    f.underline = underline;
    f.strikeout = strike;
    return f;
}

}  // namespace

int32_t& SettingsPanel::monthColor(Box box) {
    auto& a = Edited(pEditMon);
    switch (box) {
        case Box::DayBG: return a.DayBG;
        case Box::DayFG: return a.DayFG;
        case Box::TitleBG: return a.TitleBG;
        case Box::TitleFG: return a.TitleFG;
    }
    return a.DayBG;
}

void SettingsPanel::ShowMonthColors() {
    for (Box b : {Box::DayBG, Box::TitleBG, Box::DayFG, Box::TitleFG}) {
        OptionalStep([&] {
            EventBox* box = colorBox(b);
            const int32_t value = monthColor(b);
            const bool textColour = b == Box::DayFG || b == Box::TitleFG;
            if (IsColorNumber(value)) {
                SetBack(box, ColorFromNumber(value));
                if (textColour) SetFore(box, ColorFromNumber(value));
            }
            box->setText(QString::fromStdString(ColorBoxText(value)));
            if (textColour) {
                // A swatch: the digits are readable only on pure black and pure white.
                const QColor back = box->palette().color(QPalette::Base);
                const QColor fore = box->palette().color(QPalette::Text);
                const long b0 = NumberFromColor(back), f0 = NumberFromColor(fore);
                if (b0 == 0 && f0 == 0) SetFore(box, ColorFromNumber(kMaxColor));
                else if (b0 == kMaxColor && f0 == kMaxColor) SetFore(box, ColorFromNumber(0));
            }
        });
    }
}

void SettingsPanel::StoreMonthColors() {
    for (Box b : {Box::DayBG, Box::DayFG, Box::TitleBG, Box::TitleFG}) {
        OptionalStep([&] {
            // Out-of-range numbers would reach [Backgrounds]: they are kept out.
            if (const auto v = StoredColor(colorBox(b)->text().toStdString())) monthColor(b) = *v;
        });
    }
}

void SettingsPanel::takeTypedColor(Box box) {
    OptionalStep([&] {
        if (const auto v = TypedColor(colorBox(box)->text().toStdString())) monthColor(box) = *v;
    });
    OptionalStep([&] { ShowMonthColors(); });
}

void SettingsPanel::ColorBox_KeyPress(Box box, int& KeyAscii) {
    if (KeyAscii != 13) return;
    KeyAscii = 0;
    takeTypedColor(box);
}

void SettingsPanel::ColorBox_LostFocus(Box box) { takeTypedColor(box); }

void SettingsPanel::ColorBox_DblClick(Box box) {
    long c = 0;
    bool cancelled = true;
    OptionalStep([&] { c = static_cast<long>(RoundHalfEven(Val(colorBox(box)->text().toStdString()))); });
    OptionalStep([&] { Change_Color(c, cancelled); });
    if (cancelled) return;
    OptionalStep([&] { colorBox(box)->setText(QString::fromStdString(ColorBoxText(c))); });
    takeTypedColor(box);
}

void SettingsPanel::sscmdDayFont_Click() {
    std::optional<FontChoice> chosen;
    OptionalStep([&] {
        const auto& a = Edited(pEditMon);
        chosen = Pickers().pickFont(
            ChoiceOf(a.DayFntName, a.DayFntSiz, a.DayFntBold, a.DayFntItalic, a.DayFntUndrLn, a.DayFntStrkThr),
            "Day Font");
    });
    if (!chosen) return;
    OptionalStep([&] {
        auto& a = Edited(pEditMon);
        a.DayFntName = chosen->name;
        a.DayFntSiz = Currency::FromDouble(chosen->size);
        a.DayFntBold = chosen->bold;
        a.DayFntItalic = chosen->italic;
        a.DayFntUndrLn = chosen->underline;
        a.DayFntStrkThr = chosen->strikeout;
    });
    OptionalStep([&] {
        if (MainHooks().setDayLabelFonts) MainHooks().setDayLabelFonts();
    });
    WriteStep("The month colours and fonts", [&] { saveAppearance(); });
    OptionalStep([&] {
        if (MainHooks().applyDayFont) MainHooks().applyDayFont(pEditMon);
    });
    OptionalStep([&] { showFontCaptions(); });
}

void SettingsPanel::sscmdTitleFont_Click() {
    std::optional<FontChoice> chosen;
    OptionalStep([&] {
        const auto& a = Edited(pEditMon);
        chosen = Pickers().pickFont(ChoiceOf(a.TitleFntName, a.TitleFntSiz, a.TitleFntBold, a.TitleFntItalic,
                                             a.TitleFntUndrLn, a.TitleFntStrkThr),
                                    "Title Font");
    });
    if (!chosen) return;
    OptionalStep([&] {
        auto& a = Edited(pEditMon);
        a.TitleFntName = chosen->name;
        a.TitleFntSiz = Currency::FromDouble(chosen->size);
        a.TitleFntBold = chosen->bold;
        a.TitleFntItalic = chosen->italic;
        a.TitleFntUndrLn = chosen->underline;
        a.TitleFntStrkThr = chosen->strikeout;
    });
    OptionalStep([&] {
        if (MainHooks().setDayLabelFonts) MainHooks().setDayLabelFonts();
    });
    WriteStep("The month colours and fonts", [&] { saveAppearance(); });
    OptionalStep([&] {
        if (MainHooks().applyTitleFont) MainHooks().applyTitleFont(pEditMon);
    });
    OptionalStep([&] { showFontCaptions(); });
    OptionalStep([&] {
        if (MainHooks().setDayNameFonts) MainHooks().setDayNameFonts(pEditMon);
    });
}

void SettingsPanel::sscmdCopyJan2All_Click() {
    const std::string from = cmbCopyFrom->currentText().toStdString();
    const std::string to = cmbCopyTo->currentText().toStdString();
    if (from == "Copy From" || to == "Copy To") {
        InfoBox("Copy From and Copy To Controls Both Need to Be Selected.", "Set Both Values");
        return;
    }
    if (from == to) {
        InfoBox("Set Copy To and Copy From to Different Months.", "Months are Same");
        return;
    }
    const MonthCopy plan = PlanMonthCopy(from, to);
    if (plan.from == 0 || !plan.toNamesMonth) {
        InfoBox("Copy From Needs the Name of a Month, and Copy To the Name of a Month or All.", "Select Months");
        return;
    }
    Operation op("sscmdCopyJan2All_Error");
    if (!op.step(6, [&] { StoreMonthColors(); })) return;
    for (int t : plan.targets)
        if (!op.step(7, [&] { MainState.Month.at(static_cast<size_t>(t)) = MainState.Month.at(static_cast<size_t>(plan.from)); }))
            return;
    if (!op.step(8, [&] { ShowMonthColors(); })) return;
    if (!op.step(9, [&] { mnuFile_Settings_Click(); })) return;
    if (!op.step(10, [&] { saveAppearance(); })) return;
    op.step(11, [&] {
        if (MainWindow()) MainWindow()->BuildCalendarNumbers();
    });
}

}  // namespace vm
