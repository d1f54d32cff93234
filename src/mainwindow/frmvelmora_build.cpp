// The month build: numbers the 42 cells of the month in the month and year
// boxes, gives them the month's look, copies the month's occurrences and
// date records into [Sorting], writes every entry into its cell, and shows
// the result on the labels. Also the fonts of the cells and headings.
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include "alarms/alarmtimer.h"
#include "core/alarmqueue_rows.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/monthlayout.h"
#include "core/numtext.h"
#include "core/sorting.h"
#include "mainwindow/celllabel.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/pictures.h"
#include "mainwindow/splash.h"
#include "records/dategrid.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "platform/steps.h"
#include "repeat/changecount.h"

namespace vm {
namespace {

// Error numbers of the month build that are passed over.
constexpr int kSubscriptOutOfRange = 9;
constexpr int kInvalidPropertyValue = 380;
constexpr int kNoCurrentRecord = 3021;
constexpr int kObjectMissing = 91;
constexpr int kItemNotInCollection = 3265;

bool ValidMonth(int m) { return m >= 1 && m <= 12; }

// The steps of the build the splash bar shows after a long first pass.
constexpr int kFinishingSteps = 4;

QColor ColorOf(int32_t n) { return QColor(n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF); }

QFont FontOf(const FontLook& look, QFont font) {
    const std::string family = Trim(look.name);
    if (!family.empty()) font.setFamily(QString::fromStdString(family));
    if (look.size > 0) font.setPointSizeF(look.size);
    font.setBold(look.bold);
    font.setItalic(look.italic);
    font.setUnderline(look.underline);
    font.setStrikeOut(look.strikeout);
    return font;
}

// Writes a label's look, touching only what changed since `before`.
void ShowLook(QLabel* label, const LabelLook& look, const LabelLook* before) {
    if (!before || before->caption != look.caption) label->setText(QString::fromStdString(look.caption));
    if (!before || before->tooltip != look.tooltip) label->setToolTip(QString::fromStdString(look.tooltip));
    if (!before || before->fore != look.fore || before->back != look.back) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, ColorOf(look.fore));
        p.setColor(QPalette::Window, ColorOf(look.back));
        label->setPalette(p);
    }
    if (!before || before->opaque != look.opaque) label->setAutoFillBackground(look.opaque);
    if (!before || before->font != look.font) label->setFont(FontOf(look.font, label->font()));
    if (!before || before->visible != look.visible) label->setVisible(look.visible);
}

// Runs a build at a time; a request during a build is kept for after it.
struct BuildGuard {
    bool& flag;
    explicit BuildGuard(bool& f) : flag(f) { flag = true; }
    ~BuildGuard() { flag = false; }
};

}  // namespace

frmVelmora::PaintHold::PaintHold(frmVelmora& w) : w_(w) {
    if (w_.paintHeld_++ == 0 && w_.centralWidget()) w_.centralWidget()->setUpdatesEnabled(false);
}

frmVelmora::PaintHold::~PaintHold() {
    if (--w_.paintHeld_ == 0 && w_.centralWidget()) w_.centralWidget()->setUpdatesEnabled(true);
}

void frmVelmora::BuildCalendarNumbers() {
    if (building_) {
        buildPending_ = true;
        return;
    }
    BuildGuard guard(building_);
    // The pending events still run where the build lets them; the cells are
    // painted once, when the month is whole.
    PaintHold hold(*this);
    do {
        buildPending_ = false;
        deepestBuild_ = std::max(deepestBuild_, ++buildDepth_);
        RunMonthBuild();
        --buildDepth_;
        ++buildsRun_;
    } while (buildPending_);
}

