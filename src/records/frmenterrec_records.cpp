// The entry window's record operations: add and save, load, stepping through
// the record set, and the text search.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

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
    try {
        if (mode == 1) {
            Data1.setDatabaseName(Module1.CalendarFilePath);
            Data1.setRecordSource(EntryAllByDate());
            Data1.refresh();
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
            Data1.edit();
        }
        WriteEntrySave(Data1, save);
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
        // A full disk or a read-only file: the plain sentence every write gives.
        if (!ShowPlainWriteFailure(std::current_exception()))
            Messages().message(std::to_string(e.number()) + " - " + e.what(), MsgButtons::Ok, MsgIcon::Critical,
                               "SaveRecord_Error");
        return false;
    }
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
    } catch (const std::exception&) {
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
        if (key == "DoubleLeftArrow") Data1.moveFirst();
        else if (key == "LeftArrow") Data1.movePrevious();
        else if (key == "RightArrow") Data1.moveNext();
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
    } catch (const std::exception&) {
    }
    LoadRecord();
}

}  // namespace vm
