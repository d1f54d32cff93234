// The to-do list driven headless by object name over a real settings
// database: the hidden-task filter, search, clear, header sort, the creation
// date of new tasks, refusals and deleting.
#include <QHeaderView>
#include <QPushButton>

#include "platform/clock.h"
#include "tools/frm2dolist.h"
#include "gridedit.h"
#include "keyboard.h"
#include "toolwindow_testutil.h"

namespace db = vm::db;

namespace {

class ToDo : public ::testing::Test, public vmtest::ToolWindowFixture {
protected:
    void SetUp() override {
        vm::SetClock(&clock);
        vm::ToDoSortState().clear();
        auto date = [](const char* iso) { return *iso ? db::Text(iso) : db::Value{}; };
        struct Row { db::Value hide; int no; const char* text; int prio; const char* created; };
        for (const Row& r : {Row{db::Int(0), 1, "Buy milk", 2, "2024-05-01"}, Row{db::Int(-1), 2, "Old milk run", 1, "2023-01-02"},
                             Row{db::Int(0), 3, "Call Zoë", 1, "2024-02-10"}, Row{{}, 4, "Pay O'Hara", 3, ""}})
            exec("INSERT INTO [ToDoList] ([Hide], [TaskNo], [TaskDescription], [Priority], [DateCreated]) VALUES (?, ?, ?, ?, ?)",
                 {r.hide, db::Int(r.no), db::Text(r.text), db::Int(r.prio), date(r.created)});
        trigger(main.get(), "mnuFile_Show2Do");
        w = vm::ToDoList();
        ASSERT_NE(w, nullptr);
        grid = w->findChild<QTableView*>("TDBGrid2DoList");
        box = w->findChild<QLineEdit*>("txtSearch");
        ASSERT_NE(grid, nullptr);
        ASSERT_NE(box, nullptr);
    }
    void TearDown() override {
        vm::Unload2DoList();
        main.reset();
        vm::SetClock(nullptr);
    }
    std::vector<std::string> tasks() { return vmtest::Shown(grid, "TaskNo"); }
    void search(const QString& text) {
        box->setText(text);
        QTest::mouseClick(w->findChild<QPushButton*>("sscmdSrch2DoLst"), Qt::LeftButton);
    }
    using V = std::vector<std::string>;

