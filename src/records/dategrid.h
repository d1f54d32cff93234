// The main window's date grid: an editable grid over the window's date
// records (DataDates) with its search bar, multi-word panel and repeat-type
// filter, the header sort and the Hide toggle, what a cell edit derives, the
// record colour panel's handling and the copy panel. It keeps the list of
// records a search or filter shows, which the toolbar's Delete removes.
// The main window owns it, makes and lays out the grid, the search bar
// frame and the filter box, and around a redraw the calendar document asks
// for has it hold and give back what it lists; what the grid asks of its
// window goes through `Hooks`, what it writes it tells the document.
//   dategrid_edit.cpp    the model, columns, drop-down lists, cell edits, header sort
//   dategrid_search.cpp  search bar, multi-word panel, type filter, the listing
//   dategrid_colors.cpp  double click, the record colour panel's edits and Save
//   dategrid_copy.cpp    the copy panel
#pragma once
#include <QObject>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/sqlstore.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace vm {

class ColorPanel;
class RecordGridModel;

// The grid's columns: grid column index (0 Hide .. 18 Hr24), field and caption.
inline constexpr int kDateGridColumns = 19;
inline constexpr int kColHide = 0, kColDate = 1, kColHour = 2, kColMinute = 3, kColAmPm = 4, kColDuration = 6,
                     kColRepeat = 7, kColDateType = 10, kColJulDate = 12, kColSound = 14, kColFont = 15,
                     kColDayColors = 17, kColHr24 = 18;

const char* DateGridField(int gridIndex);       // "" outside 0..18
int DateGridIndexOf(const std::string& field);  // -1 when the field has no column

class DateGrid : public QObject {
    Q_OBJECT
public:
    // What the grid asks of the window it lies in. What it writes it tells
    // the calendar document (core/calendardocument.h), whose listeners run
    // the repeat pass and draw the month, the week view and the alarms again.
    struct Hooks {
        std::function<void(int, const std::string&)> statusText;  // status panel 1..4
        std::function<void(bool)> showListedButtons;              // the toolbar's Delete and its separator
        std::function<int()> shownMonth;                          // 1..12, 0 before a month was drawn
        std::function<int()> calendarStyle;
    };

    // Over `dates`, shown in `view`; the model is made here. The window
    // holding the grid is `window` (the grid is found among its children).
    DateGrid(db::RecordSource& dates, QTableView* view, Hooks hooks, QObject* window);
    // Lets the model go while the records are still there (an open cell
    // edit is stored first), before the window's widgets are taken down.
    ~DateGrid() override;

    // Once, after the window placed the search bar frame and the filter box:
    // the grid's editing, the search bar in `searchBar`, the multi-word and
    // copy panels on `client`, the filter and the colour panel's edits.
    void Install(QWidget* client, QFrame* searchBar, QComboBox* filter, ColorPanel* colorPanel);
    // The listed rows read again from the file and shown so, before a command
    // walks them: what it takes is what the file holds now, also after
    // another program changed rows.
    void ReadListedAgain();

    RecordGridModel* model = nullptr;
    QTableView* TDBGridDates = nullptr;
    QComboBox* Combo3 = nullptr;
    ColorPanel* SSPanelDayColor = nullptr;

    // ---- the search bar and the multi-word panel
    QLineEdit* txtSearch = nullptr;
    QPushButton* sscmdSrchDateData = nullptr;
    QPushButton* sscmdClearSrch = nullptr;
    QLabel* lblRecCnt = nullptr;
    QPushButton* sscmdRepeat = nullptr;
    QFrame* sspnlMultiWord = nullptr;
    std::array<QLineEdit*, 3> txtSrch{};
    std::array<QComboBox*, 2> cmbMultSrch{};
    QPushButton* sscmdMultSrch = nullptr;
    QPushButton* sscmdExitMulSrch = nullptr;
    // ---- the record colour panel's own part
    QPushButton* sscmdOKDayColors = nullptr;
    QLabel* Label11 = nullptr;
    // ---- the copy panel
    PanelMadeWhenShown* ssPanlCopyRecs = nullptr;  // its boxes null until first shown
    QLineEdit* txtOrigCopyYr = nullptr;
    QLineEdit* txtNewCopyYr = nullptr;
    QLineEdit* txtRecDataType = nullptr;
    QComboBox* cmbCopyDteTyp = nullptr;
    QPushButton* sscmdCopyRec = nullptr;
    QPushButton* sscmdCloseCopyPnl = nullptr;

