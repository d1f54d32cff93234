// Case folding for searches and names ignoring case: FoldCase in C++ and
// FOLD/FOLDHAS in SQL fold both sides alike, beyond what simple case folding
// does for the Turkish capital I with a dot, the sharp s and accents typed
// as a combining mark.
#include <gtest/gtest.h>

#include <QString>

#include <string>
#include <vector>

#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

const std::string kCafe = "caf\xC3\xA9";             // "é" as one character
const std::string kCafeMark = "CAFE\xCC\x81";        // "E" and a combining acute
const std::string kIstanbul = "\xC4\xB0stanbul";     // "İ"
const std::string kStrasse = "Stra\xC3\x9F" "e";     // "ß"
const std::string kCapitalSharp = "STRA\xE1\xBA\x9E" "E";  // "ẞ"

TEST(FoldCase, DottedCapitalISharpSAndCombiningAccentsFoldAlike) {
    const std::pair<std::string, std::string> same[] = {
        {kIstanbul, "istanbul"}, {kIstanbul, "ISTANBUL"},       {kStrasse, "strasse"},
        {kCapitalSharp, "Strasse"}, {kCafe, kCafeMark},           {"Caf\xC3\x89", kCafe},
        {"i\xCC\x87stanbul", "istanbul"}, {"\xC3\x89VA and \xC4\xB0" "ZMIR", "\xC3\xA9va and izmir"}};
    for (const auto& [a, b] : same) EXPECT_EQ(db::FoldCase(a), db::FoldCase(b)) << a << " / " << b;
    EXPECT_NE(db::FoldCase(kCafe), db::FoldCase("cafe")) << "an accent still counts";
    EXPECT_EQ(db::FoldCase("Dotless \xC4\xB1"), "dotless \xC4\xB1");
    EXPECT_EQ(db::FoldCase("A LONG PLAIN TEXT, 42"), "a long plain text, 42");
    EXPECT_EQ(db::FoldCase("EIGHT-BY " + kIstanbul), "eight-by istanbul") << "ASCII first, then the rest";
}

TEST(FoldCase, EveryCharacterFoldsAsItsDecomposedForm) {
    // Alone, and with an accent that may compose with it.
    int differ = 0;
    for (char32_t u = 0xA0; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u < 0xE000) continue;
        const QString alone{QChar{char16_t(u)}};
        for (const QString& whole : {alone, alone + QChar{char16_t(0x301)}}) {
            const std::string decomposed = whole.normalized(QString::NormalizationForm_D).toStdString();
            if (db::FoldCase(whole.toStdString()) != db::FoldCase(decomposed) && ++differ < 5)
                ADD_FAILURE() << "U+" << std::hex << int(u);
        }
    }
    EXPECT_EQ(differ, 0);
}

TEST(FoldCase, TheSqlFunctionsFoldAsFoldCase) {
    auto store = db::Database::Open(vmtest::FreshCalendar());
    store->exec("CREATE TABLE [S] ([A] TEXT, [B] TEXT)");
    store->prepare("INSERT INTO [S] VALUES (?, NULL), (?, 'x'), (?, ?)")
        .bindAll({db::Text(kIstanbul + " trip"), db::Text("Hauptstra\xC3\x9F" "e 5"), db::Text("Le"), db::Text(kCafe)})
        .run();
    auto has = [&](const std::string& needle) {
        auto st = store->prepare("SELECT COUNT(*) FROM [S] WHERE FOLDHAS(?, [A], [B]) = 1");
        st.bind(1, db::Text(needle));
        st.step();
        return db::AsInt(st.column(0));
    };
    for (const std::string& needle : {std::string("istanbul"), std::string("STRASSE 5"), kCafeMark, kCapitalSharp})
        EXPECT_EQ(has(needle), 1) << needle;
    EXPECT_EQ(has("cafe"), 0);
    auto fold = [&](const std::string& text) {
        auto st = store->prepare("SELECT FOLD(?)");
        st.bind(1, db::Text(text));
        st.step();
        return db::AsText(st.column(0));
    };
    for (const std::string& text : {kIstanbul, kStrasse, kCapitalSharp, kCafeMark, std::string("Plain")})
        EXPECT_EQ(fold(text), db::FoldCase(text)) << text;
}

// Lists a user reads: by the letters, whatever their case or accents, then
// by case and accent, so that the order is one and the same every time.
TEST(FoldCase, TheFoldedCollationOrdersByLettersThenAccentsThenAsStored) {
    auto store = db::Database::Open(vmtest::FreshCalendar());
    store->exec("CREATE TABLE [N] ([ID] INTEGER PRIMARY KEY, [Name] TEXT COLLATE NOCASE)");
    const std::vector<std::string> names = {"Zoe", "\xC3\x89mile", "emil", "Eric", "Emile", kCafeMark, "cafe",
                                            "\xC5\x81ukasz", "Lukas", "\xC3\x98ystein", "Oscar", "\xC4\xB1l\xC4\xB1k",
                                            kIstanbul, "Ivan", "\xC3\x85sa", "Adam", "Stra\xC3\x9F" "e", "Strasse",
                                            "STRASSE", "12", "9"};
    for (const std::string& n : names) store->prepare("INSERT INTO [N] ([Name]) VALUES (?)").bindAll({db::Text(n)}).run();
    auto listed = [&](const std::string& order) {
        std::vector<std::string> out;
        auto st = store->prepare("SELECT [Name] FROM [N] ORDER BY [Name] COLLATE FOLDED " + order + ", [ID]");
        while (st.step()) out.push_back(db::AsText(st.column(0)));
        return out;
    };
    const std::vector<std::string> expected = {"12", "9", "Adam", "\xC3\x85sa", "cafe", kCafeMark, "emil",
                                               "Emile", "\xC3\x89mile", "Eric", "\xC4\xB1l\xC4\xB1k", kIstanbul,
                                               "Ivan", "Lukas", "\xC5\x81ukasz", "Oscar", "\xC3\x98ystein",
                                               "STRASSE", "Strasse", "Stra\xC3\x9F" "e", "Zoe"};
    EXPECT_EQ(listed("ASC"), expected);
    EXPECT_EQ(listed("DESC"), std::vector<std::string>(expected.rbegin(), expected.rend()));
    // The C++ order is the collation's, and a total one.
    for (const std::string& a : names)
        for (const std::string& b : names) {
            EXPECT_EQ(db::CompareFolded(a, b), -db::CompareFolded(b, a)) << a << " / " << b;
            EXPECT_EQ(db::CompareFolded(a, b) == 0, a == b) << a << " / " << b;
        }
    // Numbers stay numbers.
    store->exec("CREATE TABLE [P] ([V])");
    store->exec("INSERT INTO [P] VALUES (10), (9), (100)");
    auto st = store->prepare("SELECT group_concat([V], ' ') FROM (SELECT [V] FROM [P] ORDER BY [V] COLLATE FOLDED)");
    st.step();
    EXPECT_EQ(db::AsText(st.column(0)), "9 10 100");
}

}  // namespace
