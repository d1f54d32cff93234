// The date grid's search bar: the single search in its text, number, date and
// date-range modes, the multi-word panel, the repeat-type filter, the record
// count and the listed-records buttons. Every typed text is a bound value.
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

#include "core/calendarfiles.h"
#include "core/gridsearch.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "mainwindow/frmvelmora.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/recordgrid.h"
#include "platform/sound.h"
#include "platform/steps.h"

namespace vm {
namespace {

void ErrorBox(const db::DbError& e, const std::string& title, const std::string& more = "") {
    Messages().message(std::to_string(e.number()) + " - " + e.what() + more, MsgButtons::Ok, MsgIcon::Critical, title);
}

}  // namespace

void frmVelmora::InstallSearchBar() {
    auto* row = new QHBoxLayout(SSPanel2);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    txtSearch = new QLineEdit("Search", SSPanel2);
    txtSearch->setObjectName("txtSearch");
    txtSearch->setToolTip(" Search Data For This ");
    sscmdSrchDateData = NamedButton(SSPanel2, "sscmdSrchDateData", "", " Search for Text in Entire Database ");
    sscmdSrchDateData->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    sscmdClearSrch = NamedButton(SSPanel2, "sscmdClearSrch", "", " Clear Search - End Sound Playing ");
    sscmdClearSrch->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    lblRecCnt = new QLabel(SSPanel2);
    lblRecCnt->setObjectName("lblRecCnt");
    sscmdRepeat = NamedButton(SSPanel2, "sscmdRepeat", "Repeat", " Display Repeat Examples ");
    for (QPushButton* b : {sscmdSrchDateData, sscmdClearSrch}) b->setFixedWidth(28);
    sscmdRepeat->setFixedWidth(56);
    // The count takes room only while it shows one, so the box keeps its width.
    lblRecCnt->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    // The bar takes the width over the grid that the filter list leaves.
    SetTwips(SSPanel2, TwipsRect{100, 100, 3400, 420});
    SetTwips(Combo3, TwipsRect{3600, 130, 1300, 360});
    row->addWidget(txtSearch, 1);
    row->addWidget(sscmdSrchDateData);
    row->addWidget(sscmdClearSrch);
    row->addWidget(lblRecCnt);
    row->addWidget(sscmdRepeat);
    connect(sscmdSrchDateData, &QPushButton::clicked, this, [this] { sscmdSrchDateData_Click(); });
    connect(sscmdClearSrch, &QPushButton::clicked, this, [this] { sscmdClearSrch_Click(); });
    connect(sscmdRepeat, &QPushButton::clicked, this, [this] { sscmdRepeat_Click(); });

    // The multi-word panel, below the search bar.
    sspnlMultiWord = new QFrame(SSPanel1);
    sspnlMultiWord->setObjectName("sspnlMultiWord");
    sspnlMultiWord->setFrameShape(QFrame::Panel);
    sspnlMultiWord->setFrameShadow(QFrame::Raised);
    sspnlMultiWord->setAutoFillBackground(true);
    auto* multi = new QHBoxLayout(sspnlMultiWord);
    auto* title = new QLabel(" Multi-Word Search", sspnlMultiWord);
    title->setObjectName("lblMultiSrch");
    multi->addWidget(title);
    for (int i = 0; i < 3; ++i) {
        txtSrch[size_t(i)] = new QLineEdit(sspnlMultiWord);
        txtSrch[size_t(i)]->setObjectName(QString("txtSrch_%1").arg(i));
        multi->addWidget(txtSrch[size_t(i)]);
        if (i < 2) {
            auto* join = new QComboBox(sspnlMultiWord);
            join->setObjectName(QString("cmbMultSrch_%1").arg(i));
            join->addItems({"And", "Or", "Not"});
            cmbMultSrch[size_t(i)] = join;
            multi->addWidget(join);
        }
    }
    sscmdMultSrch = NamedButton(sspnlMultiWord, "sscmdMultSrch", "Search", " Search for Text in Entire Database ");
    sscmdExitMulSrch = NamedButton(sspnlMultiWord, "sscmdExitMulSrch", "", " Exit without Importing  ");
    sscmdExitMulSrch->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    multi->addWidget(sscmdMultSrch);
    multi->addWidget(sscmdExitMulSrch);
    sspnlMultiWord->adjustSize();
    sspnlMultiWord->move(SSPanel2->x(), SSPanel2->y() + SSPanel2->height() + 2);
    sspnlMultiWord->hide();
    connect(sscmdMultSrch, &QPushButton::clicked, this, [this] { sscmdMultSrch_Click(); });
    connect(sscmdExitMulSrch, &QPushButton::clicked, this, [this] { sscmdExitMulSrch_Click(); });

    Combo3->setInsertPolicy(QComboBox::NoInsert);
    connect(Combo3, qOverload<int>(&QComboBox::activated), this, [this] { Combo3_Click(); });

    auto* hook = new EventHook(navContext_.get(), [this](QObject* watched, QEvent* event) {
        if (event->type() == QEvent::MouseButtonPress) {
            if (watched == txtSearch) txtSearch_Click();
            for (int i = 0; i < 3; ++i)
                if (watched == txtSrch[size_t(i)]) txtSrch_Click(i);
        } else if (event->type() == QEvent::KeyPress && watched == txtSearch) {
            const auto* key = static_cast<QKeyEvent*>(event);
            int16_t ascii = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) ? 13 : 1;
            txtSearch_KeyPress(ascii);
            if (ascii == 0) return true;
        }
        return false;
    });
    txtSearch->installEventFilter(hook);
    for (QLineEdit* box : txtSrch) box->installEventFilter(hook);
}

