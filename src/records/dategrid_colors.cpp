// The date grid's double click (the font dialog on a Font cell, the record
// colour panel on a Day Colors cell) and the panel's own part: the title, the
// colour boxes' click, double click, keys and preview, and Save, which writes
// into the record the panel was opened on.
#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <functional>

#include "core/calendardocument.h"
#include "core/numtext.h"
#include "core/recordpanel.h"
#include "core/recordstyle.h"
#include "platform/controls.h"
#include "records/colorpanel.h"
#include "platform/messages.h"
#include "platform/pickers.h"
#include "platform/recordgrid.h"
#include "platform/steps.h"
#include "records/dategrid.h"

namespace vm {
namespace {

QColor FromNumber(long n) {
    return QColor(static_cast<int>(n & 0xFF), static_cast<int>((n >> 8) & 0xFF), static_cast<int>((n >> 16) & 0xFF));
}

}  // namespace

void DateGrid::InstallColorPanelEdits() {
    ColorPanel* panel = SSPanelDayColor;
    // Hidden over the grid until a Day Colors cell is double-clicked, and
    // made then; what the grid adds to it goes in as it is made.
    panel->move(TDBGridDates->x() + 40, TDBGridDates->y() + 40);
    connect(panel, &ColorPanel::controlsMade, this, [this] { AddColorPanelEdits(); });
    // Opened on a record of the calendar before: its choice goes into no
    // record of another calendar that has the same ID.
    connect(&Document(), &CalendarDocument::calendarOpened, panel, [this, panel] {
        colorPanelRecord_ = 0;
        panel->hide();
    });
}

void DateGrid::AddColorPanelEdits() {
    ColorPanel* panel = SSPanelDayColor;
    Label11 = new QLabel("Date & Title Colors - ", panel);
    Label11->setObjectName("Label11_0");
    Label11->setTextFormat(Qt::PlainText);
    if (auto* box = qobject_cast<QBoxLayout*>(panel->layout())) box->insertWidget(0, Label11);
    auto* hint = new QLabel("Double - Click Text Boxes to Display Color Selector", panel);
    hint->setObjectName("Label12");
    if (auto* box = qobject_cast<QBoxLayout*>(panel->layout())) box->insertWidget(2, hint);
    sscmdOKDayColors = new QPushButton("Save", panel);
    sscmdOKDayColors->setObjectName("sscmdOKDayColors");
    sscmdOKDayColors->setToolTip(" Use Selected Colors ");
    panel->buttonRow()->insertWidget(0, sscmdOKDayColors);
    connect(sscmdOKDayColors, &QPushButton::clicked, this, [this] { sscmdOKDayColors_Click(); });
    if (auto* rgb = panel->findChild<QPushButton*>("sscmdRedGreenBlue")) rgb->setToolTip(" Open Red/Green/Blue Calculator ");

    auto* hook = new EventHook(this, [this, panel](QObject* watched, QEvent* event) {
        int i = 0;
        while (i < 4 && panel->Text1[i] != watched) ++i;
        if (i == 4) return false;
        QLineEdit* box = panel->Text1[i];
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                if (box->text() == ColorBoxPlaceholders()[size_t(i)]) box->clear();
                break;
            case QEvent::MouseButtonDblClick: {
                const ColorPickStart start = StartColorPick(box->text().toStdString());
                long colour = start.color;
                bool cancelled = false;
                Change_Color(colour, cancelled);
                if (!cancelled) {
                    box->setText(QString::fromStdString(PickedColorText(start, colour)));
                    ShowDayColorBox(i);
                    box->setToolTip(" " + box->text() + " ");
                }
                return true;
            }
            case QEvent::KeyPress: {
                const auto* key = static_cast<QKeyEvent*>(event);
                if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->text() == "(") ShowDayColorBox(i);
                break;
            }
            case QEvent::FocusOut: ShowDayColorBox(i); break;
            default: break;
        }
        return false;
    });
    for (QLineEdit* box : panel->Text1) box->installEventFilter(hook);
    panel->adjustSize();
}

void DateGrid::ShowDayColorBox(int index) {
    QLineEdit* box = SSPanelDayColor->Text1[index];
    const BoxColors shown = ShownBoxColors(static_cast<long>(BoxNumber(box->text().toStdString())));
    QPalette p = box->palette();
    p.setColor(QPalette::Base, FromNumber(shown.background));
    p.setColor(QPalette::Text, FromNumber(shown.text));
    box->setPalette(p);
    box->setToolTip(box->text());
}

