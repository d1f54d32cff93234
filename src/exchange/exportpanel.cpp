#include "exchange/exportpanel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "core/calendarfiles.h"
#include "core/writeguard.h"
#include "mainwindow/mainwindowdoor.h"
#include "mainwindow/windowhelpers.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/progress.h"
#include "platform/steps.h"

namespace vm {
namespace {

const char* kBoxCaptions[kExportBoxCount] = {
    "Hide  Y/N",    "Date",      "Time",         "Day's Text",  "Repeat Periods", "Repeat Type", "BG Color",
    "FG Color",     "Date Type", "Work Day Y/N", "Alarms - Min", "Sound File#",   "Font",        "Colors - Styles",
    "Priority"};

constexpr double kPanelWidth = 3800, kPanelHeight = 6000;  // twips

}  // namespace

ExportPanel::ExportPanel(MainWindowDoor& owner, QWidget* parent) : ScrollingPanel(parent), owner_(owner) {
    setObjectName("SSPanelExport");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(Contents());
    lblExport = new QLabel("Export Data", this);
    lblExport->setObjectName("lblExport");
    lblExport->setAlignment(Qt::AlignCenter);
    grid->addWidget(lblExport, 0, 0, 1, 2);
    for (int i = 0; i < kExportBoxCount; ++i) {
        auto* box = new QCheckBox(kBoxCaptions[i], this);
        box->setObjectName(QString("SSCheck1_%1").arg(i));
        box->setChecked(true);
        box->setVisible(i != 6 && i != 7);
        SSCheck1[size_t(i)] = box;
        grid->addWidget(box, 1 + i, 0, 1, 2);
    }
    sscmdExportFields = NamedButton(this, "sscmdExportFields", "Export Fields", " Export Selected Fields ");
    sschxAll_None = new QCheckBox("All/None", this);
    sschxAll_None->setObjectName("sschxAll_None");
    sschxAll_None->setToolTip(" Select All On or Off ");
    sschxAll_None->setChecked(true);
    sscmdCancelExport = NamedButton(this, "sscmdCancelExport", "Cancel", " Exit without Exporting ");
    sscmdExportHelp = NamedButton(this, "sscmdExportHelp", "Help", "");
    // The buttons stay in sight below the boxes, which scroll on a small screen.
    QGridLayout* buttons = MakeFooterGrid();
    buttons->addWidget(sscmdExportFields, 0, 0);
    buttons->addWidget(sschxAll_None, 0, 1);
    buttons->addWidget(sscmdCancelExport, 1, 0);
    buttons->addWidget(sscmdExportHelp, 1, 1);

    connect(sschxAll_None, &QCheckBox::clicked, this, &ExportPanel::sschxAll_None_Click);
    connect(sscmdCancelExport, &QPushButton::clicked, this, &ExportPanel::sscmdCancelExport_Click);
    connect(sscmdExportHelp, &QPushButton::clicked, this, &ExportPanel::sscmdExportHelp_Click);
    connect(sscmdExportFields, &QPushButton::clicked, this, &ExportPanel::sscmdExportFields_Click);
    hide();
}

ExportBoxes ExportPanel::TickedBoxes() const {
    ExportBoxes boxes{};
    for (size_t i = 0; i < boxes.size(); ++i) boxes[i] = SSCheck1[i]->isChecked();
    return boxes;
}

void ExportPanel::mnuFile_Export_Data_Click() {
    owner_.PlaceOverPicture(this, kPanelWidth, kPanelHeight);
    show();
    raise();
    owner_.EnableMainControls(true);
    sscmdExportFields->setEnabled(true);
}

void ExportPanel::sschxAll_None_Click() {
    for (int i = 0; i <= 11; ++i) SSCheck1[size_t(i)]->setChecked(sschxAll_None->isChecked());
}

void ExportPanel::sscmdCancelExport_Click() { hide(); }

void ExportPanel::sscmdExportHelp_Click() {
    InfoBox("Select the Fields that you wish to export to a text file. There is also a All/None Checkbox next to the "
            "'Export Fields' Button.  See Page 13 of User Manual.",
            "Select Export Fields");
}

void ExportPanel::sscmdExportFields_Click() {
    if (!CalendarIsOpen("Export Date Data")) return;
    sscmdExportFields->setEnabled(false);
    Operation op("sscmdExportFields_Error", "Field: ");
    auto cleanUp = [this] {
        sscmdExportFields->setEnabled(true);
        hide();
        owner_.SetWaitCursor(false);
    };
    if (ExportFolder.empty()) ExportFolder = DataFolder();
    // The data folder is made only when it is missing.
    op.step(0, [&] {
        if (!MakeFolder(DataFolder())) throw OpError(75, "Path/File access error: cannot make \"" + DataFolder() + "\"");
    });
    if (op.ended()) return cleanUp();
    const std::string chosen =
        ShowFileDialog(ExportFolder, 6, "Text File     *.TXT|*.TXT;*.txt", "*.TXT", "Create Calendar Export File");
    if (chosen.empty()) {  // the panel stays open for another try
        sscmdExportFields->setEnabled(true);
        return;
    }
    if (FileExists(chosen)) ExportFolder = FolderOf(chosen);
    if (!MayWriteFile(chosen, "Create Calendar Export File")) {
        sscmdExportFields->setEnabled(true);  // the panel stays for another name
        return;
    }

    owner_.SetWaitCursor(true);
    ExportedRecordCount = 0;
    const ExportBoxes boxes = TickedBoxes();
    bool written = false;
    op.step(0, [&] {
        ProgressScope progress("Export Data", "Exporting to " + chosen);
        // The listed rows as the file holds them now, not as last read.
        owner_.ReadDatesAgain();
        const int64_t count = WriteCalendarExport(chosen, owner_.Dates(), boxes, [&](int64_t done, int64_t total) {
            return progress.step(done, total);
        });
        written = count >= 0;
        ExportedRecordCount = written ? count : 0;
    });
    // Only a file written whole is opened and said complete: a cancelled
    // export leaves no message, a failed one its box alone, and neither
    // changes a file that had the name.
    const bool finished = written;
    OptionalStep([&] { owner_.Dates().moveFirst(); });
    QCoreApplication::processEvents();
    if (finished) {
        std::string file = chosen;
        if (ShellOpenFile(file, 4) == kShellNoFile)
            Messages().message("Velmora Export File Not Found", MsgButtons::Ok, MsgIcon::Critical,
                               "Export Data File - Error");
        hide();
        InfoBox(std::to_string(ExportedRecordCount) + " Records Exported ", "Export Complete");
    }
    cleanUp();
}

}  // namespace vm