void frmVelmora::RunMonthBuild() {
    Operation op("BuildCalendarNumbers_Error", "At Error Point: ");
    op.standing(monthWriteFailure_);  // a full disk is said once, not at every month step
    op.onError([](int n) {
        if (n == kSubscriptOutOfRange || n == kInvalidPropertyValue || n == kNoCurrentRecord || n == db::kNoCurrentRow)
            return OnError::Next;
        if (n == kObjectMissing) return OnError::End;
        return OnError::Message;
    });
    op.iErPt = 1;
    if (!FileExists(Module1.CalendarFilePath)) {
        SetWaitCursor(false);
        return;
    }
    SetWaitCursor(true);
    drawnOn_ = Today();
    bool sortingFilled = false;
    db::Database* store = nullptr;

    [&] {
        Combo3->setCurrentText("Select Repeating Data");
        txtDuration->setText(tmrWait->isActive() ? "True" : "False");
        // [Sorting] is emptied together with its filling below (one write).
        if (!op.step(1, [&] {
                DataDates.setDatabaseName(Module1.CalendarFilePath);
                store = &DataDates.database();
            }))
            return;
        if (!store) return;

        const std::string monthText = cmbMonth->currentText().toStdString();
        const std::string yearText = cmbYear->currentText().toStdString();
        op.iErPt = 2;
        GetMonthNumber(monthText, pCurMon);
        if ((pCalendarStyle == kStyleMixed || pCalendarStyle == kStyleAllTransparent) && ValidMonth(pCurMon)) {
            // A month with no picture named shows none; a named file that is
            // missing leaves the picture as it was.
            const std::string& named = Module1.MonthImageFile[size_t(pCurMon)];
            const std::string picture = ResolveDataPath(named);
            if (Trim(named).empty())
                ClearMonthPicture();
            else if (!picture.empty() && FileExists(picture))
                ShowMonthPicture(picture);
        }
        DoEvents();
        lblMonth->setText(QString::fromStdString(monthText + " " + yearText));
        ShowCells(cells_, pCalendarShown);
        Form_Resize();
        if (!pCalendarShown) {  // nothing drawn; today's alarms follow the calendar all the same
            SetAlarms();
            return;
        }

        pCalendarRows = 6;
        const CivilDate today = Today();  // one day for the frame and the alarms' rows, also across midnight
        const std::optional<MonthFrame> frame = MakeMonthFrame(pCurMon, yearText, today);
        if (!frame) return;
        op.iErPt = 3;
        NumberCells(cells_, *frame, monthText, yearText, CellJulDate, CellColors);
        op.iErPt = 4;
        MonthAppearance& month = MainState.Month[size_t(frame->month)];
        Module1.SelDayBackColor = std::abs(month.DayBG);
        op.iErPt = 5;
        ApplyMonthAppearance(cells_, month, pCalendarStyle, CellColors);
        op.iErPt = 6;
        MarkToday(cells_, frame->todayCell, pCalendarStyle);
        SetDayNameFonts(pCurMon);

        op.iErPt = 7;
        // The month's date records are bound first, so the rows are placed once.
        const bool bound = op.step(8, [&] { BindMonthRecords(*frame); });
        // Taken before the rows are read: a write after it is a change.
        const ChangeCount changes = ReadChangeCount(*store);
        const std::optional<SortedMonth> sorted =
            changes.watched ? MonthNow(*store, changes.changes, frame->firstKey, frame->lastKey(), frame->firstCell)
                            : std::nullopt;
        std::vector<SortingRow> rows;
        // Today's alarms take yesterday's to tomorrow's rows from the month's
        // when it holds those days whole.
        const bool alarmDays = frame->todayCell && today.d > 1 && today.d < frame->daysInMonth;
        WholeCells alarmCells;
        if (alarmDays) alarmCells = {*frame->todayCell - 1, *frame->todayCell + 1, {}};
        std::optional<RowsInHand> alarmRows;
        bool placed = false;
        if (bound && sorted &&
            !op.step(11, [&] { placed = PlaceKeptMonth(*store, *sorted, *frame, alarmDays ? &alarmCells : nullptr); }))
            return;
        if (placed) {  // the same month of an unchanged calendar, from [Sorting]
            RefreshDateGrid();
            sortingFilled = true;
            if (alarmDays && alarmCells.read) alarmRows = RowsInHand{today, std::move(alarmCells.rows)};
        } else {
            const bool occurrencesRead =
                OccurrencesPass(*frame, rows, bound ? static_cast<size_t>(DataDates.recordCount()) : 0);
            ShowSplashFinishing(1, kFinishingSteps);  // after a long first pass at start-up
            if (!bound || !op.step(8, [&] { DateRecordPass(*frame, rows); })) return;
            ShowSplashFinishing(2, kFinishingSteps);

            // The cells are filled from the rows in hand; [Sorting] keeps them for
            // the other readers.
            if (!op.step(11, [&] {
                    ArrangeForDisplay(rows);
                    StoreSorting(*store, rows, sorted ? &*sorted : nullptr);
                    sortingFilled = true;
                }))
                return;
            if (alarmDays && occurrencesRead && op.lastError() == 0) {
                // Arranged by cell: those days' rows lie together.
                auto in = [&](const SortingRow& r) { return r.DayNo >= alarmCells.from && r.DayNo <= alarmCells.to; };
                const auto first = std::find_if(rows.begin(), rows.end(), in);
                alarmRows = RowsInHand{today, {first, std::find_if_not(first, rows.end(), in)}};
            }
        }
        ShowSplashFinishing(3, kFinishingSteps);
        op.iErPt = 111;
        EntryReadings readings;
        for (const auto& entry : rows) PlaceEntry(cells_, CellColors, entry, &readings);
        op.iErPt = 115;
        ReapplyToday(cells_, frame->todayCell);

        op.iErPt = 12;
        pCalendarRows = static_cast<int16_t>(TrailingCells(cells_, *frame));
        op.iErPt = 14;
        SetAlarmsWith(alarmRows ? &*alarmRows : nullptr);
        DataDates.moveFirst();
    }();

    if (store && !sortingFilled && op.step(6, [&] { StoreSorting(*store, {}, nullptr); })) sortingFilled = true;
    if (sortingFilled) monthWriteFailure_.said.clear();
    ShowCellLooks();
    ShowSplashFinishing(kFinishingSteps, kFinishingSteps);
    SetWaitCursor(false);
}

