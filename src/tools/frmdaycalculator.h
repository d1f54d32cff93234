// The day calculator: on its first tab a list of dated descriptions kept in
// the calendar file's [CalculateDates] with their distance from a base date;
// on its second the three-box calculator (two dates and a day count, any two
// of which give the third) with the span in years, months and days.
#pragma once
#include <QMainWindow>

#include <string>

#include "platform/sqlstore.h"

class QAction;
class QCalendarWidget;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QToolBar;

namespace vm {

class RecordGridModel;

class frmDayCalculator : public QMainWindow {
    Q_OBJECT
public:
    explicit frmDayCalculator(QWidget* parent = nullptr);
    ~frmDayCalculator() override;

    void Form_Load();
    void Form_Unload();
    bool loaded() const { return !unloaded_; }
    // The three-box calculator.
    void sscmdCalc2_Click();
    void ShowYearsMonthsDays();
    void MonthView1_DateClick();
    void txtDate1_DblClick();
    void txtDate2_DblClick();
    void txtDate1_LostFocus();
    void txtDate2_LostFocus();
    void optClrDates_MouseDown();
    void sscmdInfo_Click();
    // The dated list.
    void sscmdCalc_Click();
    void chkUpcoming_Click();
    void sscmdSrchDateData_Click();
    void sscmdClearSrch_Click();
    void TDBGridCalcDays_HeadClick(int ColIndex);
    void TextCalcDate_KeyPress(int KeyAscii);
    void TextCalcDate_LostFocus();
    void Toolbar1_ButtonClick(const QString& key);
    void sscmdHelp_Click();
    void mnuFile_Print_Click();

    QTabWidget* SSTab1 = nullptr;
    QLineEdit *txtDate1 = nullptr, *txtdateDif = nullptr, *txtDate2 = nullptr;
    QPushButton *sscmdCalc2 = nullptr, *sscmdInfo = nullptr;
    QRadioButton* optClrDates = nullptr;
    QCalendarWidget* MonthView1 = nullptr;
    QLabel* lblYrMnDayCalc = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QTableView* TDBGridCalcDays = nullptr;
    QLineEdit *TextCalcDate = nullptr, *txtSearchDays = nullptr;
    QPushButton *sscmdCalc = nullptr, *sscmdSrchDateData = nullptr, *sscmdClearSrch = nullptr, *sscmdHelp = nullptr;
    QCheckBox* chkUpcoming = nullptr;
    QAction *mnuFile_Print = nullptr, *mnuDayCalc_Exit = nullptr;
    db::RecordSource DataDayCalc;
    RecordGridModel* DayCalcModel = nullptr;

    // The list's query parts (the record source is pSQL, the filter, pSQLOrder).
    std::string pSQL, pUpcoming, pSQLOrder;
    bool pSearching = false;
    std::string pSearchText;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeListTab();
    QWidget* MakeCalculatorTab();
    void ApplyRecordSource(bool keepRecord);
    bool SetBaseDateOrToday();
    bool unloaded_ = false;
};

frmDayCalculator* ShowDayCalculator();
frmDayCalculator* DayCalculator();
void UnloadDayCalculator();

}  // namespace vm
