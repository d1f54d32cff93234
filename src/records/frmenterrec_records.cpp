// The entry window's record operations: add and save, load, stepping through
// the record set, and the text search.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <utility>

#include "core/calendardocument.h"
#include "core/calendarfiles.h"
#include "core/module1.h"
#include "platform/messages.h"
#include "platform/steps.h"
#include "records/combotext.h"
#include "records/frmenterrec.h"

namespace vm {
namespace {

constexpr const char* kRefusedTitle = "Record Not Saved";

void SetBase(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, color);
    w->setPalette(p);
}

}  // namespace

EntryBoxes frmEnterRec::boxes() const {
    EntryBoxes b;
    b.hide = Check2->isChecked();
    b.workDay = Check1->isChecked();
    b.date = txtDate->text().toStdString();
    b.hour = ComboText(cmbHour);
    b.minute = ComboText(cmbMinute);
    b.ampm = ComboText(cmbAMPM);
    b.dateText = txtDateText->toPlainText().toStdString();
    b.repeatNo = txtRepeatNo->text().toStdString();
    b.repeatType = ComboText(cmbRepeatType);
    b.dayType = ComboText(cmbDayType);
    b.alarm = txtAlrmMin->text().toStdString();
    b.sound = txtSndNo->text().toStdString();
    b.font = ComboText(Combo4);
    b.colors = ComboText(cmbColors);
    b.priority = txtPriority->text().toStdString();
    return b;
}

void frmEnterRec::setBoxes(const EntryBoxes& b) {
    Check2->setChecked(b.hide);
    txtDate->setText(QString::fromStdString(b.date));
    SetComboText(cmbHour, b.hour);
    SetComboText(cmbMinute, b.minute);
    SetComboText(cmbAMPM, b.ampm);
    txtDateText->setPlainText(QString::fromStdString(b.dateText));
    txtRepeatNo->setText(QString::fromStdString(b.repeatNo));
    SetComboText(cmbRepeatType, b.repeatType);
    SetComboText(cmbDayType, b.dayType);
    Check1->setChecked(b.workDay);
    txtAlrmMin->setText(QString::fromStdString(b.alarm));
    txtSndNo->setText(QString::fromStdString(b.sound));
    SetComboText(Combo4, b.font);
    SetComboText(cmbColors, b.colors);
    txtPriority->setText(QString::fromStdString(b.priority));
}

void frmEnterRec::sscmdAddRecord_Click() {
    if (ComboText(cmbColors) == entry::kColorsDesign) {
        Messages().message(
            "You Need to Select Font and Background Colors. Click on the Color Button and a Small Form will be "
            "Displayed, or Click the Colors Drop Down Box",
            MsgButtons::Ok, MsgIcon::Information, "Select Colors");
        SetBase(cmbColors, QColor(0xFF, 0xD5, 0xEA));  // &HEAD5FF, light pink
        return;
    }
    SetBase(cmbColors, QPalette().color(QPalette::Base));
    if (!SaveRecord(1)) return;
    sscmdSaveRecord->show();
    sscmdAddRecord->hide();
}

void frmEnterRec::sscmdSaveRecord_Click() { SaveRecord(2); }

bool frmEnterRec::SaveRecord(int16_t mode) {
    // Everything is checked before anything is written; the boxes keep what
    // was typed when it cannot be.
    if (!CalendarIsWritable(mode == 1 ? "Add Record" : "Save Record")) return false;
    const EntrySave save = PlanEntrySave(boxes());
    if (!save.ok()) {
        CriticalBox(save.refusal, kRefusedTitle);
        return false;
    }
    int at = -1;  // the row of the record saved into
    try {
        if (mode == 1) {
            Data1.setDatabaseName(Module1.CalendarFilePath);
            Data1.setRecordSource(EntryAllByDate());
            Data1.refresh();
            goneAt_ = -1;  // another set of rows
            Data1.addNew();
        } else {
            Data1.reopenIfStale();  // the file replaced, or writable again, since the record was shown
            if (!Data1.isOpen() || Data1.bof() || Data1.eof()) {
                Messages().message(
                    "There Is No Current Record to Save. Step to a Record First, or Use New and Add Record for a New "
                    "One.",
                    MsgButtons::Ok, MsgIcon::Information, "Save Record");
                return false;
            }
            // The record as it is now: what another window wrote into it
            // meanwhile stays, unless the boxes changed that column.
            at = Data1.absolutePosition();
            if (!Data1.rereadCurrent()) {
                RecordGoneBox(at);
                return false;
            }
            Data1.edit();
        }
        WriteEntrySave(Data1, mode == 1 ? save : ChangedSince(save, PlanEntrySave(loadedBoxes_)));
        Data1.update();
        if (mode == 1) {
            // The added record becomes the current one, so that Save Record
            // edits it and no other.
            Data1.moveLast();
            const int64_t id = db::AsInt(Data1.field("ID"));
            Data1.refresh();
            Data1.findFirst(id);
        }
    } catch (const db::DbError& e) {
        Data1.cancelUpdate();
        if (e.number() == db::kRowDeleted) {
            RecordGoneBox(at);
            return false;
        }
        // A full disk or a read-only file: the plain sentence every write gives.
        if (!ShowPlainWriteFailure(std::current_exception()))
            Messages().message(std::to_string(e.number()) + " - " + e.what(), MsgButtons::Ok, MsgIcon::Critical,
                               "SaveRecord_Error");
        return false;
    }
    loadedBoxes_ = boxes();  // what the record now holds
    // The pass, the month, the week view and today's alarms follow.
    ++writesTold_;
    Document().RecordsWritten(mode == 1 ? CalendarDocument::Change::Added : CalendarDocument::Change::Changed);
    Document().Settle();
    return true;
}

