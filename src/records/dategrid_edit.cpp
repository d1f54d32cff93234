// The date grid as an editable grid over dates_: its columns, captions,
// drop-down lists and aliases, the rules a typed value must meet, what a cell
// edit derives (day key, day colours, 24-hour hour, sound preview, the
// rebuild flag) and the header sort with the Hide toggle.
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QTableView>

#include <utility>

#include "core/calendardocument.h"
#include "core/datesql.h"
#include "core/gridcells.h"
#include "core/gridsearch.h"
#include "core/module1.h"
#include "core/monthcells.h"
#include "core/numtext.h"
#include "core/playwave.h"
#include "core/schema.h"
#include "platform/datagrid.h"
#include "platform/messages.h"
#include "platform/recordgrid.h"
#include "platform/steps.h"
#include "records/dategrid.h"

namespace vm {
namespace {

struct GridColumnDef {
    const char* field;
    const char* caption;
};
constexpr GridColumnDef kColumns[kDateGridColumns] = {
    {"Hide", "Hide"},       {"Date", "Date"},           {"Hour", "Hour"},
    {"Minute", "Min"},      {"AM_PM", "AM/PM"},         {"DateText", "DateText"},
    {"Duration", "Repeat Periods"}, {"Repeat", "Repeat Type"}, {"BGColor", "BackGround Color"},
    {"FGColor", "Font Color"}, {"DateType", "DateType"}, {"WorkDay", "WorkDay"},
    {"JulDate", "JulDate"}, {"Alarm", "Alarm-Min"},     {"SoundNum", "Sound File#"},
    {"Font", "Font"},       {"Priority", "Priority"},   {"DayColors", "Day Colors"},
    {"Hr24", "Hr24"}};

const char* const kAmPmList[] = {"AM", "PM", "AMET", "PMET", "AMCT", "PMCT", "AMMT", "PMMT", "AMPT", "PMPT"};
const char* const kRepeatList[] = {"None",    "Minute",           "Hour",     "Daily",     "Weekly",
                                   "Monthly", "Yearly",           "WeekMask-TFTTFTT", "YearWeek", "MonthWeek",
                                   "MonthLastDay", "Every",       "EveryMonth"};
const char* const kTypeList[] = {"Holiday", "Birthday", "Death Date", "Anniversary", "Wedding", "Project Start Date",
                                 "Project Complete Date"};

// The whole numbers a column of a date record can hold beyond its type.
struct Range {
    const char* field;
    int64_t low, high;
    const char* words;
};
constexpr Range kRanges[] = {{"Hour", 0, 12, "an Hour from 0 to 12"},
                             {"Minute", 0, 59, "a Minute from 0 to 59"},
                             {"Priority", 0, 255, "a Priority from 0 to 255"},
                             {"Hr24", 0, 23, "an Hr24 from 0 to 23"}};

RecordGridModel::Converter DateRecordConverter() {
    auto base = TableConverter(FindTable(CalendarTables(), "Velmora"));
    return [base](const std::string& field, const QString& text, db::Value& out) -> std::string {
        const std::string why = base(field, text, out);
        // A record keeps its date: the day key is derived from it.
        if (why.empty() && db::IsNull(out) && ToLower(field) == "date")
            return "A record must have a Date. Type it as M/D/YYYY.";
        if (!why.empty() || db::IsNull(out)) return why;
        for (const Range& r : kRanges)
            if (ToLower(field) == ToLower(r.field)) {
                const int64_t v = db::AsInt(out);
                if (v < r.low || v > r.high)
                    return "\"" + text.toStdString() + "\" is not " + r.words + ".";
            }
        return "";
    };
}

}  // namespace

const char* DateGridField(int i) { return i >= 0 && i < kDateGridColumns ? kColumns[i].field : ""; }
int DateGridIndexOf(const std::string& field) {
    for (int i = 0; i < kDateGridColumns; ++i)
        if (ToLower(field) == ToLower(kColumns[i].field)) return i;
    return -1;
}

int DateGrid::DateGridColumn(int gridIndex) const {
    if (!model || gridIndex < 0 || gridIndex >= kDateGridColumns) return -1;
    return model->fieldIndex(kColumns[gridIndex].field);
}

void DateGrid::ClearDateGridList(int gridIndex) {
    dateGridLists_.erase(gridIndex);
    if (const int m = DateGridColumn(gridIndex); m >= 0) model->clearValueList(m);
}

void DateGrid::AddDateGridListItem(int gridIndex, const QString& item) {
    dateGridLists_[gridIndex].append(item);
    if (const int m = DateGridColumn(gridIndex); m >= 0) model->addToValueList(m, item);
}

DateGrid::DateGrid(db::RecordSource& dates, QTableView* view, Hooks hooks, QObject* window)
    : QObject(window), dates_(dates), hooks_(std::move(hooks)) {
    setObjectName("DateGrid");
    TDBGridDates = view;
    model = new RecordGridModel(dates_, this);
    model->setObjectName("DataDates");
    view->setModel(model);
    // Before the pass binds the grid to its own query.
    connect(&Document(), &CalendarDocument::occurrencesStale, this, [this] { HoldListing(); });
}

DateGrid::~DateGrid() {
    // The grid's widgets belong to the window and outlive this object: the
    // view lets the model go (an open cell edit is stored as it goes) while
    // the records it reads are still there.
    if (TDBGridDates) TDBGridDates->setModel(nullptr);
    delete model;
    model = nullptr;
}

void DateGrid::Install(QWidget* client, QFrame* searchBar, QComboBox* filter, ColorPanel* colorPanel) {
    Combo3 = filter;
    SSPanelDayColor = colorPanel;
    InstallEditing();
    InstallSearchBar(client, searchBar);
    InstallCopyPanel(client);
    InstallColorPanelEdits();
    ApplyDateGridColumns();
}

void DateGrid::Reload() {
    if (model) model->reload();
}

void DateGrid::ReadListedAgain() {
    dates_.refresh();
    Reload();
}

void DateGrid::InstallEditing() {
    TDBGridDates->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed);
    TDBGridDates->setItemDelegate(new ValueListDelegate(TDBGridDates));
    const TableDef& table = FindTable(CalendarTables(), "Velmora");
    model->setFormatter(TableFormatter(table));
    model->setConverter(DateRecordConverter());
    // Records are added in the entry window: no new-row line here.
    model->setEditable(true, false);
    for (const char* v : kAmPmList) dateGridLists_[kColAmPm].append(v);
    for (const char* v : kRepeatList) dateGridLists_[kColRepeat].append(v);
    for (const char* v : kTypeList) dateGridLists_[kColDateType].append(v);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        ApplyDateGridColumns();
        KeepCountTrue();
    });
    model->setAfterUpdate([this](int row, int column) {
        if (inAfterUpdate_) return;  // the cells written below
        afterUpdateRow_ = row;
        TDBGridDates_AfterColUpdate(DateGridIndexOf(model->fieldName(column)));
        afterUpdateRow_ = -1;
        // Whatever the cell, the pass, the month, the week view and today's
        // alarms follow once the edit is stored.
        Document().RecordsWritten(CalendarDocument::Change::Changed);
    });
    HeaderClickKeepsCurrentRecord(TDBGridDates);
    connect(TDBGridDates->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section >= 0 && section < model->columnCount()) {
            const int g = DateGridIndexOf(model->fieldName(section));
            if (g >= 0) TDBGridDates_HeadClick(g);
        }
    });
    connect(TDBGridDates, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex&) { TDBGridDates_DblClick(); });
}