    void sscmdSrchDateData_Click();
    void txtSearch_KeyPress(int16_t& KeyAscii);
    void txtSearch_Click();
    void sscmdClearSrch_Click();
    void sscmdMultSrch_Click();
    void sscmdExitMulSrch_Click();
    void txtSrch_Click(int Index);
    void Combo3_Click();
    // Grid column indexes 0 (Hide) .. 18 (Hr24); the record's ID has no column.
    void TDBGridDates_AfterColUpdate(int ColIndex);
    void TDBGridDates_HeadClick(int ColIndex);
    void TDBGridDates_DblClick();
    void sscmdOKDayColors_Click();
    void sscmdCopyRec_Click();
    void sscmdCloseCopyPnl_Click();
    void sscmdRepeat_Click();

    // The model column of grid column `gridIndex` (-1 when not shown).
    int DateGridColumn(int gridIndex) const;
    // The drop-down list of a grid column, kept across the grid's requeries.
    void ClearDateGridList(int gridIndex);
    void AddDateGridListItem(int gridIndex, const QString& item);
    // The records the grid reads from (the drop-down lists fill from them).
    db::RecordSource& Source() { return dates_; }

    // ---- what the grid lists, kept while the calendar document settles
    // The month build and the repeat pass bind the grid to their own queries;
    // when a write elsewhere (or the grid's own edit) draws the month again,
    // the grid is given back the rows it listed, its current record and
    // column. Held when the occurrences go stale or a redraw starts, given
    // back after the redraw. Once the grid deleted the records it listed it
    // lists the month.
    void HoldListing();
    void GiveBackListing();

    // ---- the listing: the rows the last search or filter showed
    // True while the grid still shows exactly the rows that search listed.
    bool ListingShown() const;
    // Asks, then deletes exactly the listed records in one transaction and
    // has the month drawn again; nothing once the grid shows other rows.
    void DeleteListedRecords();

private:
    struct Listing {
        std::string sql, order, source, paramsSql;
        std::vector<db::Value> params, gridParams;
        std::optional<int64_t> id;
        int column = -1;
    };
    std::optional<Listing> SaveListing();
    void RestoreListing(const Listing& listing);
    void InstallEditing();
    void InstallSearchBar(QWidget* client, QFrame* searchBar);
    void MakeMultiWordPanel();
    void InstallCopyPanel(QWidget* client);
    void MakeCopyControls();
    void InstallColorPanelEdits();
    void AddColorPanelEdits();
    void ApplyDateGridColumns();
    void FitHeadings();
    void RunDateGrid(const std::string& sql, const std::vector<db::Value>& params);
    void MarkListedRows(bool show);
    void RefillOldTypes(const std::string& where, const std::vector<db::Value>& params, bool noneFirst);
    int32_t CountAllRecords();
    std::vector<db::Value> GridParams() const;
    void ShowDayColorBox(int index);
    void StoreRecordField(int64_t id, const std::string& field, const QString& text);
    void Reload();
    void ShowCount();
    void KeepCountTrue();
    void ShowListedButtons(bool show) { if (hooks_.showListedButtons) hooks_.showListedButtons(show); }

    db::RecordSource& dates_;
    Hooks hooks_;
    QWidget* client_ = nullptr;        // where the multi-word panel goes
    QObject* searchHook_ = nullptr;    // the search boxes' clicks and keys
    bool listing_ = false, listingDeleted_ = false, holding_ = false;
    std::optional<Listing> held_;
    std::vector<int64_t> listedIds_;
    // The IDs of the rows the grid's source holds now.
    std::vector<int64_t> ListedRowIds() const;
    std::string listedSource_, listedPath_;
    std::string countedSource_, countedPath_;  // the rows the count label counts
    std::string gridParamsSql_;
    std::vector<db::Value> gridParams_;
    std::map<int, QStringList> dateGridLists_;
    int64_t colorPanelRecord_ = 0;
    int32_t totalRecords_ = 0;
    int afterUpdateRow_ = -1;
    bool inAfterUpdate_ = false;
};

}  // namespace vm
