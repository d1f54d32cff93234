#include "mainwindow/settingspanel_hooks.h"

#include <QDate>

#include "core/dates.h"

namespace vm {
namespace {
int g_fallbackStyle = 1;
}

SettingsHooks& MainHooks() {
    static SettingsHooks hooks;
    return hooks;
}

std::string HookMonthBoxText() {
    if (MainHooks().monthBoxText) return MainHooks().monthBoxText();
    return MonthName(QDate::currentDate().month());
}

int HookShownMonth() {
    if (MainHooks().shownMonth) return MainHooks().shownMonth();
    int16_t m = 0;
    GetMonthNumber(HookMonthBoxText(), m);
    return m;
}

int HookCalendarStyle() { return MainHooks().calendarStyle ? MainHooks().calendarStyle() : g_fallbackStyle; }

void HookSetCalendarStyle(int style) {
    if (MainHooks().setCalendarStyle) MainHooks().setCalendarStyle(style);
    else g_fallbackStyle = style;
}

}  // namespace vm
