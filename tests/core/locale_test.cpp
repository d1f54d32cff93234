// Numbers are read and written with "." while the process runs under a
// locale whose decimal separator is a comma (German).
#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <string>

#include "core/entryrecord.h"
#include "core/monthlayout.h"
#include "core/numtext.h"
#include "core/recordstyle.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

class CommaLocale : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef VELMORA_TEST_LOCPATH
        // A German locale compiled into the build folder when the system has none.
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) setenv("LOCPATH", VELMORA_TEST_LOCPATH, 1);
#endif
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"})
            if (std::setlocale(LC_ALL, name)) break;
        std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    static void TearDownTestSuite() {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
        QLocale::setDefault(QLocale::c());
    }
    void SetUp() override {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 8.5);
        if (std::string(buf) != "8,5") GTEST_SKIP() << "no locale with a decimal comma could be set";
    }
};

TEST_F(CommaLocale, NumbersAreReadWithAPoint) {
    const struct {
        const char* text;
        double value;
    } reads[] = {{"1.6", 1.6}, {"2.5e2", 250}, {" -3.25x", -3.25}, {"8,5", 8}, {".5", 0.5}};
    for (const auto& r : reads) EXPECT_DOUBLE_EQ(vm::Val(r.text), r.value) << r.text;
    EXPECT_DOUBLE_EQ(*vm::PlainNumber(" 8.5 "), 8.5);
    EXPECT_FALSE(vm::PlainNumber("8,5").has_value());

    const vm::FontSpec font = vm::ParseFontString("Times New Roman, 8.5,False,True");
    EXPECT_DOUBLE_EQ(*font.size, 8.5);
    EXPECT_FALSE(*font.bold);
    EXPECT_TRUE(*font.italic);

    // hide, workDay, date, hour, minute, ampm, dateText, repeatNo, repeatType,
    // dayType, alarm, sound, font, colors, priority
    const vm::EntryBoxes boxes{false, false, "3/1/2025", "Hr", "Min", "AM", "", "2.5e1", "", "", "", "0", "", "", "1.6"};
    const vm::EntrySave save = vm::PlanEntrySave(boxes);
    ASSERT_TRUE(save.ok()) << save.refusal;
    for (const auto& [column, value] : save.columns) {
        if (column == "Priority") { EXPECT_EQ(db::AsInt(value), 2); }
        if (column == "Duration") { EXPECT_EQ(db::AsInt(value), 25); }
    }
}

TEST_F(CommaLocale, NumbersAreWrittenWithAPoint) {
    EXPECT_EQ(vm::Str(8.5), " 8.5");
    EXPECT_EQ(vm::Str(-0.25), "-0.25");
    EXPECT_EQ(vm::ComposeFontString("Times New Roman", 8.5, false, true), "Times New Roman, 8.5,False,True");
    EXPECT_EQ(vm::ComposeDayColors({"1.5", "2", "3", "4"}, "", ""), "1.5;2;3;4;3;3");
    EXPECT_EQ(*vm::layout::RatioBoxText(1000, 800),
              "4/3 = 1.33\n11\"/8.5\" = 1.29\nCurrent Ratio: 1,000 Pix/800 Pix = 1.25");
}

TEST_F(CommaLocale, StoredNumbersRoundTrip) {
    vmtest::Fixture fx;
    auto d = db::Database::Open(vmtest::FreshCalendar());
    d->exec("CREATE TABLE [N] ([T] TEXT, [R] REAL)");
    auto put = d->prepare("INSERT INTO [N] VALUES (?, ?)");
    put.bind(1, db::Text("12.75"));
    put.bind(2, db::Value{8.5});
    put.step();
    auto get = d->prepare("SELECT [T], [R] FROM [N]");
    ASSERT_TRUE(get.step());
    EXPECT_DOUBLE_EQ(db::AsDouble(get.column(0)), 12.75);
    EXPECT_EQ(db::AsInt(get.column(0)), 13);
    EXPECT_EQ(db::AsText(get.column(1)), "8.5");
}

}  // namespace
