#include "exchange/orvantapanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "core/calendarfiles.h"
#include "core/contractimport.h"
#include "core/module1.h"
#include "exchange/otherimports.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/messages.h"
#include "platform/steps.h"

namespace vm {

OrvantaPanel::OrvantaPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("sspanelOrvanta");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    auto* title = new QLabel("Import Orvanta Contract Dates", this);
    title->setObjectName("lblOrvantaTitle");
    cmbSelProj = new QComboBox(this);
    cmbSelProj->setObjectName("cmbSelProj");
    cmbSelProj->setPlaceholderText("Select Project");
    cmbSelStatusItems = new QComboBox(this);
    cmbSelStatusItems->setObjectName("cmbSelStatusItems");
    cmbSelStatusItems->setPlaceholderText("Select Date Type");
    sscmdStartOrvantaImport = new QPushButton("Import Records", this);
    sscmdStartOrvantaImport->setObjectName("sscmdStartOrvantaImport");
    sscmdStartOrvantaImport->setToolTip(" Start Importing Orvanta Records ");
    sscmdCloseOrvantaPnl = new QPushButton("Close", this);
    sscmdCloseOrvantaPnl->setObjectName("sscmdCloseOrvantaPnl");
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(cmbSelProj, 1, 0, 1, 2);
    grid->addWidget(cmbSelStatusItems, 2, 0, 1, 2);
    grid->addWidget(sscmdStartOrvantaImport, 3, 0);
    grid->addWidget(sscmdCloseOrvantaPnl, 3, 1);
    connect(sscmdStartOrvantaImport, &QPushButton::clicked, this, [this] { sscmdStartOrvantaImport_Click(); });
    connect(sscmdCloseOrvantaPnl, &QPushButton::clicked, this, [this] { sscmdCloseOrvantaPnl_Click(); });
    hide();
}

OrvantaPanel* OrvantaImportPanel() {
    MainWindowDoor* w = MainDoor();
    if (!w) return nullptr;
    if (auto* panel = w->Window()->findChild<OrvantaPanel*>("sspanelOrvanta")) return panel;
    return new OrvantaPanel(w->ClientPanel());
}

void OrvantaPanel::ShowFor(const std::string& contractFile) {
    pOrvantaImportFN = contractFile;
    Operation op("ShowOrvanta_Import_Error");
    op.step(1, [&] {
        sscmdStartOrvantaImport->setEnabled(true);
        if (MainWindowDoor* w = MainDoor()) w->PlaceOverPicture(this, 5400, 2400);
        show();
        raise();
    });
    std::shared_ptr<db::Database> contract;
    const bool opened = op.step(2, [&] {
        cmbSelProj->clear();
        cmbSelStatusItems->clear();
        contract = OpenContractFile(pOrvantaImportFN);
    });
    if (!opened || !contract) {
        hide();  // nothing to choose from
        return;
    }
    op.step(2, [&] {
        cmbSelProj->addItem("Select All Projects");
        for (const ContractProject& p : ReadContractProjects(*contract))
            cmbSelProj->addItem(QString::fromStdString(p.description), QVariant::fromValue<qlonglong>(p.number));
        cmbSelProj->setCurrentIndex(0);
    });
    op.step(3, [&] {
        cmbSelStatusItems->addItem("Select All Types");
        for (const std::string& type : ReadStatusTypes(*contract)) cmbSelStatusItems->addItem(QString::fromStdString(type));
        cmbSelStatusItems->setCurrentIndex(0);
    });
}

void OrvantaPanel::sscmdStartOrvantaImport_Click() {
    if (!CalendarIsWritable("Import Records")) return;
    Operation op("ImportOrvanta_ContractFile_Error");
    setEnabled(false);
    // A chosen project gives every type of its dated items; the type is
    // chosen only among all projects.
    ContractFilter filter;
    if (cmbSelProj->currentIndex() > 0) filter.project = cmbSelProj->currentData().toLongLong();
    else if (cmbSelStatusItems->currentIndex() > 0) filter.type = cmbSelStatusItems->currentText().toStdString();
    std::shared_ptr<db::Database> contract;
    ContractImportResult result;
    if (op.step(1, [&] { contract = OpenContractFile(pOrvantaImportFN); }) && contract)
        result = ImportContractItems(*contract, Module1.CalendarFilePath, filter, MainState.Month, op);
    contract.reset();
    if (result.done) {
        // The repeats of the new records, the month and the views follow,
        // the pass inside the import's dialog.
        op.step(5, [&] { SettleImportInDialog(); });
        std::string text = std::to_string(result.added) + " Orvanta Date Record(s) have been imported from:\r\n" +
                           pOrvantaImportFN;
        if (result.unreadable > 0)
            text += "\r\n" + std::to_string(result.unreadable) + " item(s) with an unreadable Status_Date were left out.";
        Messages().message(text + "\r\n\r\nPlease Close the Selection Panel if You are Done.", MsgButtons::Ok,
                           MsgIcon::Information, "Orvanta Date Records Complete");
    }
    setEnabled(true);
    hide();
    sscmdStartOrvantaImport->setEnabled(true);
}

void OrvantaPanel::sscmdCloseOrvantaPnl_Click() { hide(); }

}  // namespace vm