void DateGrid::ApplyDateGridColumns() {
    for (int c = 0; c < model->columnCount(); ++c) {
        model->clearValueList(c);
        TDBGridDates->setColumnHidden(c, false);
    }
    if (const int id = model->fieldIndex("ID"); id >= 0) TDBGridDates->setColumnHidden(id, true);
    for (int g = 0; g < kDateGridColumns; ++g) {
        const int m = DateGridColumn(g);
        if (m < 0) continue;
        model->setCaption(m, kColumns[g].caption);
        for (const QString& item : dateGridLists_[g]) model->addToValueList(m, item);
    }
    // The day key follows the Date cell; it is never typed on its own.
    if (const int m = DateGridColumn(kColJulDate); m >= 0) model->setColumnReadOnly(m);
    if (const int m = DateGridColumn(kColRepeat); m >= 0) {
        model->setAlias(m, "WeekMask-TFTTFTT", "Mask TFTTFTT");
        model->setAlias(m, "MonthLastDay", "MonLastDay");
    }
    FitHeadings();
}

// Every heading shows whole, also drawn bold as it is over a selected row: a
// column narrower than its heading widens (a column the user widened stays).
void DateGrid::FitHeadings() {
    QHeaderView* header = TDBGridDates->horizontalHeader();
    QFont bold = header->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < model->columnCount(); ++c) {
        const int wanted = metrics.horizontalAdvance(model->headerData(c, Qt::Horizontal).toString()) + 2 * margin;
        if (header->sectionSize(c) < wanted) header->resizeSection(c, wanted);
    }
}