void frmVelmora::StoreSorting(db::Database& store, const std::vector<SortingRow>& rows, const SortedMonth* month) {
    // The same month shown again leaves the table as it is: no write, no
    // sync. The first build on a file takes the stamp kept with the rows,
    // else reads back what the table holds (and keeps its stamp).
    const uint64_t stamp = SortingFingerprint(store, rows);
    bool same = false, stampKept = true;
    if (sortingFile_ == Module1.CalendarFilePath) {
        same = sortingStamp_ == stamp && CountSortingRows(store) == static_cast<int64_t>(rows.size());
    } else if (const std::optional<uint64_t> kept = KeptSortingStamp(store)) {
        same = *kept == stamp;
    } else {
        same = StoredSortingFingerprint(store) == stamp;
        stampKept = false;
    }
    if (same) {
        sortingFile_ = Module1.CalendarFilePath;
        sortingStamp_ = stamp;
        // The same rows without their stamp, or read after another change:
        // the stamp and the month they are of are kept anew, so the next
        // build reads them back.
        if (!stampKept || (month && KeptMonth(store) != *month)) {
            try {
                KeepSortingStamp(store, stamp, month);
            } catch (const std::exception&) {  // the next build reads the month again
            }
        }
        return;
    }
    sortingFile_.clear();
    ReplaceSortingRows(store, rows, stamp, month);
    sortingFile_ = Module1.CalendarFilePath;
    sortingStamp_ = stamp;
}

bool frmVelmora::PlaceKeptMonth(db::Database& store, const SortedMonth& month, const MonthFrame& frame,
                                WholeCells* whole) {
    if (KeptMonth(store) != month) return false;
    const std::optional<uint64_t> stamp = KeptSortingStamp(store);
    if (!stamp) return false;
    // The rows come in display order, a cell's together: each cell is marked
    // before its first entry is written, as when the rows are all in hand.
    const MonthAppearance& look = MainState.Month[size_t(frame.month)];
    std::array<bool, kCellCount> marked{};
    EntryReadings readings;
    const bool read = ForEachSortingRowForCells(store, [&](const SortingRow& r) {
        if (r.DayNo >= 0 && r.DayNo < kCellCount && !std::exchange(marked[size_t(r.DayNo)], true))
            MarkEntryCell(cells_, r.DayNo, frame.todayCell, pCalendarStyle, look.TitleBG, look.TitleFG);
        PlaceEntry(cells_, CellColors, r, &readings);
    }, whole);
    if (!read) return false;
    sortingFile_ = Module1.CalendarFilePath;
    sortingStamp_ = *stamp;
    return true;
}