void DateGrid::TDBGridDates_DblClick() {
    const QModelIndex at = TDBGridDates->currentIndex();
    const int row = at.row();
    if (row < 0 || row >= model->recordCount()) return;
    const int g = DateGridIndexOf(model->fieldName(at.column()));
    auto cellText = [&](int gridIndex) {
        const int m = DateGridColumn(gridIndex);
        return m >= 0 ? model->data(model->index(row, m)).toString() : QString();
    };
    if (g == kColFont) {
        hooks_.statusText(4, "Open Text Selection Form");
        const std::optional<FontChoice> chosen =
            Pickers().pickFont(FontDialogPreset(cellText(kColFont).toStdString(), "MS Sans Serif"), "Font");
        hooks_.statusText(4, "");
        if (!chosen) return;
        const std::optional<std::string> text = FontChoiceText(*chosen);
        if (!text) {
            Messages().message(kFontChoiceError, MsgButtons::Ok, MsgIcon::None, kFontChoiceErrorTitle);
            return;
        }
        model->storeCell(row, DateGridColumn(kColFont), QString::fromStdString(*text));
    } else if (g == kColDayColors) {
        ColorPanel* panel = SSPanelDayColor;
        const int id = model->fieldIndex("ID");
        colorPanelRecord_ = id >= 0 ? db::AsInt(model->value(row, id)) : 0;
        panel->show();
        panel->raise();
        panel->SSTab1->setCurrentIndex(0);
        Label11->setText("Date & Title Colors - " + cellText(kColDate));
        const std::string stored = cellText(kColDayColors).toStdString();
        if (Trim(stored).empty()) {
            for (int i = 0; i < 4; ++i) panel->Text1[i]->setText(ColorBoxPlaceholders()[size_t(i)]);
            panel->cmbDayBGStyle->setEditText("Day BG Style");
            panel->cmbTitleBGStyle->setEditText("Title BG Style");
        } else {
            const DayColorsShown shown = ShowDayColors(stored);
            for (int i = 0; i < 4; ++i)
                if (shown.boxes[size_t(i)]) {
                    panel->Text1[i]->setText(QString::fromStdString(*shown.boxes[size_t(i)]));
                    ShowDayColorBox(i);
                }
            if (shown.dayList) panel->cmbDayBGStyle->setEditText(QString::fromStdString(*shown.dayList));
            if (shown.titleList) panel->cmbTitleBGStyle->setEditText(QString::fromStdString(*shown.titleList));
        }
    }
    TDBGridDates->setFocus();
}

void DateGrid::sscmdOKDayColors_Click() {
    ColorPanel* panel = SSPanelDayColor;
    panel->MakeControls();
    std::array<std::string, 4> boxes;
    for (int i = 0; i < 4; ++i) boxes[size_t(i)] = panel->Text1[i]->text().toStdString();
    // The panel stays open on a box no colour can be.
    if (const std::string refusal = DayColorsRefusal(boxes); !refusal.empty()) {
        Messages().message(refusal, MsgButtons::Ok, MsgIcon::Exclamation, "Save Colors");
        return;
    }
    panel->hide();
    const std::string text = ComposeDayColors(boxes, panel->cmbDayBGStyle->currentText().toStdString(),
                                              panel->cmbTitleBGStyle->currentText().toStdString());
    // Into the record the panel was opened on, wherever the grid is now.
    if (colorPanelRecord_ != 0) StoreRecordField(colorPanelRecord_, "DayColors", QString::fromStdString(text));
}

void DateGrid::StoreRecordField(int64_t id, const std::string& field, const QString& text) {
    const int idCol = model->fieldIndex("ID");
    const int col = model->fieldIndex(field);
    if (idCol >= 0 && col >= 0)
        for (int r = 0; r < model->recordCount(); ++r)
            if (db::AsInt(model->value(r, idCol)) == id) {
                model->storeCell(r, col, text);
                return;
            }
    // Not listed any more: straight into the file.
    try {
        db::Database& store = dates_.database();
        db::Statement st = store.prepare("UPDATE [Velmora] SET [" + field + "] = ? WHERE [ID] = ?");
        st.bindAll({db::Text(text.toStdString()), db::Int(id)});
        st.run();
        if (store.changes() == 0) {
            Messages().message("The record these colours were chosen for is no longer in the calendar: nothing was "
                               "saved.",
                               MsgButtons::Ok, MsgIcon::Exclamation, "Save Colors");
            return;
        }
    } catch (const db::DbError& e) {
        // A full disk or a read-only file: the plain sentence every write gives.
        if (!ShowPlainWriteFailure(std::current_exception())) CriticalBox(e.what(), "sscmdOKDayColors");
        return;
    }
    Document().RecordsWritten(CalendarDocument::Change::Changed);
}

}  // namespace vm