void DateGrid::TDBGridDates_AfterColUpdate(int ColIndex) {
    const int row = afterUpdateRow_ >= 0 ? afterUpdateRow_ : TDBGridDates->currentIndex().row();
    if (row < 0 || row >= model->recordCount()) return;
    inAfterUpdate_ = true;
    auto cell = [&](int g) -> db::Value {
        const int m = DateGridColumn(g);
        return m >= 0 ? model->value(row, m) : db::Value{};
    };
    auto store = [&](int g, const std::string& text) {
        if (const int m = DateGridColumn(g); m >= 0) model->storeCell(row, m, QString::fromStdString(text));
    };
    if (ColIndex == kColDate) {
        OptionalStep([&] {
            if (const auto date = ReadStoredDate(db::AsText(cell(kColDate)))) {
                store(kColJulDate, IntText(Date2Julian(*date)));
                const int shown = hooks_.shownMonth ? hooks_.shownMonth() : 0;
                const int month = shown >= 1 && shown <= 12 ? shown : date->m;
                const MonthAppearance& look = MainState.Month[size_t(month)];
                const int style = hooks_.calendarStyle ? hooks_.calendarStyle() : kStyleMixed;
                store(kColDayColors, DateEditDayColors(look.DayFG, look.DayBG, style));
            }
        });
    } else if (ColIndex == kColHour || ColIndex == kColAmPm) {
        OptionalStep([&] {
            const db::Value hr24 = cell(kColHr24);
            std::optional<int> current;
            if (!db::IsNull(hr24)) current = static_cast<int>(db::AsInt(hr24));
            const std::string typed = db::AsText(cell(kColAmPm));
            const HourEdit e =
                HourEditResult(db::AsInt(cell(kColHour)), typed, current, db::IsNull(cell(kColMinute)));
            if (e.ampm != typed) store(kColAmPm, e.ampm);
            if (e.minuteZero) store(kColMinute, "0");
            if (e.hr24 && e.hr24 != current) store(kColHr24, IntText(*e.hr24));
        });
    } else if (ColIndex == kColSound) {
        OptionalStep([&] {
            const db::Value v = cell(kColSound);
            const int64_t n = db::AsInt(v);
            if (db::IsNull(v) || n < 0 || n > 30) return;
            Module1.CurSoundFile = Module1.SoundFile[size_t(n)];
            PlayWaveFile(Module1.CurSoundFile);
        });
    }
    inAfterUpdate_ = false;
}

std::vector<db::Value> DateGrid::GridParams() const {
    return MainState.pSQL == gridParamsSql_ ? gridParams_ : std::vector<db::Value>{};
}

void DateGrid::TDBGridDates_HeadClick(int ColIndex) {
    static GridSortState sortState;  // for the whole run
    const char* field = DateGridField(ColIndex);
    if (!*field) return;
    const std::string direction = sortState.click(field);
    bool flipped = false;
    listing_ = false;
    ShowListedButtons(false);
    if (ColIndex == kColHide) {
        WriteStep("The hidden rows", [&] {
            if (Messages().message("Do you want to Hide/UnHide All Data Rows?", MsgButtons::YesNo, MsgIcon::Critical,
                                   "Hide Data") == MsgResult::No)
                return;
            const int id = model->fieldIndex("ID");
            if (id < 0) return;
            db::Database& store = dates_.database();
            db::Transaction transaction(store);
            db::Statement flip = store.prepare(
                "UPDATE [Velmora] SET [Hide] = CASE WHEN IFNULL([Hide], 0) <> 0 THEN 0 ELSE -1 END WHERE [ID] = ?");
            for (int r = 0; r < dates_.recordCount(); ++r) {
                flip.bind(1, dates_.valueAt(r, id));
                flip.run();
            }
            transaction.commit();
            flipped = dates_.recordCount() > 0;
        });
    }
    if (MainState.pSQL.empty()) MainState.pSQL = kGridSelect;
    MainState.pSQLOrder = FieldOrderSql(field, direction, ColIndex == kColDate);
    OptionalStep([&] {
        RequeryKeepingRecord(TDBGridDates, model, dates_, MainState.pSQL + MainState.pSQLOrder,
                             GridParams());
    });
    // Hidden records leave the occurrences, shown ones come back.
    if (flipped) {
        Document().RecordsWritten(CalendarDocument::Change::Changed);
        Document().Settle();
    }
}

void DateGrid::HoldListing() {
    if (holding_) return;
    holding_ = true;
    held_ = SaveListing();
}

void DateGrid::GiveBackListing() {
    if (!holding_) return;
    holding_ = false;
    if (held_) RestoreListing(*held_);
    held_.reset();
}

std::optional<DateGrid::Listing> DateGrid::SaveListing() {
    if (std::exchange(listingDeleted_, false)) return std::nullopt;
    Listing l;
    l.sql = MainState.pSQL;
    l.order = MainState.pSQLOrder;
    l.source = dates_.recordSource();
    l.params = dates_.parameters();
    l.paramsSql = gridParamsSql_;
    l.gridParams = gridParams_;
    l.id = CurrentRecordId(TDBGridDates, model);
    l.column = TDBGridDates->currentIndex().column();
    return l;
}

void DateGrid::RestoreListing(const Listing& l) {
    MainState.pSQL = l.sql;
    MainState.pSQLOrder = l.order;
    gridParamsSql_ = l.paramsSql;
    gridParams_ = l.gridParams;
    if (l.source.empty()) return;
    OptionalStep([&] {
        if (dates_.recordSource() != l.source || dates_.parameters() != l.params) {
            dates_.setRecordSource(l.source);
            dates_.setParameters(l.params);
            dates_.refresh();
            model->reload();
        }
        if (!l.id || !SelectRecord(TDBGridDates, model, *l.id) || l.column < 0) return;
        TDBGridDates->setCurrentIndex(model->index(TDBGridDates->currentIndex().row(), l.column));
    });
}

}  // namespace vm
