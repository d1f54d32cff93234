// What the settings panel and the record colour panel need of the main
// window, handed to them once as hooks. A hook a test already set is kept,
// and the window takes back the hooks it set when it goes.
#include <QComboBox>
#include <QLabel>
#include <QTableView>

#include "core/files.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/settingspanel_hooks.h"

namespace vm {

void frmVelmora::InstallPanelHooks() {
    SettingsHooks& h = MainHooks();
    auto set = [this](auto& hook, auto fn) {
        if (hook) return;
        hook = fn;
        hooksSet_.push_back([&hook] { hook = nullptr; });
    };
    set(h.shownMonth, [this] { return static_cast<int>(pCurMon); });
    set(h.monthBoxText, [this] { return cmbMonth->currentText().toStdString(); });
    set(h.calendarStyle, [this] { return static_cast<int>(pCalendarStyle); });
    set(h.setCalendarStyle, [this](int s) { pCalendarStyle = static_cast<int16_t>(s); });
    set(h.showMonthBoxes, [this](bool on) { SetMonthBoxesVisible(on); });
    set(h.loadMonthPicture, [this](const std::string& p) { ShowMonthPicture(ResolveDataPath(p)); });
    set(h.setDayLabelFonts, [this] { SetDayLabelFonts(); });
    set(h.setDayNameFonts, [this](int m) { SetDayNameFonts(m); });
    // The edited month's new font shows on the cells even when another month
    // is shown, until the next month build.
    set(h.applyDayFont, [this](int m) {
        if (m < 1 || m > 12) return;
        ApplyMonthFont(cells_, MainState.Month[size_t(m)], true);
        ShowCellLooks();
    });
    set(h.applyTitleFont, [this](int m) {
        if (m < 1 || m > 12) return;
        ApplyMonthFont(cells_, MainState.Month[size_t(m)], false);
        ShowCellLooks();
    });
    set(h.placeSettingsPanel, [this](QWidget* panel) {
        TwipsRect r = TwipsOf(panel);
        r.top = TwipsOf(Image1).top + 100;
        r.left = TwipsOf(TDBGridDates).left + 1000;
        PlaceFloatingPanel(panel, r);
    });
}

void frmVelmora::RemovePanelHooks() {
    for (auto& undo : hooksSet_) undo();
    hooksSet_.clear();
}

}  // namespace vm