void frmVelmora::txtSearch_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii != 13) return;
    KeyAscii = 0;
    sscmdSrchDateData_Click();
}

void frmVelmora::txtSearch_Click() {
    lblRecCnt->clear();
    txtSearch->clear();
}

void frmVelmora::sscmdClearSrch_Click() {
    OptionalStep([&] { SoundPlayer().stop(); });
    HideSearchButtons();
    txtSearch->clear();
    txtSearch->setFocus();
    lblRecCnt->clear();
}

void frmVelmora::sscmdExitMulSrch_Click() {
    for (QLineEdit* box : txtSrch) box->clear();
    sspnlMultiWord->hide();
}

void frmVelmora::txtSrch_Click(int Index) {
    if (Index >= 0 && Index < 3) txtSrch[size_t(Index)]->clear();
}

// ---------------------------------------------------------------- running

// The table's count and date types change only when the file does: they are
// read again only then.
namespace {
struct TableSummary {
    std::string path, stamp;
    int32_t total = 0;
    std::vector<std::string> types;  // SELECT DISTINCT [DateType] in the order returned
};
TableSummary& Summary() {
    static TableSummary summary;
    return summary;
}
std::string FileStamp(db::Database& store) {
    db::Statement st = store.prepare("SELECT total_changes(), (SELECT data_version FROM pragma_data_version)");
    return st.step() ? db::AsText(st.column(0)) + "/" + db::AsText(st.column(1)) : std::string();
}
const TableSummary& CurrentSummary(db::Database& store) {
    TableSummary& s = Summary();
    const std::string stamp = FileStamp(store);
    if (s.path == store.path() && s.stamp == stamp && !stamp.empty()) return s;
    s = TableSummary{store.path(), stamp, 0, {}};
    db::Statement count = store.prepare("SELECT COUNT(*) FROM [Velmora]");
    if (count.step()) s.total = static_cast<int32_t>(db::AsInt(count.column(0)));
    db::Statement types = store.prepare("SELECT DISTINCT [DateType] FROM [Velmora]");
    while (types.step()) s.types.push_back(db::AsText(types.column(0)));
    return s;
}
}  // namespace

int32_t frmVelmora::CountAllRecords() { return CurrentSummary(DataDates.database()).total; }

void frmVelmora::RefillOldTypes(const std::string& where, const std::vector<db::Value>& params, bool noneFirst) {
    std::vector<std::string> found;
    if (where.empty()) {
        found = CurrentSummary(DataDates.database()).types;
    } else {
        db::Statement st = DataDates.database().prepare("SELECT DISTINCT [DateType] FROM [Velmora]" + where);
        if (!params.empty()) st.bindAll(params);
        while (st.step()) found.push_back(db::AsText(st.column(0)));
    }
    cmbCopyDteTyp->clear();
    for (size_t i = 0; i < found.size(); ++i) {
        if (i == 0 && noneFirst) cmbCopyDteTyp->addItem("None");
        if (!found[i].empty()) cmbCopyDteTyp->addItem(QString::fromStdString(found[i]));
    }
    if (found.empty()) cmbCopyDteTyp->addItem("None");
    // The first type found is the list's text (the first item added would
    // otherwise take its place).
    if (!found.empty() && !found[0].empty()) cmbCopyDteTyp->setEditText(QString::fromStdString(found[0]));
}

void frmVelmora::RunDateGrid(const std::string& sql, const std::vector<db::Value>& params) {
    gridParamsSql_ = MainState.pSQL;
    gridParams_ = params;
    DataDates.setDatabaseName(Module1.CalendarFilePath);
    DataDates.setRecordSource(sql);
    DataDates.setParameters(params);
    DataDates.refresh();
}

