// The program's own words ("ID", "Daily", "Inauguration", "Birthday") are
// matched in any case while the process runs under a Turkish locale, whose
// C library keeps "I" as "I" when lowering it.
#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdlib>

#include "core/module1.h"
#include "core/upgrade.h"
#include "core/numtext.h"
#include "platform/shell.h"
#include "platform/sqlstore.h"
#include "repeat/remembrance.h"
#include "repeat/weekrules.h"
#include "repeat/repeat_testutil.h"

namespace db = vm::db;
using vmtest::D;

namespace {

class TurkishLocale : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef VELMORA_TEST_LOCPATH
        // A Turkish locale compiled into the build folder when the system has none.
        if (!std::setlocale(LC_ALL, "tr_TR.UTF-8")) setenv("LOCPATH", VELMORA_TEST_LOCPATH, 1);
#endif
        for (const char* name : {"tr_TR.UTF-8", "tr_TR.utf8", "tr_TR"})
            if (std::setlocale(LC_ALL, name)) break;
    }
    static void TearDownTestSuite() { std::setlocale(LC_ALL, "C"); }
    void SetUp() override {
        if (std::tolower('I') == 'i') GTEST_SKIP() << "no Turkish locale could be set";
    }
};

TEST_F(TurkishLocale, ProgramWordsChangeOnlyTheirAsciiLetters) {
    EXPECT_EQ(vm::ToLower("ID"), "id");
    EXPECT_EQ(vm::ToUpper("daily"), "DAILY");
    EXPECT_TRUE(vm::ContainsNoCase("Kay's BIRTHDAY", "birth"));
    EXPECT_EQ(vm::ToLower("\xC4\xB0stanbul \xC3\x89VA"), "\xC4\xB0stanbul \xC3\x89va") << "UTF-8 bytes stay";
}

TEST_F(TurkishLocale, RulesTypesAndLabelsAreReadInCapitals) {
    EXPECT_EQ(vmtest::Days({vmtest::Rec(D(2024, 12, 30), "DAILY", 3)}), (vmtest::Strings{"12/31/2024", "1/1/2025"}));
    EXPECT_EQ(vmtest::Days({vmtest::Rec(D(2024, 1, 12), "MonthWeek-2-FRI", 4)}),
              (vmtest::Strings{"2/9/2024", "3/8/2024"}));
    EXPECT_EQ(vm::WeekdayWordNumber("FRI"), 6);
    // 20 January 2013 was a Sunday: an inauguration's row moves to the Monday.
    vm::DateRecord every = vmtest::Rec(D(2012, 1, 20), "everyyear-1", 2);
    every.DateType = "Inauguration";
    EXPECT_EQ(vmtest::Days({every}), (vmtest::Strings{"1/21/2013"}));
    EXPECT_TRUE(vm::RemembersYears("Event", "Sam's BIRTHDAY"));
    EXPECT_EQ(vm::PrepareRemembrance("Event", "Sam's BIRTHDAY", D(2000, 1, 1), {}).tail, " Years Since Birth ");
}

TEST_F(TurkishLocale, ListedRecordsAreCopiedWithNewIds) {
    const std::string path = vmtest::FreshCalendar();
    db::Database::Open(path)->exec(
        "INSERT INTO [Velmora] ([Date], [JulDate], [DateText], [DateType]) VALUES ('2024-03-04', 2024064, 'x', 'Event')");
    EXPECT_EQ(vmtest::CopyAllRecords(path, "Copied"), 1);
}

TEST_F(TurkishLocale, ColumnNamesAndAddressSchemesAreMatchedInAnyCase) {
    vmtest::Fixture fx;
    const std::string path = vmtest::FreshCalendar();
    db::Database::Open(path)->exec("ALTER TABLE [Velmora] RENAME COLUMN [Priority] TO [PRIORITY]");
    vm::Module1.CalendarFilePath = path;
    db::RecordSource DataDates;
    EXPECT_NO_THROW(vm::UpdateVelmoraFile(path, DataDates)) << "the column is there, whatever its case";
    EXPECT_TRUE(fx.messages.shown.empty()) << fx.messages.shown[0].text;

    db::RecordSource listed;
    listed.setDatabaseName(path);
    listed.setRecordSource("SELECT [ID], [DateText] FROM [Velmora]");
    listed.refresh();
    EXPECT_TRUE(listed.hasField("id"));
    listed.close();

    EXPECT_EQ(vm::DesktopUrlFor({"MAILTO:kay@example.com", {}, {}}), "mailto:kay@example.com");
    EXPECT_EQ(vm::DesktopUrlFor({"HTTP://example.com/FILE", {}, {}}), "http://example.com/FILE");
}

}  // namespace
