// The to-do list's query states run on a real settings database: the
// hidden-task filter, the search, the clear and the header sort.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/todolist.h"
#include "platform/datagrid.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

struct Tasks : vmtest::Fixture {
    std::string path = vmtest::FreshSettings();
    Tasks() {
        auto d = db::Database::Open(path);
        auto ins = d->prepare(
            "INSERT INTO [ToDoList] ([Hide], [TaskNo], [TaskDescription], [Priority], [DateCreated], [DateFinished]) "
            "VALUES (?, ?, ?, ?, ?, ?)");
        auto date = [](const char* iso) { return *iso ? db::Text(iso) : db::Value{}; };
        struct Row { db::Value hide; int no; const char* text; int prio; const char* created; const char* finished; };
        for (const Row& r : {Row{db::Int(0), 10, "Buy milk", 2, "2024-06-04", ""},
                             Row{db::Int(-1), 11, "Old milk run", 1, "2023-01-02", "2023-01-03"},
                             Row{{}, 12, "Fix the Straße sign", 1, "2024-01-15", ""},
                             Row{db::Int(0), 13, "Call O'Brien", 3, "", ""},
                             Row{db::Int(-1), 14, "Hidden café", 2, "2022-12-31", ""}}) {
            ins.bindAll({r.hide, db::Int(r.no), db::Text(r.text), db::Int(r.prio), date(r.created), date(r.finished)});
            ins.run();
        }
    }
    // Task numbers listed by the query, in order.
    std::vector<int> Listed(const vm::ToDoQuery& q) {
        auto d = db::Database::Open(path);
        auto st = d->prepare(q.text());
        st.bindAll(q.parameters());
        std::vector<int> out;
        while (st.step()) out.push_back(int(db::AsInt(st.column(2))));
        return out;
    }
};

}  // namespace

TEST(ToDoQuery, FilterSearchClearAndSortStates) {
    Tasks t;
    vm::ToDoQuery q;
    vm::GridSortState sort;
    EXPECT_EQ(t.Listed(q), (std::vector<int>{12, 10, 13})) << "not hidden (an empty Hide too), by priority then date";

    q.search("MILK");
    EXPECT_EQ(t.Listed(q), (std::vector<int>{10})) << "hidden tasks stay out of a search";
    q.setShowHidden(true);
    EXPECT_FALSE(q.searching()) << "the menu drops the search";
    EXPECT_EQ(t.Listed(q), (std::vector<int>{11, 12, 14, 10, 13}));
    q.search("milk");
    EXPECT_EQ(t.Listed(q), (std::vector<int>{11, 10}));

    q.sortBy("TaskNo", sort);
    EXPECT_EQ(t.Listed(q), (std::vector<int>{10, 11})) << "a header click keeps the search";
    q.sortBy("TaskNo", sort);
    EXPECT_EQ(t.Listed(q), (std::vector<int>{11, 10})) << "a second click reverses";
    q.sortBy("DateCreated", sort);
    EXPECT_EQ(t.Listed(q), (std::vector<int>{11, 10})) << "another column starts ascending";
    q.search("milk");
    EXPECT_EQ(q.order(), std::string(vm::kToDoOrder)) << "a new search returns to the normal order";

    q.clear();
    EXPECT_EQ(t.Listed(q), (std::vector<int>{11, 12, 14, 10, 13})) << "clear with hidden records shown";
    q.setShowHidden(false);
    q.sortBy("Priority", sort);
    q.clear();
    EXPECT_EQ(t.Listed(q), (std::vector<int>{12, 10, 13})) << "clear without them, in the normal order";
}

TEST(ToDoQuery, SearchMatchesWhatTheGridShowsLiterally) {
    Tasks t;
    vm::ToDoQuery q;
    q.setShowHidden(true);
    struct Case { const char* typed; std::vector<int> found; };
    for (const Case& c : {Case{"6/4/2024", {10}}, Case{"1/3/2023", {11}}, Case{"o'brien", {13}},
                          Case{"STRAẞE", {12}}, Case{"STRASSE", {}}, Case{"CAFÉ", {14}}, Case{"true", {11, 14}},
                          Case{"%", {}}, Case{"_", {}}, Case{"13", {13}}}) {
        q.search(c.typed);
        EXPECT_EQ(t.Listed(q), c.found) << c.typed;
    }
}