    vm::FakeClock clock{{2024, 6, 4, 10, 0, 0}};
    vm::frm2DoList* w = nullptr;
    QTableView* grid = nullptr;
    QLineEdit* box = nullptr;
};

TEST_F(ToDo, OpensWithoutHiddenTasksThenSearchesAndSorts) {
    EXPECT_TRUE(vm::Module1.ToDoListOpen);
    EXPECT_EQ(w->pos(), main->geometry().topLeft() + QPoint(50, 50)) << "750 twips below and right";
    EXPECT_EQ(tasks(), (V{"3", "1", "4"})) << "by priority, then creation date; an empty Hide is not hidden";
    EXPECT_EQ(vmtest::Shown(grid, "DateCreated"), (V{"2/10/2024", "5/1/2024", ""}));
    EXPECT_EQ(vm::Show2DoList(), w) << "one instance";

    search("MILK");
    EXPECT_EQ(tasks(), (V{"1"}));
    trigger(w, "mnuFile_ShowHidden");
    EXPECT_EQ(tasks(), (V{"2", "3", "1", "4"})) << "the menu drops the search";
    EXPECT_EQ(box->text(), "MILK");
    // The search matches the texts the grid shows, literally and in any case.
    struct Case { const char* typed; V found; };
    for (const Case& c : {Case{"o'hara", {"4"}}, Case{"ZOË", {"3"}}, Case{"5/1/2024", {"1"}}, Case{"%", {}},
                          Case{"milk", {"2", "1"}}}) {
        search(QString::fromUtf8(c.typed));
        EXPECT_EQ(tasks(), c.found) << c.typed;
    }
    vmtest::ClickHeader(grid, "TaskNo");
    EXPECT_EQ(tasks(), (V{"1", "2"})) << "a header click keeps the search";
    vmtest::ClickHeader(grid, "TaskNo");
    EXPECT_EQ(tasks(), (V{"2", "1"}));

    QTest::mouseClick(w->findChild<QPushButton*>("sscmdClearSrch"), Qt::LeftButton);
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(tasks(), (V{"2", "3", "1", "4"})) << "clear with hidden tasks shown lists them all";
    trigger(w, "mnuFile_ShowHidden");
    EXPECT_EQ(tasks(), (V{"3", "1", "4"}));
    EXPECT_TRUE(messages.shown.empty());
    main->Form_Unload();  // shut-down closes it
    EXPECT_EQ(vm::ToDoList(), nullptr);
    EXPECT_FALSE(vm::Module1.ToDoListOpen);
}

TEST_F(ToDo, ANewTaskGetsTodayAsARealDate) {
    auto* m = vmtest::ModelOf(grid);
    const int newRow = m->recordCount();
    vmtest::TypeIntoCell(grid, newRow, "TaskDescription", "Water plants");
    EXPECT_EQ(column("SELECT [DateCreated]||' '||[Hide] FROM [ToDoList] WHERE [TaskDescription] = 'Water plants'"),
              V{"2024-06-04 0"});
    EXPECT_EQ(vmtest::Shown(grid, "DateCreated")[size_t(newRow)], "6/4/2024");
    EXPECT_TRUE(m->isNewRowLine(newRow + 1));

    // An older task without a date gets one at its next edit; one with a date keeps it.
    vmtest::TypeIntoCell(grid, 2, "Priority", "5");  // task 4
    vmtest::TypeIntoCell(grid, 0, "Priority", "7");  // task 3
    EXPECT_EQ(column("SELECT [DateCreated] FROM [ToDoList] ORDER BY [ID]"),
              (V{"2024-05-01", "2023-01-02", "2024-02-10", "2024-06-04", "2024-06-04"}));

    // A value the column cannot hold is refused and nothing is stored.
    const std::string before = vmtest::ReadAll(settings);
    vmtest::TypeIntoCell(grid, 1, "TaskNo", "seven");
    vmtest::TypeIntoCell(grid, m->recordCount(), "DateFinished", "6/31/2024");
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(vmtest::ReadAll(settings), before);

    // File > Exit stores the cell still being edited.
    vmtest::OpenCellAndType(grid, m->index(0, m->fieldIndex("TaskDescription")), "Call Zoe back");
    trigger(w, "mnuFile_Exit");
    EXPECT_EQ(column("SELECT [TaskDescription] FROM [ToDoList] WHERE [TaskNo] = 3"), V{"Call Zoe back"});
    EXPECT_EQ(vm::ToDoList(), nullptr);
}

TEST_F(ToDo, DeleteRemovesTheSelectedRowsAfterAsking) {
    auto* header = grid->verticalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->width() / 2, 2));  // task 3's row
    messages.answers.push_back(vm::MsgResult::No);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(tasks(), (V{"3", "1", "4"})) << "No keeps the row";
    grid->selectionModel()->select(grid->model()->index(2, 1), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(messages.shown.back().text, "Delete 2 selected rows?");
    EXPECT_EQ(tasks(), (V{"1"}));
    EXPECT_EQ(column("SELECT [TaskNo] FROM [ToDoList] ORDER BY [TaskNo]"), (V{"1", "2"}));

    // A row that cannot go keeps the others of the selection with it.
    exec("INSERT INTO [ToDoList] ([Hide], [TaskNo], [TaskDescription], [Priority]) VALUES (0, 5, 'Kept', 9)", {});
    exec("CREATE TRIGGER [KeepOne] BEFORE DELETE ON [ToDoList] WHEN old.[TaskNo] = 1 "
         "BEGIN SELECT RAISE(ABORT, 'this task is kept'); END", {});
    QTest::mouseClick(w->findChild<QPushButton*>("sscmdClearSrch"), Qt::LeftButton);
    ASSERT_EQ(tasks().size(), 2u);
    grid->selectAll();
    messages.shown.clear();
    QTest::keyClick(grid, Qt::Key_Delete);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find("this task is kept"), std::string::npos);
    EXPECT_EQ(messages.shown[1].text.rfind("No rows were deleted.", 0), 0u) << "it says that none went";
    EXPECT_EQ(column("SELECT [TaskNo] FROM [ToDoList] ORDER BY [TaskNo]"), (V{"1", "2", "5"})) << "all or none";
    EXPECT_EQ(tasks().size(), 2u) << "the list shows what the file holds";
}