bool frmVelmora::OccurrencesPass(const MonthFrame& frame, std::vector<SortingRow>& rows, size_t room) {
    if (!FileExists(Module1.CalendarFilePath)) return false;
    Operation op("BuildRepeatingDataSub_Error", "@iErPt: ");
    op.onError([](int n) { return n == kItemNotInCollection || n == db::kNoField ? OnError::Next : OnError::Message; });
    std::vector<SortingRow> found;
    if (!op.step(1, [&] {
            found = ReadMonthOccurrences(DataDates.database(), frame.firstKey, frame.lastKey(), frame.firstCell, room);
        }))
        return false;
    const MonthAppearance& month = MainState.Month[size_t(frame.month)];
    op.step(5, [&] {
        for (const auto& r : found)
            MarkEntryCell(cells_, r.DayNo, frame.todayCell, pCalendarStyle, month.TitleBG, month.TitleFG);
    });
    if (rows.empty())
        rows = std::move(found);
    else
        rows.insert(rows.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    return true;
}

void frmVelmora::BindMonthRecords(const MonthFrame& frame) {
    MainState.pSQL = MonthRangeSQL("Velmora", frame.firstKey, frame.lastKey());
    MainState.pSQLOrder = kMonthQueryOrder;
    Module1.MonthQuerySQL = MainState.pSQL;
    Module1.MonthQueryOrder = MainState.pSQLOrder;
    DataDates.setDatabaseName(Module1.CalendarFilePath);
    DataDates.setRecordSource(MainState.pSQL + MainState.pSQLOrder);
    DataDates.refresh();
}

void frmVelmora::DateRecordPass(const MonthFrame& frame, std::vector<SortingRow>& rows) {
    // The rows the grid's source read: the month's query runs once.
    std::vector<SortingRow> found = ReadMonthDateRecords(DataDates, frame.firstKey, frame.firstCell);
    const MonthAppearance& month = MainState.Month[size_t(frame.month)];
    for (const auto& r : found)
        MarkEntryCell(cells_, r.DayNo, frame.todayCell, pCalendarStyle, month.TitleBG, month.TitleFG);
    rows.insert(rows.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    RefreshDateGrid();
}

void frmVelmora::ShowCellLooks() {
    for (int i = 0; i < kCellCount; ++i) {
        ShowLook(lblTitle[size_t(i)], cells_.title[size_t(i)], shownOnce_ ? &shown_.title[size_t(i)] : nullptr);
        ShowLook(lblDay[size_t(i)], cells_.day[size_t(i)], shownOnce_ ? &shown_.day[size_t(i)] : nullptr);
    }
    shown_ = cells_;
    shownOnce_ = true;
}

void frmVelmora::ShowMonthPicture(const std::string& path) {
    // The same unchanged file is not read again.
    const qint64 stamp = QFileInfo(QString::fromStdString(path)).lastModified().toMSecsSinceEpoch();
    if (path == picturePath_ && stamp == pictureStamp_) return;
    const QPixmap picture = WholePicture(path);  // read ahead at start-up
    if (picture.isNull()) return ClearMonthPicture();  // never another month's picture
    Image1->setPixmap(picture);
    picturePath_ = path;
    pictureStamp_ = stamp;
}

void frmVelmora::ClearMonthPicture() {
    if (picturePath_.empty() && Image1->pixmap().isNull()) return;
    Image1->clear();
    picturePath_.clear();
    pictureStamp_ = 0;
}

void frmVelmora::SetAlarms() { SetAlarmsWith(nullptr); }

// Midnight passed: today's alarms are built, and once they are, the shown
// month marks the new today (once a day: a build tried again until a file
// can be read draws nothing meanwhile).
void frmVelmora::DayChanged() {
    SetAlarms();
    const CivilDate today = Today();
    if (!drawnOn_.valid() || drawnOn_ == today || passesRunning_ > 0 || !pCalendarShown) return;
    if (!alarmTimer || alarmTimer->builtFor() != today) return;
    const int shownYear = ShownYear();
    const bool marked =
        (drawnOn_.y == shownYear && drawnOn_.m == pCurMon) || (today.y == shownYear && today.m == pCurMon);
    drawnOn_ = today;
    if (marked) OptionalStep([&] { cmbmonth_Click(); });
}

void frmVelmora::SetAlarmsWith(RowsInHand* inHand) {
    if (passesRunning_ > 0) {
        alarmsAfterPass_ = true;  // the pass's end rebuilds
        return;
    }
    if (alarmTimer) alarmTimer->SetAlarms(inHand);
}

// ---------------------------------------------------------------- fonts

int16_t frmVelmora::TitleHeightFromFontSize(double size) {
    const int16_t h = layout::TitleHeightFromFontSize(size);
    Module1.TitleLabelHeight = h;
    return h;
}

void frmVelmora::SetDayLabelFonts() {
    if (ValidMonth(pCurMon)) {
        const MonthAppearance& month = MainState.Month[size_t(pCurMon)];
        TitleHeightFromFontSize(month.TitleFntSiz.toDouble());
        ApplyDayLabelFonts(cells_, month);
        ShowCellLooks();
    }
    LayoutDayGrid();
}

void frmVelmora::SetDayNameFonts(int month) {
    for (int i = 0; i < 7; ++i) {
        QLabel* heading = DOW[size_t(i)];
        const TwipsRect cell = TwipsOf(lblDay[size_t(i)]);
        TwipsRect r = TwipsOf(heading);
        r.left = layout::CentredLeft(cell.left, cell.width, r.width);
        SetTwips(heading, r);
    }
    if (!ValidMonth(month)) return;
    const MonthAppearance& m = MainState.Month[size_t(month)];
    auto titleFont = [&](QLabel* label) {
        QFont f = label->font();
        if (!m.TitleFntName.empty()) f.setFamily(QString::fromStdString(m.TitleFntName));
        f.setBold(m.TitleFntBold);
        f.setItalic(m.TitleFntItalic);
        label->setFont(f);
    };
    for (QLabel* heading : DOW) titleFont(heading);
    titleFont(lblMonth);
}

}  // namespace vm
