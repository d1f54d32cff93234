// Copying listed date records to another year or date type, against a real
// calendar file: which records are copied, the moved dates and day keys, the
// leap day left out.
#include <gtest/gtest.h>

#include "core/copyrecords.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::CivilDate;
using vm::CopyRequest;

namespace {

class Copy : public ::testing::Test {
protected:
    vmtest::Fixture fx;
    std::string path = vmtest::FreshCalendar();
    std::shared_ptr<db::Database> store = db::Database::Open(path);
    db::RecordSource listed;

    void Add(const char* date, const char* text, const char* type) {
        auto st = store->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[Duration],"
            "[DateType],[Font],[DayColors],[Priority],[Hr24]) VALUES (-1,?,1,7,30,'PM',?,'Yearly',0,?,'Arial, 10,True,False','1;2;3;4;2;3',9,19)");
        st.bindAll({db::Text(date), db::Text(text), type ? db::Text(type) : db::Value{}});
        st.run();
    }
    void List() {
        listed.setDatabaseName(path);
        listed.setRecordSource("SELECT * FROM [Velmora] ORDER BY [ID]");
        listed.refresh();
    }
    // "date|text|type|JulDate" of every [Velmora] row, in order.
    std::vector<std::string> Rows(const char* table = "Velmora") {
        std::vector<std::string> rows;
        auto st = store->prepare(std::string("SELECT [Date],[DateText],IFNULL([DateType],'<null>'),[JulDate],[Hide],[Font],"
                                             "[DayColors],[Priority],[Hr24],[Hour],[Minute],[AM_PM],[Repeat] FROM [") +
                                 table + "] ORDER BY [ID]");
        while (st.step()) {
            std::string r;
            for (int i = 0; i < 13; ++i) r += (i ? "|" : "") + db::AsText(st.column(i));
            rows.push_back(r);
        }
        return rows;
    }
    static std::string Tail() { return "|-1|Arial, 10,True,False|1;2;3;4;2;3|9|19|7|30|PM|Yearly"; }
};

TEST(CopyDecision, WhatTheFilledBoxesCopy) {
    CopyRequest years{"2023", "2024", "Holiday", "New Type"};
    CopyRequest type{"Orig Year", "New Year", "holiday", "Feast"};
    CopyRequest both{"2023", "2024", "Holiday", "Feast"};
    CopyRequest origOnly{"2023", "New Year", "Holiday", "New Type"};
    const CivilDate d23{2023, 3, 4}, d22{2022, 3, 4};
    struct Case {
        const char* what;
        CopyRequest req;
        CivilDate date;
        std::optional<std::string> type;
        bool copy;
        std::optional<CivilDate> newDate;
        std::optional<std::string> newType;
    } cases[] = {
        {"years: a holiday of the year", years, d23, "Holiday", true, CivilDate{2024, 3, 4}, std::nullopt},
        {"years: another type", years, d23, "Birthday", false, std::nullopt, std::nullopt},
        {"years: type in other case", years, d23, "holiday", false, std::nullopt, std::nullopt},
        {"years: no type", years, d23, std::nullopt, true, CivilDate{2024, 3, 4}, std::nullopt},
        {"years: another year", years, d22, "Holiday", false, std::nullopt, std::nullopt},
        {"type: any case", type, d22, "HOLIDAY", true, std::nullopt, std::string("Feast")},
        {"type: other rows duplicated", type, d22, "Birthday", true, std::nullopt, std::nullopt},
        {"both: year moved and type", both, d23, "holiday", true, CivilDate{2024, 3, 4}, std::string("Feast")},
        {"both: other year kept", both, d22, "Holiday", true, std::nullopt, std::string("Feast")},
        {"only the original year", origOnly, d23, "Holiday", false, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const vm::CopyDecision d = vm::DecideCopy(c.req, c.date, c.type);
        EXPECT_EQ(d.copy, c.copy) << c.what;
        EXPECT_EQ(d.newDate, c.newDate) << c.what;
        EXPECT_EQ(d.newType, c.newType) << c.what;
    }
    EXPECT_TRUE(vm::CopyHasNothingToDo(CopyRequest{}));
    EXPECT_FALSE(vm::CopyHasNothingToDo(origOnly));
    const vm::CopyDecision leap = vm::DecideCopy(CopyRequest{"2024", "2025", "Holiday", "New Type"}, {2024, 2, 29}, "Holiday");
    EXPECT_FALSE(leap.copy);
    EXPECT_TRUE(leap.leapDayLost);
    EXPECT_EQ(vm::DecideCopy(CopyRequest{"2024", "2028", "Holiday", "New Type"}, {2024, 2, 29}, "Holiday").newDate,
              (CivilDate{2028, 2, 29}));
}

TEST_F(Copy, YearToYearMovesDatesAndDayKeysAndLeavesTheLeapDayOut) {
    Add("2024-02-29", "Leap party", "Holiday");
    Add("2024-12-31", "Year end", "Holiday");
    Add("2024-03-01", "Someone", "Birthday");
    Add("2023-07-04", "Last year", "Holiday");
    store->exec("INSERT INTO [RepeatingData] ([DateText]) VALUES ('old occurrence')");
    List();
    const std::vector<std::string> before = Rows();

    const vm::CopyOutcome out = vm::CopyListedRecords(*store, listed, CopyRequest{"2024", "2025", "Holiday", "New Type"});
    EXPECT_EQ(out.copied, 1);
    EXPECT_EQ(out.leapDaysSkipped, std::vector<std::string>{"2/29/2024 Leap party"});
    std::vector<std::string> after = before;
    // 31 December 2025 is day 365 of 2025.
    after.push_back("2025-12-31|Year end|Holiday|2025365" + Tail());
    EXPECT_EQ(Rows(), after);
    EXPECT_EQ(Rows("RepeatingData"), std::vector<std::string>{"2025-12-31|Year end|Holiday|2025365" + Tail()})
        << "the scratch rows stay for the repeat expansion to replace";
}

}  // namespace
