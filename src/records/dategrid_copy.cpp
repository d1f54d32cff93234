// The copy panel ssPanlCopyRecs: copies the records the grid lists to
// another year, another date type, or both, in one transaction; then the
// repeat expansion and the month are drawn again. Also the button that
// shows the repeat-pattern reference window.
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <functional>

#include "core/calendardocument.h"
#include "core/calendarfiles.h"
#include "core/copyrecords.h"
#include "core/module1.h"
#include "records/colorpanel.h"
#include "platform/emptyonclick.h"
#include "platform/messages.h"
#include "platform/steps.h"
#include "records/frmrepeats.h"
#include "records/dategrid.h"

namespace vm {
namespace {

QLineEdit* Box(QWidget* parent, const char* name, const char* text) {
    auto* b = new QLineEdit(text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

// The panel is there, hidden, from the start; its boxes are made when it is
// first shown or a search first fills its list of date types.
void DateGrid::InstallCopyPanel(QWidget* client) {
    ssPanlCopyRecs = new PanelMadeWhenShown(client, [this] { MakeCopyControls(); });
    ssPanlCopyRecs->setObjectName("ssPanlCopyRecs");
    ssPanlCopyRecs->setFrameShape(QFrame::Panel);
    ssPanlCopyRecs->setFrameShadow(QFrame::Raised);
    ssPanlCopyRecs->setAutoFillBackground(true);
}

void DateGrid::MakeCopyControls() {
    auto* grid = new QGridLayout(ssPanlCopyRecs);
    auto label = [&](const char* name, const char* text) {
        auto* l = new QLabel(text, ssPanlCopyRecs);
        l->setObjectName(name);
        return l;
    };
    grid->addWidget(label("Label14", "Copy Selected Records"), 0, 0, 1, 2);
    grid->addWidget(label("Label15", "Year"), 1, 0);
    grid->addWidget(label("Label16", "Date Type"), 1, 1);
    txtOrigCopyYr = Box(ssPanlCopyRecs, "txtOrigCopyYr", "Orig Year");
    txtNewCopyYr = Box(ssPanlCopyRecs, "txtNewCopyYr", "New Year");
    cmbCopyDteTyp = new QComboBox(ssPanlCopyRecs);
    cmbCopyDteTyp->setObjectName("cmbCopyDteTyp");
    cmbCopyDteTyp->setEditable(true);
    cmbCopyDteTyp->setInsertPolicy(QComboBox::NoInsert);
    cmbCopyDteTyp->setEditText("Old Type");
    txtRecDataType = Box(ssPanlCopyRecs, "txtRecDataType", "New Type");
    grid->addWidget(txtOrigCopyYr, 2, 0);
    grid->addWidget(cmbCopyDteTyp, 2, 1);
    grid->addWidget(txtNewCopyYr, 3, 0);
    grid->addWidget(txtRecDataType, 3, 1);
    sscmdCopyRec = new QPushButton("Copy Records", ssPanlCopyRecs);
    sscmdCopyRec->setObjectName("sscmdCopyRec");
    sscmdCopyRec->setToolTip(" Copy Selected Records ");
    sscmdCloseCopyPnl = new QPushButton(ssPanlCopyRecs);
    sscmdCloseCopyPnl->setObjectName("sscmdCloseCopyPnl");
    sscmdCloseCopyPnl->setToolTip(" Exit without Importing  ");
    sscmdCloseCopyPnl->setIcon(ssPanlCopyRecs->style()->standardIcon(QStyle::SP_DialogCloseButton));
    grid->addWidget(sscmdCopyRec, 4, 0);
    grid->addWidget(sscmdCloseCopyPnl, 4, 1);
    ssPanlCopyRecs->adjustSize();
    for (QLineEdit* box : {txtOrigCopyYr, txtNewCopyYr, txtRecDataType}) EmptyOnClick(box);
    connect(sscmdCopyRec, &QPushButton::clicked, this, [this] { sscmdCopyRec_Click(); });
    connect(sscmdCloseCopyPnl, &QPushButton::clicked, this, [this] { sscmdCloseCopyPnl_Click(); });
}

void DateGrid::sscmdCloseCopyPnl_Click() { ssPanlCopyRecs->hide(); }

void DateGrid::sscmdCopyRec_Click() {
    ssPanlCopyRecs->MakeControls();
    CopyRequest request;
    request.origYear = txtOrigCopyYr->text().toStdString();
    request.newYear = txtNewCopyYr->text().toStdString();
    request.oldType = cmbCopyDteTyp->currentText().toStdString();
    request.newType = txtRecDataType->text().toStdString();
    if (CopyHasNothingToDo(request)) {
        Messages().message("Nothing to Do", MsgButtons::Ok, MsgIcon::None, "Velmora");
        ssPanlCopyRecs->hide();
        return;
    }
    if (const std::string refusal = CopyRefusal(request); !refusal.empty()) {
        Messages().message(refusal, MsgButtons::Ok, MsgIcon::Exclamation, "Copy Selected Records");
        return;
    }
    if (!CalendarIsWritable("Copy Selected Records")) return;
    CopyOutcome outcome;
    try {
        dates_.setDatabaseName(Module1.CalendarFilePath);
        ReadListedAgain();  // another program's deletions are never copied back
        outcome = CopyListedRecords(dates_.database(), dates_, request);
    } catch (const db::DbError& e) {
        // A full disk or a read-only file: the plain sentence every write gives.
        if (!ShowPlainWriteFailure(std::current_exception()))
            Messages().message(std::to_string(e.number()) + " - " + e.what() + "\r\nNo records were copied.",
                               MsgButtons::Ok, MsgIcon::Critical, "sscmdCopyRec_Error");
        ssPanlCopyRecs->hide();
        return;
    }
    std::string text = std::to_string(outcome.copied) + " Records Copied.";
    if (!outcome.leapDaysSkipped.empty()) {
        text += "\r\n\r\nNot copied: 29 February does not exist in " + request.newYear + ":";
        for (const std::string& s : outcome.leapDaysSkipped) text += "\r\n" + s;
    }
    Messages().message(text, MsgButtons::Ok, MsgIcon::Information, "Copy Selected Records");
    // The pass makes the copies' occurrences; the grid lists again what it listed before the copy (copies included
    // when they match) and the count label counts it.
    Document().RecordsWritten(CalendarDocument::Change::Added);
    Document().Settle();
    ShowCount();
    ssPanlCopyRecs->hide();
}

void DateGrid::sscmdRepeat_Click() {
    ShowListedButtons(false);
    ShowRepeats();
}

}  // namespace vm
