// The date grid's search rules, run against a real calendar file: the mode a
// typed text asks for, numbers, the multi-word and type filters, and what a
// cell edit derives.
#include <gtest/gtest.h>

#include <set>

#include "core/gridsearch.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::SearchKind;

namespace {

class Search : public ::testing::Test {
protected:
    vmtest::Fixture fx;
    std::shared_ptr<db::Database> store = db::Database::Open(vmtest::FreshCalendar());

    // A record; a nullptr type or font is stored as Null.
    std::string Add(const char* text, const char* repeat = "", const char* type = "Event", const char* font = "",
                    int hour = 1, int minute = 2, int sound = 3, bool hide = false) {
        auto st = store->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[Duration],"
            "[DateType],[Font],[DayColors],[SoundNum]) VALUES (?,?,0,?,?,'AM',?,?,0,?,?,'',?)");
        st.bindAll({db::Bool(hide), db::Text("2024-01-05"), db::Int(hour), db::Int(minute), db::Text(text), db::Text(repeat),
                    type ? db::Text(type) : db::Value{}, font ? db::Text(font) : db::Value{}, db::Int(sound)});
        st.run();
        return text;
    }
    // The DateText of every row the clause lists.
    std::set<std::string> Listed(const vm::BoundSql& where) {
        auto st = store->prepare(std::string(vm::kGridSelect) + where.sql);
        if (!where.params.empty()) st.bindAll(where.params);
        std::set<std::string> texts;
        const int col = 6;  // DateText
        while (st.step()) texts.insert(db::AsText(st.column(col)));
        return texts;
    }
    std::set<std::string> TextSearch(const std::string& t) {
        return Listed(vm::SingleSearchClause(vm::ChooseSearch(t), t).where);
    }
};

TEST(SearchMode, ChosenFromTheTypedText) {
    struct Case {
        const char* typed;
        SearchKind kind;
    } cases[] = {
        {"cake", SearchKind::Text},         {"45", SearchKind::Number},
        {"2021", SearchKind::Text},         {"12", SearchKind::Text},
        {"7", SearchKind::Text},            {"2022", SearchKind::Number},
        {"", SearchKind::Text},             {"1/5/2024", SearchKind::Date},
        {"1/5/2024;1/10/2024", SearchKind::DateRange}, {"a;b", SearchKind::MultiWord},
        {"a;b;c", SearchKind::MultiWord},   {"2/30/2024", SearchKind::BadDate},
        {"1/5/2024;soon", SearchKind::BadDate},
    };
    for (const Case& c : cases) EXPECT_EQ(vm::ChooseSearch(c.typed).kind, c.kind) << c.typed;

    const vm::SearchPlan range = vm::ChooseSearch("1/5/2024;1/10/2024");
    EXPECT_EQ(range.from, (vm::CivilDate{2024, 1, 5}));
    EXPECT_EQ(range.to, (vm::CivilDate{2024, 1, 10}));
    EXPECT_EQ(vm::ChooseSearch("a;b;c").words, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(vm::ChooseSearch(" 44.5").number, 44);  // halves to the even neighbour
    EXPECT_EQ(vm::ChooseSearch("45.5").number, 46);
}

TEST_F(Search, ANumberIsLookedForInTheHourMinuteSoundAndRepeat) {
    Add("hour", "", "Event", "", 45, 0, 0);
    Add("minute", "", "Event", "", 0, 45, 0);
    Add("sound", "", "Event", "", 0, 0, 45);
    Add("repeat", "45", "Event", "", 0, 0, 0);
    Add("none", "", "Event", "", 4, 5, 6);
    EXPECT_EQ(TextSearch("45"), (std::set<std::string>{"hour", "minute", "sound", "repeat"}));
}

TEST_F(Search, MultiWordJoinsAndNotAndTheTypeFilters) {
    Add("apple pie", "Daily");
    Add("apple tart", "WeekMask-TFTTFFT");
    Add("pear pie", "weekmask-YNYNYNY", "Event", "", 1, 2, 3, true);
    Add("plum", "", nullptr, nullptr, 1, 2, 3, true);

    using S = std::set<std::string>;
    EXPECT_EQ(Listed(vm::MultiWordClause("apple", "And", "pie", std::nullopt, "And")), S{"apple pie"});
    EXPECT_EQ(Listed(vm::MultiWordClause("apple", "Or", "pie", std::nullopt, "And")),
              (S{"apple pie", "apple tart", "pear pie"}));
    // "Not": neither word occurs.
    EXPECT_EQ(Listed(vm::MultiWordClause("apple", "Not", "pie", std::nullopt, "And")), S{"plum"});
    EXPECT_EQ(Listed(vm::MultiWordClause("APPLE", "And", "pie", std::string("Daily"), "And")), S{"apple pie"});
    EXPECT_EQ(Listed(vm::MultiWordClause("apple", "And", "pie", std::string("plum"), "Or")), (S{"apple pie", "plum"}));

    EXPECT_EQ(Listed(vm::TypeFilterClause("Hidden")), (S{"pear pie", "plum"}));
    EXPECT_EQ(Listed(vm::TypeFilterClause("WeekMask TF/YN")), (S{"apple tart", "pear pie"}));
    EXPECT_EQ(Listed(vm::TypeFilterClause("Daily")), S{"apple pie"});
    EXPECT_EQ(Listed(vm::TypeFilterClause("All")).size(), 4u);
}

TEST(CellEdit, HourAndAmPmGiveTheTwentyFourHourClock) {
    struct Case {
        int64_t hour;
        const char* ampm;
        std::optional<int> before, after;
        const char* shown;
    } cases[] = {
        {12, "AM", 5, 0, "AM"},   {3, "PM", 5, 15, "PM"},   {12, "PM", 5, 12, "PM"}, {7, "PMET", 5, 19, "PMET"},
        {7, "pm", 5, 19, "PM"},   {7, "am", 5, 7, "AM"},    {0, "PM", 5, 5, "PM"},   {0, "am", std::nullopt, std::nullopt, "AM"},
        {9, "", 5, 9, ""},        {11, "Pmct", 5, 23, "PMCT"},
    };
    for (const Case& c : cases) {
        const vm::HourEdit e = vm::HourEditResult(c.hour, c.ampm, c.before);
        EXPECT_EQ(e.hr24, c.after) << c.hour << c.ampm;
        EXPECT_EQ(e.ampm, c.shown) << c.hour << c.ampm;
    }
    EXPECT_EQ(vm::DateEditDayColors(-255, 65280, 3), "-255;65280;-255;65280;3;3");
}

}  // namespace