void frmVelmora::MarkListedRows(bool show) {
    listedIds_.clear();
    const int id = DataDates.fieldCount() > 0 ? DataDatesModel->fieldIndex("ID") : -1;
    for (int r = 0; id >= 0 && r < DataDates.recordCount(); ++r) listedIds_.push_back(db::AsInt(DataDates.valueAt(r, id)));
    listedPath_ = DataDates.databaseName();
    listedSource_ = DataDates.recordSource();
    listing_ = show;
    RefreshDateGrid();
    SetSearchButtonsVisible(show);
}

void frmVelmora::sscmdSrchDateData_Click() {
    const std::string t = txtSearch->text().toStdString();
    if (Trim(t).empty() && !sspnlMultiWord->isHidden()) return;
    const SearchPlan plan = ChooseSearch(t);
    if (plan.kind == SearchKind::MultiWord) {
        txtSrch[0]->setText(QString::fromStdString(plan.words[0]));
        txtSrch[1]->setText(QString::fromStdString(plan.words[1]));
        const bool third = plan.words.size() == 3;
        if (third) txtSrch[2]->setText(QString::fromStdString(plan.words[2]));
        txtSrch[2]->setVisible(third);
        cmbMultSrch[1]->setVisible(third);
        sspnlMultiWord->show();
        sspnlMultiWord->raise();
        return;
    }
    if (plan.kind == SearchKind::BadDate) {
        Messages().message("\"" + plan.badPart + "\" is not a date (month/day/year).", MsgButtons::Ok,
                           MsgIcon::Critical, "Sub: - sscmdSrchDateData");
        return;
    }
    const SearchClause clause = SingleSearchClause(plan, t);
    if (!CalendarIsOpen("Search")) return;
    try {
        DataDates.setDatabaseName(Module1.CalendarFilePath);
        MainState.pSQL = kGridSelect + clause.where.sql;
        if (clause.textOrder) MainState.pSQLOrder = kTextSearchOrder;
        RefillOldTypes("", {}, false);
        totalRecords_ = CountAllRecords();
        if (MainState.pSQLOrder.empty()) MainState.pSQLOrder = kGridDefaultOrder;
        RunDateGrid(MainState.pSQL + MainState.pSQLOrder, clause.where.params);
    } catch (const db::DbError& e) {
        ErrorBox(e, "Sub: - sscmdSrchDateData", "\r\n@Error Point 4\r\n" + MainState.pSQL + "\r\n" + MainState.pSQLOrder);
        return;
    }
    const int count = DataDates.recordCount();
    lblRecCnt->setText(QString::number(count) + " Recs");
    MarkListedRows(count > 0 && count < totalRecords_);
}

void frmVelmora::sscmdMultSrch_Click() {
    std::optional<std::string> third;
    if (!txtSrch[2]->isHidden()) third = txtSrch[2]->text().toStdString();
    const BoundSql clause = MultiWordClause(txtSrch[0]->text().toStdString(), cmbMultSrch[0]->currentText().toStdString(),
                                            txtSrch[1]->text().toStdString(), third,
                                            cmbMultSrch[1]->currentText().toStdString());
    if (!CalendarIsOpen("Search")) return;
    try {
        DataDates.setDatabaseName(Module1.CalendarFilePath);
        RefillOldTypes(clause.sql, clause.params, true);
        MainState.pSQL = kGridSelect + clause.sql;
        totalRecords_ = CountAllRecords();
        RunDateGrid(MainState.pSQL + kTextSearchOrder, clause.params);
    } catch (const db::DbError& e) {
        ErrorBox(e, "Sub: - sscmdMultSrch");
        sspnlMultiWord->hide();
        return;
    }
    const int count = DataDates.recordCount();
    lblRecCnt->setText(QString::number(count) + " Recs");
    MarkListedRows(count > 0 && count < totalRecords_);
    sspnlMultiWord->hide();
}

void frmVelmora::Combo3_Click() {
    lblRecCnt->clear();
    txtSearch->clear();
    std::string c = Combo3->currentText().toStdString();
    if (c.rfind("WeekMask", 0) == 0) {
        c = "WeekMask";
        Combo3->setEditText("WeekMask");
    }
    const BoundSql clause = TypeFilterClause(c);
    if (!CalendarIsOpen("Filter")) return;
    try {
        MainState.pSQL = kGridSelect + clause.sql;
        MainState.pSQLOrder = kTypeFilterOrder;
        RunDateGrid(MainState.pSQL + MainState.pSQLOrder, clause.params);
    } catch (const db::DbError& e) {
        ErrorBox(e, "Combo3_Click_Error");
        return;
    }
    lblRecCnt->setText(QString::number(DataDates.recordCount()) + " Recs");
    MarkListedRows(true);
}

}  // namespace vm
