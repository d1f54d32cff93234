#include "exchange/importpanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "core/calendarfiles.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/writeguard.h"
#include "exchange/otherimports.h"
#include "mainwindow/mainwindowdoor.h"
#include "mainwindow/windowhelpers.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/progress.h"
#include "platform/steps.h"

namespace vm {
namespace {

const char* kFieldCaptions[kImportFieldCount] = {"Hide Y/N",     "* Date",      "Time",        "* Day's Text",
                                                 "Repeate Periods", "Repeat Type", "Date Type", "Work Day Y/N",
                                                 "Alarms - Min", "Sound File#", "Font",        "Colors - Styles",
                                                 "Priority"};

constexpr double kPanelWidth = 4200, kPanelHeight = 7000;  // twips

QString PositionText(int p) { return QString::fromStdString(Str(static_cast<int64_t>(p))); }

}  // namespace

ImportPanel::ImportPanel(MainWindowDoor& owner, QWidget* parent) : ScrollingPanel(parent), owner_(owner) {
    setObjectName("SSPanelImport");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(Contents());
    lblImport = new QLabel("Import Data", this);
    lblImport->setObjectName("lblImport");
    lblImport->setAlignment(Qt::AlignCenter);
    grid->addWidget(lblImport, 0, 0, 1, 2);
    for (int k = 0; k < kImportFieldCount; ++k) {
        auto* label = new QLabel(kFieldCaptions[k], this);
        label->setObjectName(QString("lblField_%1").arg(k));
        auto* box = new QComboBox(this);
        box->setObjectName(QString("Combo1_%1").arg(k));
        box->setEditable(true);
        box->setToolTip("Field Position");
        box->setEditText("Field");
        lblField[size_t(k)] = label;
        Combo1[size_t(k)] = box;
        grid->addWidget(label, 1 + k, 0);
        grid->addWidget(box, 1 + k, 1);
    }
    sscmdImport = NamedButton(this, "sscmdImport", "Import Fields", " Import Fields with Numbers  ");
    sscmdSetAll = NamedButton(this, "sscmdSetAll", "All", " ReSet Fields 0 - 13 To Default Order ");
    sscmdCancelImport = NamedButton(this, "sscmdCancelImport", "Cancel", " Exit Without Importing ");
    sscmdImportHelp = NamedButton(this, "sscmdImportHelp", "Help", "");
    // The buttons stay in sight below the fields, which scroll on a small screen.
    QGridLayout* buttons = MakeFooterGrid();
    buttons->addWidget(sscmdImport, 0, 0);
    buttons->addWidget(sscmdSetAll, 0, 1);
    buttons->addWidget(sscmdCancelImport, 1, 0);
    buttons->addWidget(sscmdImportHelp, 1, 1);

    connect(sscmdImport, &QPushButton::clicked, this, &ImportPanel::sscmdImport_Click);
    connect(sscmdSetAll, &QPushButton::clicked, this, &ImportPanel::sscmdSetAll_Click);
    connect(sscmdCancelImport, &QPushButton::clicked, this, &ImportPanel::sscmdCancelImport_Click);
    connect(sscmdImportHelp, &QPushButton::clicked, this, &ImportPanel::sscmdImportHelp_Click);
    hide();
}

FieldPositions ImportPanel::Positions() const {
    FieldPositions p{};
    for (size_t k = 0; k < p.size(); ++k) p[k] = FieldPositionOf(Combo1[k]->currentText().toStdString());
    return p;
}

void ImportPanel::FillFieldBoxes() {
    for (int k = 0; k < kImportFieldCount; ++k) {
        QComboBox* box = Combo1[size_t(k)];
        box->clear();
        box->addItem("N/A");
        for (int p = 1; p <= 13; ++p) box->addItem(PositionText(p));
        box->addItem("N/A");
        box->setEditText(PositionText(k + 1));
    }
}

void ImportPanel::sscmdSetAll_Click() {
    for (int k = 0; k < kImportFieldCount; ++k) Combo1[size_t(k)]->setEditText(PositionText(k + 1));
}

void ImportPanel::sscmdCancelImport_Click() { hide(); }

void ImportPanel::sscmdImportHelp_Click() {
    InfoBox("Knowing What Your Records Look Like, Select the Order of that Record of the field to import. Select N/A "
            "if Field Does Not Exit in Data. See Page 13 of User Manual.",
            "Import Data");
}

void ImportPanel::mnuFile_Import_Click() {
    Operation op("mnuFile_Import_Click_Error");
    sscmdImport->setEnabled(true);
    if (ImportFolder.empty()) ImportFolder = DataFolder();
    if (!op.step(2, [&] {
            pImpNewFile = ShowFileDialog(ImportFolder, 1,
                                         "Text File  *.TXT|*.TXT|Velmora File   *.MDB|*.MDB|Orvanta File   "
                                         "*.CON|*.CON|All Files|*.*",
                                         "*.*", "Import Calendar Date Data");
        }))
        return;
    if (pImpNewFile.empty()) return;
    if (FileExists(pImpNewFile)) ImportFolder = FolderOf(pImpNewFile);
    if (!op.step(4, [&] {
            owner_.PlaceOverPicture(this, kPanelWidth, kPanelHeight);
            FillFieldBoxes();
        }))
        return;
    const std::string ext = ImportFileExtension(pImpNewFile);
    if (!op.step(7, [&] {
            if (ext == "txt" || ext == "csv") {
                show();
                raise();
            } else if (ext == "mdb") {
                std::string file = pImpNewFile;
                ImportVelmoraFile(file);
            } else if (ext == "con") {
                ShowOrvanta_Import(pImpNewFile);
            } else {
                Messages().message("Invalid File Type Selected. Exiting Function", MsgButtons::Ok, MsgIcon::None,
                                   "Invalid File Selected");
            }
        }))
        return;
    op.step(8, [&] { owner_.EnableMainControls(true); });
}

void ImportPanel::sscmdImport_Click() {
    // A calendar that may only be read is said so before anything is read.
    if (!CalendarIsWritable("Import Records")) return;
    sscmdImport->setEnabled(false);
    bool anySet = false;
    for (int k = 1; k <= 12; ++k) anySet = anySet || Combo1[size_t(k)]->currentText() != "Field";
    if (!anySet) {
        InfoBox("You must set some of the fields, or select the 'All' Button", "Import Records");
        return;
    }
    hide();
    Operation op("sscmdImport_Error", "@Error Point: ");
    ImportedRecordCount = 0;
    TextImportResult result;
    owner_.SetWaitCursor(true);
    bool read = false;
    {
        // The file is read in pieces; every line is checked and the readable
        // ones are stored in one transaction, so a failure or Cancel stores none.
        ProgressScope progress("Import Data", "Importing " + pImpNewFile);
        read = op.step(1, [&] {
            const std::string& calendar = Module1.CalendarFilePath;
            if (const std::string problem = ReadFromProblem(pImpNewFile); !problem.empty())
                throw OpError(75, problem);  // there, but opening it would wait or never end
            if (!FileExists(pImpNewFile)) throw OpError(53, "File not found: \"" + pImpNewFile + "\"");
            if (!FileExists(calendar)) throw OpError(53, "File not found: \"" + calendar + "\"");
            owner_.Dates().setDatabaseName(calendar);
            owner_.Dates().setRecordSource("SELECT * FROM [Velmora]");
            result = ImportCalendarText(pImpNewFile, owner_.Dates().database(), Positions(),
                                        [&](int64_t done, int64_t total) { return progress.step(done, total); });
            ImportedRecordCount = result.imported;
        }) && op.lastError() == 0;
        // Only an import that went through changes the calendar: the month
        // and the occurrences are built again, the pass in the same dialog.
        if (read && result.isText && !result.cancelled) {
            SettleImportInDialog();
        }
    }
    OptionalStep([&] { owner_.EnableMainControls(true); });
    sscmdImport->setEnabled(true);
    hide();
    owner_.SetWaitCursor(false);
    if (!read) return;  // the failure has had its one box; nothing was stored
    if (result.cancelled) {
        SayImportCancelled();
        return;
    }
    if (!result.isText) {
        Messages().message("\"" + pImpNewFile + "\" is not a text file; nothing was imported.", MsgButtons::Ok,
                           MsgIcon::Exclamation, "Import Data");
        return;
    }
    if (result.rejectedCount > 0)
        Messages().message(RejectedLinesMessage(result.rejected, result.rejectedCount), MsgButtons::Ok,
                           MsgIcon::Exclamation, "Lines Not Imported");
    InfoBox(std::to_string(ImportedRecordCount) + " Records Imported ", "Import Complete");
}

}  // namespace vm
