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
#include <QStyleOptionButton>
#include <QTableView>

#include "core/calendardocument.h"
#include "core/calendarfiles.h"
#include "core/gridsearch.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/recordgrid.h"
#include "platform/sound.h"
#include "platform/steps.h"
#include "records/dategrid.h"

namespace vm {
namespace {

void ErrorBox(const db::DbError& e, const std::string& title, const std::string& more = "") {
    Messages().message(std::to_string(e.number()) + " - " + e.what() + more, MsgButtons::Ok, MsgIcon::Critical, title);
}

}  // namespace

void DateGrid::InstallSearchBar(QWidget* client, QFrame* searchBar) {
    auto* row = new QHBoxLayout(searchBar);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    txtSearch = new QLineEdit("Search", searchBar);
    txtSearch->setObjectName("txtSearch");
    txtSearch->setToolTip(" Search Data For This ");
    sscmdSrchDateData = NamedButton(searchBar, "sscmdSrchDateData", "", " Search for Text in Entire Database ");
    sscmdSrchDateData->setIcon(searchBar->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    sscmdClearSrch = NamedButton(searchBar, "sscmdClearSrch", "", " Clear Search - End Sound Playing ");
    sscmdClearSrch->setIcon(searchBar->style()->standardIcon(QStyle::SP_DialogResetButton));
    lblRecCnt = new QLabel(searchBar);
    lblRecCnt->setObjectName("lblRecCnt");
    sscmdRepeat = NamedButton(searchBar, "sscmdRepeat", "Repeat", " Display Repeat Examples ");
    for (QPushButton* b : {sscmdSrchDateData, sscmdClearSrch}) b->setFixedWidth(28);
    {
        // As wide as its caption needs (a push button's own least width is wider).
        QStyleOptionButton option;
        option.initFrom(sscmdRepeat);
        const QStyle* style = sscmdRepeat->style();
        sscmdRepeat->setFixedWidth(sscmdRepeat->fontMetrics().horizontalAdvance(sscmdRepeat->text()) +
                                   style->pixelMetric(QStyle::PM_ButtonMargin, &option, sscmdRepeat) +
                                   2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, sscmdRepeat) + 4);
    }
    // The box holds a word of ten letters, and the count keeps room for
    // the largest it shows, so that a search never narrows the box.
    const QFontMetrics metrics(txtSearch->font());
    txtSearch->setMinimumWidth(10 * metrics.averageCharWidth() + 12);
    lblRecCnt->setFixedWidth(QFontMetrics(lblRecCnt->font()).horizontalAdvance("99999 Recs") + 2);
    row->addWidget(txtSearch, 1);
    row->addWidget(sscmdSrchDateData);
    row->addWidget(sscmdClearSrch);
    row->addWidget(lblRecCnt);
    row->addWidget(sscmdRepeat);
    connect(sscmdSrchDateData, &QPushButton::clicked, this, [this] { sscmdSrchDateData_Click(); });
    connect(sscmdClearSrch, &QPushButton::clicked, this, [this] { sscmdClearSrch_Click(); });
    connect(sscmdRepeat, &QPushButton::clicked, this, [this] { sscmdRepeat_Click(); });

    // The multi-word panel, below the search bar, is made when a search
    // first needs it.
    client_ = client;
    Combo3->setInsertPolicy(QComboBox::NoInsert);
    connect(Combo3, qOverload<int>(&QComboBox::activated), this, [this] { Combo3_Click(); });

    auto* hook = new EventHook(this, [this](QObject* watched, QEvent* event) {
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
    searchHook_ = hook;
}

void DateGrid::MakeMultiWordPanel() {
    if (sspnlMultiWord) return;
    QWidget* client = client_;
    QFrame* searchBar = qobject_cast<QFrame*>(txtSearch->parentWidget());
    sspnlMultiWord = new QFrame(client);
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
    sscmdExitMulSrch->setIcon(searchBar->style()->standardIcon(QStyle::SP_DialogCloseButton));
    multi->addWidget(sscmdMultSrch);
    multi->addWidget(sscmdExitMulSrch);
    sspnlMultiWord->adjustSize();
    sspnlMultiWord->move(searchBar->x(), searchBar->y() + searchBar->height() + 2);
    sspnlMultiWord->hide();
    connect(sscmdMultSrch, &QPushButton::clicked, this, [this] { sscmdMultSrch_Click(); });
    connect(sscmdExitMulSrch, &QPushButton::clicked, this, [this] { sscmdExitMulSrch_Click(); });

    for (QLineEdit* box : txtSrch) box->installEventFilter(searchHook_);
}

void DateGrid::txtSearch_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii != 13) return;
    KeyAscii = 0;
    sscmdSrchDateData_Click();
}

void DateGrid::txtSearch_Click() {
    lblRecCnt->clear();
    txtSearch->clear();
}

void DateGrid::sscmdClearSrch_Click() {
    OptionalStep([&] { SoundPlayer().stop(); });
    ShowListedButtons(false);
    txtSearch->clear();
    txtSearch->setFocus();
    lblRecCnt->clear();
}

void DateGrid::sscmdExitMulSrch_Click() {
    if (!sspnlMultiWord) return;
    for (QLineEdit* box : txtSrch) box->clear();
    sspnlMultiWord->hide();
}

void DateGrid::txtSrch_Click(int Index) {
    if (sspnlMultiWord && Index >= 0 && Index < 3) txtSrch[size_t(Index)]->clear();
}

// ---------------------------------------------------------------- running

// The table's count and date types change only when the file does: they are
// read again only then.
namespace {
struct TableSummary {
    std::string path, stamp;
    int32_t total = 0;
    std::vector<std::string> types;  // each once, in the order first stored
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
    db::Statement types = store.prepare(std::string(kDateTypesHead) + kDateTypesTail);
    while (types.step()) s.types.push_back(db::AsText(types.column(0)));
    return s;
}
}  // namespace

int32_t DateGrid::CountAllRecords() { return CurrentSummary(dates_.database()).total; }

void DateGrid::RefillOldTypes(const std::string& where, const std::vector<db::Value>& params, bool noneFirst) {
    std::vector<std::string> found;
    if (where.empty()) {
        found = CurrentSummary(dates_.database()).types;
    } else {
        db::Statement st = dates_.database().prepare(kDateTypesHead + where + kDateTypesTail);
        if (!params.empty()) st.bindAll(params);
        while (st.step()) found.push_back(db::AsText(st.column(0)));
    }
    ssPanlCopyRecs->MakeControls();  // the copy panel's list of types
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

void DateGrid::RunDateGrid(const std::string& sql, const std::vector<db::Value>& params) {
    gridParamsSql_ = MainState.pSQL;
    gridParams_ = params;
    dates_.setDatabaseName(Module1.CalendarFilePath);
    dates_.setRecordSource(sql);
    dates_.setParameters(params);
    dates_.refresh();
}

bool DateGrid::ListingShown() const {
    return listing_ && dates_.recordSource() == listedSource_ && dates_.databaseName() == listedPath_ &&
           listedPath_ == Module1.CalendarFilePath;
}

std::vector<int64_t> DateGrid::ListedRowIds() const {
    std::vector<int64_t> ids;
    const int id = dates_.fieldCount() > 0 ? model->fieldIndex("ID") : -1;
    for (int r = 0; id >= 0 && r < dates_.recordCount(); ++r) ids.push_back(db::AsInt(dates_.valueAt(r, id)));
    return ids;
}

// The count shown belongs to the rows it counted: read again, it counts them
// again; once the grid lists other rows (the month again, another filter), it
// goes.
void DateGrid::ShowCount() {
    countedSource_ = dates_.recordSource();
    countedPath_ = dates_.databaseName();
    lblRecCnt->setText(QString::number(dates_.recordCount()) + " Recs");
}

void DateGrid::KeepCountTrue() {
    if (holding_ || !lblRecCnt || lblRecCnt->text().isEmpty()) return;  // a pass between: the listing comes back
    if (dates_.recordSource() == countedSource_ && dates_.databaseName() == countedPath_)
        lblRecCnt->setText(QString::number(dates_.recordCount()) + " Recs");
    else
        lblRecCnt->clear();
}

void DateGrid::MarkListedRows(bool show) {
    listedIds_ = ListedRowIds();
    listedPath_ = dates_.databaseName();
    listedSource_ = dates_.recordSource();
    listing_ = show;
    Reload();
    ShowListedButtons(show);
}

void DateGrid::DeleteListedRecords() {
    // Only the rows the grid still lists; once it shows other rows there is
    // nothing left to delete.
    if (!ListingShown()) {
        listing_ = false;
        return;
    }
    // The listing read again: what the question counts and the grid shows is
    // what goes, also when another program changed the rows meanwhile.
    int listed = 0;
    try {
        ReadListedAgain();  // the grid shows what the question counts
        listedIds_ = ListedRowIds();
        listed = static_cast<int>(listedIds_.size());
    } catch (...) {
        listing_ = false;
        return;
    }
    const std::string question =
        "Permanently Deleting " + std::to_string(listed) + " Date Records\r\nAre You Sure?";
    if (Messages().message(question, MsgButtons::OkCancel, MsgIcon::Critical, "Deleting Records") == MsgResult::Cancel) {
        ShowListedButtons(true);  // the listing stays, and so does the way to delete it
        return;
    }

    int deleted = 0;
    try {
        db::Database& store = dates_.database();
        db::Transaction transaction(store);
        db::Statement remove = store.prepare("DELETE FROM [Velmora] WHERE [ID] = ?");
        for (int64_t id : listedIds_) {
            remove.bind(1, db::Int(id));
            remove.run();
            deleted += store.changes();
        }
        transaction.commit();
    } catch (const std::exception&) {
        const std::exception_ptr failure = std::current_exception();
        if (!ShowPlainWriteFailure(failure))
            Messages().message("No Date Records were Deleted.\r\n" + DescribeError(failure).second, MsgButtons::Ok,
                               MsgIcon::Critical, "Deleting Records");
        ShowListedButtons(true);  // nothing went: the listing stays, and the way to try again
        return;
    }
    listing_ = false;
    listedIds_.clear();
    InfoBox(std::to_string(deleted) + " Date Records Deleted.", "Deleting Records");
    // The month is drawn again and the grid lists it; the count is its count.
    listingDeleted_ = true;
    Document().RecordsWritten(CalendarDocument::Change::Deleted);
    Document().Settle();
    listingDeleted_ = false;
    ShowCount();
}

void DateGrid::sscmdSrchDateData_Click() {
    const std::string t = txtSearch->text().toStdString();
    if (Trim(t).empty() && sspnlMultiWord && !sspnlMultiWord->isHidden()) return;
    const SearchPlan plan = ChooseSearch(t);
    if (plan.kind == SearchKind::MultiWord) {
        MakeMultiWordPanel();
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
        dates_.setDatabaseName(Module1.CalendarFilePath);
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
    const int count = dates_.recordCount();
    ShowCount();
    MarkListedRows(count > 0 && count < totalRecords_);
}

void DateGrid::sscmdMultSrch_Click() {
    if (!sspnlMultiWord) return;  // no words to search for
    std::optional<std::string> third;
    if (!txtSrch[2]->isHidden()) third = txtSrch[2]->text().toStdString();
    const BoundSql clause = MultiWordClause(txtSrch[0]->text().toStdString(), cmbMultSrch[0]->currentText().toStdString(),
                                            txtSrch[1]->text().toStdString(), third,
                                            cmbMultSrch[1]->currentText().toStdString());
    if (!CalendarIsOpen("Search")) return;
    try {
        dates_.setDatabaseName(Module1.CalendarFilePath);
        RefillOldTypes(clause.sql, clause.params, true);
        MainState.pSQL = kGridSelect + clause.sql;
        totalRecords_ = CountAllRecords();
        RunDateGrid(MainState.pSQL + kTextSearchOrder, clause.params);
    } catch (const db::DbError& e) {
        ErrorBox(e, "Sub: - sscmdMultSrch");
        sspnlMultiWord->hide();
        return;
    }
    const int count = dates_.recordCount();
    ShowCount();
    MarkListedRows(count > 0 && count < totalRecords_);
    sspnlMultiWord->hide();
}

void DateGrid::Combo3_Click() {
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
    ShowCount();
    MarkListedRows(true);
}

}  // namespace vm