// Keyboard only: the search box's name gives way to what is typed, a row
// picked with Home and Shift+End is deleted, and the font buttons are reached.
TEST_F(ToDo, KeyboardSearchesDeletesAPickedRowAndStepsTheFont) {
    using vmtest::Press;
    ASSERT_TRUE(vmtest::ActivateForKeys(w));
    ASSERT_EQ(vmtest::FocusName(), "txtSearch") << "the list opens with the keys in the search box";
    ASSERT_EQ(box->text(), "Search");
    vmtest::TypeKeys("milk");
    EXPECT_EQ(box->text(), "milk") << "typing replaces the box's name";
    Press(Qt::Key_Return);
    EXPECT_EQ(tasks(), (V{"1"}));
    ASSERT_TRUE(vmtest::TabTo("txtSearch", true, 10));
    EXPECT_EQ(box->text(), "milk") << "a typed search is kept when the box is entered again";
    ASSERT_TRUE(vmtest::TabTo("sscmdClearSrch"));
    Press(Qt::Key_Space);
    ASSERT_TRUE(vmtest::TabTo("TDBGrid2DoList"));
    Press(Qt::Key_Home, Qt::ControlModifier);
    Press(Qt::Key_Down);  // task 1's row
    Press(Qt::Key_Home);
    Press(Qt::Key_End, Qt::ShiftModifier);
    messages.answers.push_back(vm::MsgResult::Yes);
    Press(Qt::Key_Delete);
    ASSERT_EQ(messages.shown.size(), 1u) << "Delete asks about the picked row";
    EXPECT_EQ(messages.shown[0].text, "Delete the selected row?");
    EXPECT_EQ(tasks(), (V{"3", "4"}));
    EXPECT_EQ(column("SELECT [TaskNo] FROM [ToDoList] ORDER BY [TaskNo]"), (V{"2", "3", "4"}));

    // Cells picked in part of their rows are no rows to delete.
    Press(Qt::Key_Home, Qt::ControlModifier);
    Press(Qt::Key_Right);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    Press(Qt::Key_Delete);
    ASSERT_EQ(messages.shown.size(), 1u) << "nothing asked";
    // Two whole rows picked from the keyboard.
    Press(Qt::Key_Home, Qt::ControlModifier);
    Press(Qt::Key_End, Qt::ShiftModifier);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    messages.answers.push_back(vm::MsgResult::No);
    Press(Qt::Key_Delete);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "Delete 2 selected rows?");
    EXPECT_EQ(tasks(), (V{"3", "4"})) << "No keeps them";

    const double size = grid->font().pointSizeF();
    ASSERT_TRUE(vmtest::TabTo("UpArrow1"));
    Press(Qt::Key_Space);
    EXPECT_GT(grid->font().pointSizeF(), size);
}

}  // namespace

namespace {

TEST_F(ToDo, DatesWrittenAsMonthDayYearSortAndAreFoundAsDays) {
    // Tasks another tool wrote with M/D/YYYY dates, beside the ISO ones.
    for (auto [no, created] : {std::pair{5, "12/8/2026"}, std::pair{6, "3/4/2027"}, std::pair{7, "0030-01-01"},
                               std::pair{8, "1930-05-01"}})
        exec("INSERT INTO [ToDoList] ([Hide], [TaskNo], [TaskDescription], [Priority], [DateCreated]) "
             "VALUES (0, ?, 'later', 9, ?)",
             {db::Int(no), db::Text(created)});
    trigger(w, "mnuFile_ShowHidden");
    trigger(w, "mnuFile_ShowHidden");
    EXPECT_EQ(tasks(), (V{"3", "1", "4", "7", "8", "5", "6"})) << "priority, then the day created";
    for (const char* typed : {"3/4/2027", "2027"}) {
        search(typed);
        EXPECT_EQ(tasks(), (V{"6"})) << typed;
    }
    QTest::mouseClick(w->findChild<QPushButton*>("sscmdClearSrch"), Qt::LeftButton);
    vmtest::ClickHeader(grid, "DateCreated");
    EXPECT_EQ(tasks(), (V{"4", "7", "8", "3", "1", "5", "6"})) << "by the day created";

    // A date cell holding text that is no date is shown, and found, as it is.
    exec("UPDATE [ToDoList] SET [DateFinished] = 'next week' WHERE [TaskNo] = 3");
    search("next week");
    EXPECT_EQ(tasks(), (V{"3"}));
    search("0/0/");
    EXPECT_EQ(tasks(), (V{})) << "nothing shown reads so";
}

}  // namespace
