// The contact list driven headless by object name over a real settings
// database: opening, search, header sort, the font buttons, cell edits, the
// card, the kept rectangle, and the File menu's export and import.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <filesystem>

#include "platform/shell.h"
#include "records/frmselectedday.h"
#include "tools/frmpeople.h"
#include "gridedit.h"
#include "toolwindow_testutil.h"

namespace db = vm::db;

namespace {

class People : public ::testing::Test, public vmtest::ToolWindowFixture {
protected:
    void SetUp() override {
        vm::ResetPeopleRunState();
        vm::SetDesktopOpener(&opener);
        const char* sql =
            "INSERT INTO [People] ([Relationship], [FirstName], [MI], [LastName], [City], [State], [ZipCode], "
            "[Country], [Phone1], [Type1], [E-mail]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
        auto t = [](const char* s) { return *s ? db::Text(s) : db::Value{}; };
        for (auto r : std::vector<std::array<const char*, 11>>{
                 {"Friend", "Ann", "Q", "Lee", "Springfield", "IL", "62701", "USA", "555-1234", "Cell", "ann@x.org"},
                 {"Boss", "Dan", "", "O'Brien", "Cork", "", "", "Ireland", "", "", "dan@work.ie"},
                 {"Friend", "Ann", "", "Abel", "Århus", "", "", "Denmark", "", "", ""},
                 {"Cousin", "Éva", "", "Ölund", "Malmö", "", "", "Sweden", "", "", ""}})
            exec(sql, {t(r[0]), t(r[1]), t(r[2]), t(r[3]), t(r[4]), t(r[5]), t(r[6]), t(r[7]), t(r[8]), t(r[9]), t(r[10])});
        trigger(main.get(), "mnuList_People");
        bind(vm::People());
    }
    void TearDown() override {
        vm::UnloadPeople();
        vm::UnloadSelectedDay();
        main.reset();
        vm::SetDesktopOpener(nullptr);
    }
    void reopen() { bind(vm::ShowPeople()); }
    void bind(vm::frmPeople* window) {
        w = window;
        ASSERT_NE(w, nullptr);
        grid = w->findChild<QTableView*>("tdbgridPeople");
        box = w->findChild<QLineEdit*>("txtSearch");
        ASSERT_TRUE(grid && box);
    }
    void search(const QString& text) {
        box->setText(text);
        QTest::mouseClick(w->findChild<QPushButton*>("sscmdSrchPeople"), Qt::LeftButton);
    }
    std::string names() {
        std::string out;
        const auto first = vmtest::Shown(grid, "FirstName"), last = vmtest::Shown(grid, "LastName");
        for (size_t i = 0; i < first.size(); ++i) out += (i ? "," : "") + first[i] + " " + last[i];
        return out;
    }
    std::string current() {
        const int row = grid->currentIndex().row();
        return row < 0 ? "(none)" : vmtest::Shown(grid, "LastName").at(size_t(row));
    }
    QModelIndex cell(int row, const char* field) {
        return grid->model()->index(row, vmtest::ModelOf(grid)->fieldIndex(field));
    }
    // A double-click as the desktop delivers it: press, release, double-click, release.
    void doubleClick(int row) {
        grid->setCurrentIndex(cell(row, "City"));
        const QPoint at = grid->visualRect(cell(row, "City")).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    }

    vm::FakeDesktopOpener opener;
    vm::frmPeople* w = nullptr;
    QTableView* grid = nullptr;
    QLineEdit* box = nullptr;
};

TEST_F(People, OpensThenSearchesSortsAndStepsTheFont) {
    EXPECT_TRUE(vm::Module1.PeopleOpen);
    EXPECT_EQ(names(), "Ann Abel,Ann Lee,Dan O'Brien,Éva Ölund");
    grid->setCurrentIndex(cell(2, "City"));
    EXPECT_EQ(w->findChild<QLabel*>("StatusBar1_Panel1")->text(),
              "   Dan O'Brien     Recs: 4     Double-Click on Row to See Entire Row's Data");
    EXPECT_EQ(vm::ShowPeople(), w) << "one instance";

    // The search is literal, ignores case over all of Unicode and leaves Relationship out.
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->text(), "") << "a click empties the box";
    struct Case { const char* typed; const char* found; };
    for (const Case& c : {Case{"o'brien", "Dan O'Brien"}, Case{"ÖLUND", "Éva Ölund"}, Case{"ANN@X", "Ann Lee"},
                          Case{"friend", ""}, Case{"' OR '1'='1", ""},
                          Case{"", "Ann Lee,Ann Abel,Dan O'Brien,Éva Ölund"}}) {
        search(QString::fromUtf8(c.typed));
        EXPECT_EQ(names(), c.found) << c.typed;
    }
    EXPECT_TRUE(messages.shown.empty()) << "a quote is no error";
    box->setText("ireland");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(names(), "Dan O'Brien") << "Enter searches";
    QTest::mouseClick(w->findChild<QPushButton*>("sscmdClearSrch"), Qt::LeftButton);
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(names(), "Ann Abel,Ann Lee,Dan O'Brien,Éva Ölund");

    // A header click lists all contacts by that column and keeps the current
    // one, below the top row too (the header press does not select the column).
    search("ann");
    grid->setCurrentIndex(cell(1, "City"));  // Ann Abel, by first name and ID
    vmtest::ClickHeader(grid, "City");
    EXPECT_EQ(names(), "Ann Abel,Dan O'Brien,Éva Ölund,Ann Lee") << "Århus by its letters, not after Z";
    EXPECT_EQ(box->text(), "ann") << "the box keeps its text";
    EXPECT_EQ(current(), "Abel") << "the record stays current";

