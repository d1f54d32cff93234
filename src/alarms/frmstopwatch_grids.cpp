// The stopwatch window's daily alarms and event log, both in the settings
// database.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <cstdio>
#include <initializer_list>
#include <utility>

#include "alarms/frmstopwatch.h"
#include "core/calendardocument.h"
#include "core/datesql.h"
#include "core/files.h"
#include "core/gridcells.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/stopwatch.h"
#include "mainwindow/windowhelpers.h"
#include "platform/datagrid.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "platform/steps.h"

namespace vm {
namespace {

const char* kAlarmsBase = "SELECT * FROM [Alarms] ";
const char* kEventLogBase = "SELECT * FROM [EventLog] ";
const char* kAmPmList[] = {"AM", "AMET", "PM", "PMET", "AMCT", "PMCT", "AMMT", "PMMT", "AMPT"};

// Kept for the run, across closing the window.
GridSortState g_alarmSort, g_eventSort;
std::string g_soundFolder;

QTableView* MakeGrid(QWidget* parent, const char* name, RecordGridModel* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setItemDelegate(new ValueListDelegate(grid));
    grid->setSortingEnabled(false);
    HeaderClickKeepsCurrentRecord(grid);
    return grid;
}

// The sound column holds a sound number or a wave file's full path.
std::string SoundCell(const QString& text, db::Value& out) {
    const std::string t = Trim(text.toStdString());
    if (t.empty()) return "";
    if (const auto n = PlainNumber(t)) {
        if (*n != static_cast<double>(static_cast<int64_t>(*n)) || *n < 0 || *n > 2147483647.0)
            return "\"" + t + "\" is not a sound number or a sound file for [SoundNum].";
        out = db::Int(static_cast<int64_t>(*n));
        return "";
    }
    out = db::Text(t);
    return "";
}

// Column widths in characters; the last column takes the rest of the grid.
void FitColumns(QTableView* grid, RecordGridModel* model, std::initializer_list<std::pair<const char*, int>> widths) {
    const int ch = grid->fontMetrics().horizontalAdvance('0');
    for (const auto& [field, chars] : widths) grid->setColumnWidth(model->fieldIndex(field), chars * ch + 12);
    grid->horizontalHeader()->setStretchLastSection(true);
}

}  // namespace

QWidget* frmStopWatch::MakeAlarmsTab() {
    auto* panel = new QWidget;
    panel->setObjectName("SSPanel4");
    auto* layout = new QVBoxLayout(panel);
    AlarmsModel = new RecordGridModel(DataAlarms, this);
    AlarmsModel->setObjectName("DataAlarms");
    TDBGridAlarms = MakeGrid(panel, "TDBGridAlarms", AlarmsModel);
    // A daily alarm no longer wanted is deleted, not only disabled; the queue forgets it.
    AllowRowDelete(TDBGridAlarms, AlarmsModel, DataAlarms, [this] { TDBGridAlarms_AfterColUpdate(0, 0); });
    layout->addWidget(TDBGridAlarms);
    connect(TDBGridAlarms, &QTableView::doubleClicked, this, [this] { TDBGridAlarms_DblClick(); });
    connect(TDBGridAlarms->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { TDBGridAlarms_HeadClick(c - 1); });
    return panel;
}

QWidget* frmStopWatch::MakeEventLogTab() {
    auto* panel = new QWidget;
    panel->setObjectName("SSPanel5");
    auto* layout = new QVBoxLayout(panel);
    EventLogModel = new RecordGridModel(DataEventLog, this);
    EventLogModel->setObjectName("DataEventLog");
    TDBGridEventLog = MakeGrid(panel, "TDBGridEventLog", EventLogModel);
    AllowRowDelete(TDBGridEventLog, EventLogModel, DataEventLog);
    txtEvent = new QLineEdit(panel);
    txtEvent->setObjectName("txtEvent");
    sscmdPost = new QPushButton("Post Event", panel);
    sscmdPost->setObjectName("sscmdPost");
    layout->addWidget(TDBGridEventLog);
    layout->addWidget(txtEvent);
    layout->addWidget(sscmdPost);
    connect(sscmdPost, &QPushButton::clicked, this, &frmStopWatch::sscmdPost_Click);
    connect(TDBGridEventLog->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { TDBGridEventLog_HeadClick(c - 1); });
    return panel;
}

void frmStopWatch::OpenGrids() {
    const std::string path = SettingsDatabaseInUse();
    const auto& settings = SettingsTables();
    const auto alarmsConvert = TableConverter(FindTable(settings, "Alarms"));
    AlarmsModel->setConverter([alarmsConvert](const std::string& field, const QString& text, db::Value& out) {
        if (field == "SoundNum") return SoundCell(text, out);
        // AM/PM is read in any case and stored upper-cased.
        const std::string why = alarmsConvert(field, field == "AMPM" ? text.toUpper() : text, out);
        if (!why.empty() || db::IsNull(out)) return why;
        // An hour of the 12-hour clock, a minute of the hour.
        const int64_t n = db::AsInt(out);
        if (field == "Hour" && (n < 0 || n > 12)) return std::string("The hour of a daily alarm is a number from 0 to 12.");
        if (field == "Minute" && (n < 0 || n > 59)) return std::string("The minute of a daily alarm is a number from 0 to 59.");
        return why;
    });
    AlarmsModel->setFormatter(TableFormatter(FindTable(settings, "Alarms")));
    AlarmsModel->setNewRowDefaults({{"Disable", db::Bool(false)}});
    AlarmsModel->setAfterUpdate([this](int r, int c) { TDBGridAlarms_AfterColUpdate(r, c); });
    AlarmsModel->setEditable(true);
    EventLogModel->setConverter(TableConverter(FindTable(settings, "EventLog")));
    EventLogModel->setFormatter(TableFormatter(FindTable(settings, "EventLog")));
    EventLogModel->setEditable(true);
    try {
        DataAlarms.setDatabaseName(path);
        DataAlarms.setRecordSource(std::string(kAlarmsBase) + "ORDER BY [Disable]DESC,[AMPM],[Hour],[Minute]");
        DataAlarms.refresh();
        AlarmsModel->reload();
        const int amPm = AlarmsModel->fieldIndex("AMPM");
        for (const char* v : kAmPmList) AlarmsModel->addToValueList(amPm, v);
        AlarmsModel->setCaption(AlarmsModel->fieldIndex("SoundNum"), "Sound Number");
        HideIdColumn(TDBGridAlarms, AlarmsModel);
        FitColumns(TDBGridAlarms, AlarmsModel, {{"Disable", 7}, {"Hour", 6}, {"Minute", 7}, {"AMPM", 7}, {"AlarmText", 22}});
    } catch (const db::DbError&) {
    }
    try {
        DataEventLog.setDatabaseName(path);
        // By the day, whichever form another tool wrote it in.
        DataEventLog.setRecordSource(std::string(kEventLogBase) + "ORDER BY " + DateSortKeySql("[Date]") +
                                     ",[Time],[Description]");
        DataEventLog.refresh();
        EventLogModel->reload();
        HideIdColumn(TDBGridEventLog, EventLogModel);
        FitColumns(TDBGridEventLog, EventLogModel, {{"Date", 11}, {"Time", 10}});
    } catch (const db::DbError&) {
    }
}

// An edited daily alarm takes effect at once.
void frmStopWatch::TDBGridAlarms_AfterColUpdate(int, int) {
    Module1.AlarmsChanged = true;
    OptionalStep([&] { Document().DailyAlarmsChanged(); });
}

void frmStopWatch::TDBGridAlarms_DblClick() {
    const QModelIndex at = TDBGridAlarms->currentIndex();
    if (!at.isValid() || at.column() != AlarmsModel->fieldIndex("SoundNum")) return;
    if (g_soundFolder.empty()) g_soundFolder = DataFolder();
    const std::string chosen = ShowFileDialog(g_soundFolder, 1, "Sound File  *.WAV|*.WAV;*.wav| Any File   *.*|*.*",
                                              "*.wav", "Open Sound File");
    if (chosen.empty()) return;
    const auto slash = chosen.find_last_of('/');
    if (slash != std::string::npos) g_soundFolder = chosen.substr(0, slash);
    AlarmsModel->storeCell(at.row(), at.column(), QString::fromStdString(chosen));
}

// Grid column c (the hidden [ID] not counted) sorted by its field, "ASC" or
// "DESC", with [ID] breaking ties; the current record stays current.
void frmStopWatch::SortGrid(bool alarms, int ColIndex) {
    RecordGridModel* model = alarms ? AlarmsModel : EventLogModel;
    db::RecordSource& source = alarms ? DataAlarms : DataEventLog;
    GridSortState& state = alarms ? g_alarmSort : g_eventSort;
    const int column = ColIndex + 1;
    if (column <= 0 || column >= model->columnCount()) return;
    const std::string field = model->fieldName(column);
    const std::string dir = state.click(field);
    try {
        RequeryKeepingRecord(alarms ? TDBGridAlarms : TDBGridEventLog, model, source,
                             std::string(alarms ? kAlarmsBase : kEventLogBase) +
                                 FieldOrderSql(field, dir, !alarms && ToLower(field) == "date"));
    } catch (const db::DbError&) {
    }
}

void frmStopWatch::TDBGridAlarms_HeadClick(int ColIndex) { SortGrid(true, ColIndex); }
void frmStopWatch::TDBGridEventLog_HeadClick(int ColIndex) { SortGrid(false, ColIndex); }

void frmStopWatch::sscmdPost_Click() {
    const LocalTime now = Clock().now();
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.hour, now.minute, now.second);
    try {
        DataEventLog.addNew();
        DataEventLog.setField("Date", db::Text(FormatIso(CivilDate{now.year, now.month, now.day})));
        DataEventLog.setField("Time", db::Text(time));
        DataEventLog.setField("Description", db::Text(txtEvent->text().toStdString()));
        DataEventLog.update();
        const std::optional<int64_t> keep = CurrentRecordId(TDBGridEventLog, EventLogModel);
        DataEventLog.refresh();
        EventLogModel->reload();
        if (keep) SelectRecord(TDBGridEventLog, EventLogModel, *keep);
    } catch (const db::DbError& e) {
        DataEventLog.cancelUpdate();
        Messages().message(e.what(), MsgButtons::Ok, MsgIcon::Critical, "sscmdPost_Click");
    }
}

}  // namespace vm
