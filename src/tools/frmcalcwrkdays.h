// The work-day calculator "Calculate Work Days": the calendar days, weekend
// days, holidays and work days between two dates, the holidays being the
// open calendar's occurrences of a "Holiday" date type that are no work day.
#pragma once
#include <QMainWindow>

#include "platform/sqlstore.h"

class QAction;
class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace vm {

class RecordGridModel;

class frmCalcWrkDays : public QMainWindow {
    Q_OBJECT
public:
    explicit frmCalcWrkDays(QWidget* parent = nullptr);
    ~frmCalcWrkDays() override;

    void Form_Load();
    void Form_Unload();
    bool loaded() const { return !unloaded_; }
    void MonthView1_DateClick();
    void sscmdClearDateCalc_Click();
    void sscmdCalculate_Click();

    QLineEdit *txtBeginDate = nullptr, *txtEndDate = nullptr;
    QCalendarWidget* MonthView1 = nullptr;
    QPushButton *sscmdCalculate = nullptr, *sscmdClearDateCalc = nullptr;
    QLabel *Label1 = nullptr, *lblCalcDaysResult = nullptr, *lblHolidayCount = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QTableView* TDBGridHolidays = nullptr;
    QAction* mnuFile_Exit = nullptr;
    db::RecordSource Data1;
    RecordGridModel* HolidaysModel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowHolidays(const std::string& condition, std::vector<db::Value> params);
    bool unloaded_ = false;
};

frmCalcWrkDays* ShowCalcWrkDays();
frmCalcWrkDays* CalcWrkDays();
void UnloadCalcWrkDays();

}  // namespace vm