    // The font buttons step by two points, never below six.
    QFont f = grid->font();
    f.setPointSizeF(9);
    grid->setFont(f);
    trigger(w, "UpArrow");
    EXPECT_DOUBLE_EQ(grid->font().pointSizeF(), 11.0);
    for (int i = 0; i < 4; ++i) trigger(w, "DownArrow");
    EXPECT_DOUBLE_EQ(grid->font().pointSizeF(), 6.0);

    w->close();
    reopen();
    EXPECT_EQ(box->text(), "Search");
    vmtest::ClickHeader(grid, "City");
    EXPECT_EQ(names(), "Ann Lee,Éva Ölund,Dan O'Brien,Ann Abel") << "the sort state lasts for the run";
    main->Form_Unload();  // shut-down closes it
    EXPECT_EQ(vm::People(), nullptr);
}

TEST_F(People, EditsAreStoredAndADoubleClickShowsTheCopiedCard) {
    vmtest::TypeIntoCell(grid, 0, "City", "Aarhus, DK");
    vmtest::TypeIntoCell(grid, 0, "Relationship", "Mentor");  // a cell with a drop-down list
    EXPECT_EQ(column("SELECT [City] || '/' || [Relationship] FROM [People] WHERE [LastName] = 'Abel'"),
              std::vector<std::string>{"Aarhus, DK/Mentor"});

    doubleClick(1);
    EXPECT_EQ(vm::Module1.SelDayTitle, "Contact Information");
    ASSERT_NE(vm::SelectedDay(), nullptr);
    EXPECT_EQ(vm::SelectedDay()->txtDayText->toPlainText(),
              "Friend\nAnn Q Lee\nSpringfield, IL 62701 USA\n555-1234 Cell\nann@x.org \n\n"
              "This Record Has Been Copied to Windows Clipboard. Use Edit Paste or Control+V");
    EXPECT_EQ(QGuiApplication::clipboard()->text().count("\r\n"), 4);
    doubleClick(2);
    EXPECT_TRUE(vm::SelectedDay()->txtDayText->toPlainText().contains("Dan O'Brien")) << "another card replaces it";

    // Closing the list unloads the card and keeps the rectangle; File > Exit
    // stores the cell still being edited.
    w->setGeometry(40, 60, 700, 400);
    const QRect kept = w->geometry();
    vmtest::OpenCellAndType(grid, grid->model()->index(0, vmtest::ModelOf(grid)->fieldIndex("City")), "Odense");
    trigger(w, "mnuFile_Exit");
    EXPECT_EQ(column("SELECT [City] FROM [People] WHERE [LastName] = 'Abel'"), std::vector<std::string>{"Odense"});
    EXPECT_EQ(vm::SelectedDay(), nullptr);
    EXPECT_EQ(vm::Module1.PeopleWidth, kept.width() * 15);
    reopen();
    EXPECT_EQ(w->geometry(), kept) << "opened again at the kept rectangle";
}

TEST_F(People, ExportWritesTheListedContactsAndImportAddsAndSkips) {
    search("ann");
    const std::string path = dataDir + "/ann.txt";
    messages.fileAnswers.push_back(path);
    trigger(w, "mnuFile_Export");
    ASSERT_EQ(messages.dialogs.size(), 1u);
    EXPECT_TRUE(messages.dialogs[0].save);
    const std::string bytes = vmtest::ReadAll(path);  // the listed contacts, in the listed order
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 4);
    const size_t lee = bytes.find("\r\n\"1\",\"Friend\",\"Ann\",\"Q\",\"Lee\",");
    const size_t abel = bytes.find("\"Abel\",\"\",\"\",\"Århus\"");
    EXPECT_TRUE(lee < abel && abel != std::string::npos) << bytes;
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_NE(opener.opened[0].find("ann.txt"), std::string::npos);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "2 Records Exported ");
    messages.clear();
    messages.fileAnswers.push_back(dataDir + "/cards.txt");
    trigger(w, "mnuFile_PrintList");
    EXPECT_EQ(vmtest::ReadAll(dataDir + "/cards.txt").rfind("Friend\r\nAnn Q Lee\r\n", 0), 0u);

    QTest::mouseClick(w->findChild<QPushButton*>("sscmdClearSrch"), Qt::LeftButton);
    vmtest::WriteAll(dataDir + "/in.txt", "** FirstName\r\n**---\r\n\"1\",\"Pal\",\"Bea\",\"\",\"Cho\"\r\n"
                                          "Paris, TX\r\n\"1\",\"Pal\",\"Al\",\"\",\"Bo\"\r\n");
    messages.clear();
    messages.fileAnswers.push_back(dataDir + "/in.txt");
    trigger(w, "mnuFile_Import");
    EXPECT_EQ(messages.dialogs.at(0).filter.find("MDB"), std::string::npos) << "only text files are offered";
    EXPECT_EQ(names(), "Al Bo,Ann Abel,Ann Lee,Bea Cho,Dan O'Brien,Éva Ölund");
    ASSERT_EQ(messages.shown.size(), 1u) << "one box for the skipped lines";
    EXPECT_NE(messages.shown[0].text.find("(line 4)"), std::string::npos) << messages.shown[0].text;
    EXPECT_TRUE(vmtest::ModelOf(grid)->valueList(vmtest::ModelOf(grid)->fieldIndex("Relationship")).contains("Pal"));
}

}  // namespace