void frmEnterRec::LoadRecord() {
    try {
        if (!Data1.isOpen() || Data1.bof() || Data1.eof()) return;  // the boxes keep what they show
        setBoxes(EntryBoxesFromRecord(Data1));
        loadedBoxes_ = boxes();
    } catch (const std::exception&) {
    }
}

// The record shown, at row `at` of the set, is gone: nothing is saved until a
// record is stepped to, and the next step starts where it was.
void frmEnterRec::RecordGone(int at) {
    sscmdSaveRecord->hide();
    goneAt_ = at;
    rowsStale_ = true;
}

void frmEnterRec::RecordGoneBox(int at) {
    RecordGone(at);
    Messages().message("The Record Shown Was Deleted Meanwhile: the Changes Were Not Stored.", MsgButtons::Ok,
                       MsgIcon::Exclamation, "Save Record");
}

// Another window wrote records: the rows stepped through are read again at
// the next step, and a record shown with no edit typed shows what it holds now.
void frmEnterRec::FollowRecordsWritten() {
    rowsStale_ = true;
    if (!isVisible() || !sscmdSaveRecord->isVisible() || boxes() != loadedBoxes_) return;
    try {
        if (!Data1.isOpen() || Data1.bof() || Data1.eof() || !Data1.editable()) return;
        const int at = Data1.absolutePosition();
        if (Data1.rereadCurrent()) LoadRecord();
        else RecordGone(at);
    } catch (const std::exception&) {
    }
}

// Reads the rows again, on the same record when it is still there, else on
// the row that took its place. False when the record is gone.
bool frmEnterRec::ReadRowsAgain() {
    rowsStale_ = false;
    const int goneAt = std::exchange(goneAt_, -1);
    if (!Data1.isOpen()) return true;
    try {
        const bool onRow = !Data1.bof() && !Data1.eof();
        const int at = onRow ? Data1.absolutePosition() : goneAt;
        const int64_t id = onRow && Data1.hasField("ID") ? db::AsInt(Data1.field("ID")) : 0;
        Data1.refresh();
        if (at < 0) return true;
        if (onRow && Data1.findFirst(id)) return true;
        Data1.setAbsolutePosition(std::min(at, Data1.recordCount()));
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

void frmEnterRec::Toolbar1_ButtonClick(const QString& key) {
    sscmdAddRecord->hide();
    sscmdSaveRecord->hide();
    if (key == "color-wheel-16") {
        showPanel(SSPanel3, nullptr);
    } else if (key == "font-16") {
        SelectFont();
    } else if (key == "New") {
        sscmdAddRecord->show();
        InitEntryForm();
    } else {
        sscmdSaveRecord->show();
        // The record shown gone: the row after it has taken its place.
        const bool gone = rowsStale_ && !ReadRowsAgain();
        if (key == "DoubleLeftArrow") Data1.moveFirst();
        else if (key == "LeftArrow") Data1.movePrevious();
        else if (key == "RightArrow" && !gone) Data1.moveNext();
        else if (key == "DoubleRightArrow") Data1.moveLast();
        LoadRecord();
    }
}

void frmEnterRec::sscmdSrch2DoLst_Click() {
    if (!CalendarIsOpen("Search")) return;
    try {
        Data1.setDatabaseName(Module1.CalendarFilePath);
        const auto ids = FindDateTextIds(Data1.database(), txtSearch->text().toStdString());
        Data1.setRecordSource(EntryIdsSource(ids));
        Data1.refresh();
        goneAt_ = -1;  // another set of rows
        Data1.moveLast();
        Data1.moveFirst();
    } catch (const std::exception&) {
    }
    LoadRecord();
}

void frmEnterRec::sscmdClearSrch_Click() {
    txtSearch->setText(entry::kSearch);
    try {
        Data1.setDatabaseName(Module1.CalendarFilePath);
        Data1.setRecordSource(EntryAllByDate());
        Data1.refresh();
        goneAt_ = -1;  // another set of rows
    } catch (const std::exception&) {
    }
    LoadRecord();
}

}  // namespace vm
