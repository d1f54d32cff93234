// What the settings panel and the record colour panel need of the main
// window beyond its public calls. The main window fills these in once; an
// empty hook falls back on a value of its own (the panels then work alone).
#pragma once
#include <functional>
#include <string>

class QWidget;

namespace vm {

struct SettingsHooks {
    std::function<int()> shownMonth;             // pCurMon, 1..12
    std::function<std::string()> monthBoxText;   // the text of cmbMonth
    std::function<int()> calendarStyle;          // pCalendarStyle
    std::function<void(int)> setCalendarStyle;
    std::function<void(bool)> showMonthBoxes;    // shows or hides cmbMonth and cmbYear
    std::function<void(const std::string&)> loadMonthPicture;  // Image1 shows the file now
    std::function<void()> setDayLabelFonts;      // SetDayLabelFonts
    std::function<void(int)> setDayNameFonts;    // SetDayNameFonts(month)
    std::function<void(int)> applyDayFont;       // the 42 lblDay take the month's day font
    std::function<void(int)> applyTitleFont;     // the 42 lblTitle take the month's title font
    std::function<void(QWidget*)> placeSettingsPanel;  // below Image1's top, right of the grid's left
};

SettingsHooks& MainHooks();

// The hooks with their fallbacks.
int HookShownMonth();
std::string HookMonthBoxText();
int HookCalendarStyle();
void HookSetCalendarStyle(int style);

}  // namespace vm
