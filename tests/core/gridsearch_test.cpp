// The date grid's search rules, run against a real calendar file: the mode a
// typed text asks for and the number search.
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

    void Add(const char* text, const char* repeat, int hour, int minute, int sound) {
        store->prepare("INSERT INTO [Velmora] ([Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[SoundNum]) "
                       "VALUES ('2024-01-05',0,?,?,'AM',?,?,?)")
            .bindAll({db::Int(hour), db::Int(minute), db::Text(text), db::Text(repeat), db::Int(sound)})
            .run();
    }
    // The DateText of every row the search for the text lists.
    std::set<std::string> TextSearch(const std::string& t) {
        const vm::BoundSql where = vm::SingleSearchClause(vm::ChooseSearch(t), t).where;
        auto st = store->prepare(std::string(vm::kGridSelect) + where.sql);
        if (!where.params.empty()) st.bindAll(where.params);
        std::set<std::string> texts;
        while (st.step()) texts.insert(db::AsText(st.column(6)));  // DateText
        return texts;
    }
};

TEST(SearchMode, ChosenFromTheTypedText) {
    // The date and word modes are driven through the real grid; here the numbers.
    struct Case {
        const char* typed;
        SearchKind kind;
    } cases[] = {{"45", SearchKind::Number}, {"2021", SearchKind::Text}, {"12", SearchKind::Text},
                 {"7", SearchKind::Text},    {"2022", SearchKind::Number}, {"1/5/2024;soon", SearchKind::BadDate}};
    for (const Case& c : cases) EXPECT_EQ(vm::ChooseSearch(c.typed).kind, c.kind) << c.typed;
    EXPECT_EQ(vm::ChooseSearch(" 44.5").number, 44);  // halves to the even neighbour
    EXPECT_EQ(vm::ChooseSearch("45.5").number, 46);
}

TEST_F(Search, ANumberIsLookedForInTheHourMinuteSoundAndRepeat) {
    Add("hour", "", 45, 0, 0);
    Add("minute", "", 0, 45, 0);
    Add("sound", "", 0, 0, 45);
    Add("repeat", "45", 0, 0, 0);
    Add("none", "", 4, 5, 6);
    EXPECT_EQ(TextSearch("45"), (std::set<std::string>{"hour", "minute", "sound", "repeat"}));
}

TEST_F(Search, ANumberTooLargeForAnyColumnIsLookedForAsText) {
    Add("zero hour", "", 0, 0, 0);
    Add("launch 1e309 code", "", 0, 0, 0);
    for (const char* typed : {"1e309", "99999999999"}) EXPECT_EQ(vm::ChooseSearch(typed).kind, SearchKind::Text) << typed;
    EXPECT_EQ(TextSearch("1e309"), (std::set<std::string>{"launch 1e309 code"})) << "not every record";
}

TEST_F(Search, ATextFindsItsWordsWhateverTheirCaseAndFormOfAccent) {
    Add("\xC4\xB0stanbul trip", "", 0, 0, 0);     // "İ"
    Add("Hauptstra\xC3\x9F" "e 5", "", 0, 0, 0);  // "ß"
    Add("Caf\xC3\xA9 Lumi\xC3\xA8re", "", 0, 0, 0);
    Add("Cafe plain", "", 0, 0, 0);
    EXPECT_EQ(TextSearch("istanbul"), (std::set<std::string>{"\xC4\xB0stanbul trip"}));
    EXPECT_EQ(TextSearch("STRASSE"), (std::set<std::string>{"Hauptstra\xC3\x9F" "e 5"}));
    EXPECT_EQ(TextSearch("CAFE\xCC\x81"), (std::set<std::string>{"Caf\xC3\xA9 Lumi\xC3\xA8re"}))
        << "an accent typed as a combining mark";
}

}  // namespace
