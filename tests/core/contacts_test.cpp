// The contact card, the contact file (bytes written, lines read back, the
// import into a real settings database) and the list's literal search.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/calendartext.h"
#include "core/contacts.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

// Fields by name, the rest empty.
vm::ContactRow Contact(std::initializer_list<std::pair<const char*, const char*>> fields) {
    vm::ContactRow c;
    for (const auto& [name, value] : fields)
        for (size_t i = 0; i < c.size(); ++i)
            if (std::string(vm::kPeopleColumns[i]) == name) c[i] = value;
    return c;
}

std::vector<std::vector<std::string>> PeopleRows(const std::string& path) {
    auto d = db::Database::Open(path);
    auto st = d->prepare("SELECT * FROM [People] ORDER BY [ID]");
    std::vector<std::vector<std::string>> rows;
    while (st.step()) {
        std::vector<std::string> r;
        for (int i = 1; i < st.columnCount(); ++i) r.push_back(db::AsText(st.column(i)));
        rows.push_back(r);
    }
    return rows;
}

}  // namespace

TEST(ContactCard, LinesAppearOnlyForFilledParts) {
    struct Case { const char* what; vm::ContactRow contact; std::string card; };
    const std::vector<Case> cases = {
        {"everything",
         Contact({{"Relationship", "Friend"}, {"FirstName", "Ann"}, {"MI", "Q"}, {"LastName", "Lee"},
                  {"Address1", "1 Main St"}, {"Address2", "Apt 4"}, {"City", "Springfield"}, {"State", "IL"},
                  {"ZipCode", "62701"}, {"Country", "USA"}, {"Phone1", "555-1234"}, {"Type1", "Cell"},
                  {"Phone2", "555-9876"}, {"Type2", "Fax"}, {"E-mail", "ann@example.org"}, {"OtherInfo", "Met at school"}}),
         "Friend\r\nAnn Q Lee\r\n1 Main St\r\nApt 4\r\nSpringfield, IL 62701 USA\r\n555-1234 Cell\r\n555-9876 Fax\r\n"
         "ann@example.org \r\nMet at school"},
        {"only a city", Contact({{"FirstName", "Bo"}, {"City", "Oslo"}}), "\r\nBo \r\nOslo,   "},
        {"state, zip and country alone give no line", Contact({{"FirstName", "Cy"}, {"State", "TX"}, {"ZipCode", "1"}, {"Country", "US"}}),
         "\r\nCy "},
        {"an e-mail of blanks, an address of blanks",
         Contact({{"Relationship", "Aunt"}, {"LastName", "Ng"}, {"Address1", "   "}, {"E-mail", "   "}}), "Aunt\r\n Ng\r\n   "},
    };
    for (const Case& c : cases) EXPECT_EQ(vm::ContactCard(c.contact), c.card) << c.what;
}

TEST(ContactFile, ExportBytesTheirImportAndSkippedLines) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("contacts");
    const std::string path = dir + "/list.txt";
    const std::vector<vm::ContactRow> rows = {
        Contact({{"Relationship", "Friend"}, {"FirstName", "Ann"}, {"City", "Washington, D.C."},
                 {"OtherInfo", "says \"hi\"\r\nand bye"}}),
        Contact({{"FirstName", "Bo"}, {"Address2", "a++b"}, {"Country", "Norge\n"}}),
    };
    EXPECT_EQ(vm::WriteContactFile(path, vm::ContactFileKind::Records, rows), 2);
    const std::string header1 =
        "** FirstName, MI, LastName, Address1, Address2, City, State, ZipCode, Country, Phone1, Type1, Phone2, Type2, "
        "E-mail, OtherInfo";
    const std::string header2 = "**" + std::string(90, '-');
    const std::string expected =
        header1 + "\r\n" + header2 + "\r\n" +
        "\"1\",\"Friend\",\"Ann\",\"\",\"\",\"\",\"\",\"Washington++ D.C.\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
        "\"says \"hi\" and bye\"\r\n"
        "\"1\",\"\",\"Bo\",\"\",\"\",\"\",\"a++b\",\"\",\"\",\"\",\"Norge \",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
    EXPECT_EQ(vmtest::ReadAll(path), expected);

    // Imported, the file adds its contacts again: commas come back, quotes go.
    const std::string settings = vmtest::FreshSettings();
    EXPECT_EQ(vm::ImportContactFile(settings, path).added, 2);
    EXPECT_EQ(vm::ImportContactFile(settings, path).added, 2) << "an import never matches existing contacts";
    const auto back = PeopleRows(settings);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[0], (std::vector<std::string>{"Friend", "Ann", "", "", "", "", "Washington, D.C.", "", "", "", "",
                                                 "", "", "", "", "says hi and bye"}));
    EXPECT_EQ(back[1][5], "a,b");

    // Cards: each contact's card and an empty line.
    EXPECT_EQ(vm::WriteContactFile(path, vm::ContactFileKind::Cards, rows), 2);
    EXPECT_EQ(vmtest::ReadAll(path),
              "Friend\r\nAnn \r\nWashington, D.C.,   \r\nsays \"hi\"\r\nand bye\r\n\r\n\r\nBo \r\na++b\r\n\r\n");

    EXPECT_THROW(vm::WriteContactFile(dir + "/no such folder/list.txt", vm::ContactFileKind::Records, rows),
                 std::runtime_error);

    // Malformed lines are skipped and named; the others are added.
    vmtest::WriteAll(path,
                     "** FirstName, MI\r\n"                             // 1 label
                     "\"1\",\"Friend\",\"Ann\"\r\n"                       // 2 added, short
                     "x,y\r\n"                                           // 3 malformed
                     "no comma here\r\n"                                 // 4 ignored
                     "2,Friend,Cy\r\n"                                   // 5 ignored
                     "1" + std::string(17, ',') + "\r\n" +               // 6 too many values
                     "1,Friend," + std::string(51, 'n') + "\r\n" +       // 7 longer than FirstName holds
                     ",Friend\n"                                        // 8 no leading number
                     "1,Freund,J\xfcrgen\n");                           // 9 old code page
    const vm::ContactImport r = vm::ImportContactFile(settings, path);
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(r.skippedLines, (std::vector<int>{3, 6, 7, 8}));
    const auto all = PeopleRows(settings);
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[4][1], "Ann");
    EXPECT_EQ(all[4][2], "") << "missing values stay empty";
    EXPECT_EQ(all[5][1], "Jürgen");
    EXPECT_EQ(vm::SkippedLinesText(r.skippedLines),
              "4 lines of the file could not be read as a contact and were skipped (line 3, 6, 7, 8).");
    EXPECT_EQ(vm::SkippedLinesText({}), "");

    EXPECT_THROW(vm::ImportContactFile(settings, path + ".missing"), std::runtime_error);
    EXPECT_EQ(PeopleRows(settings).size(), 6u);
}

// What is no contact list is refused whole, before a contact is added: a
// named pipe or a device (never opened: a pipe would wait for a writer), and
// a file whose line runs on without end. A long line below the limit is read.
TEST(ContactFile, PipesDevicesAndEndlessLinesAreRefusedBeforeAnyIsAdded) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("contacts-special");
    const std::string settings = vmtest::FreshSettings();
    const std::string pipe = dir + "/pipe.txt", zero = dir + "/zero.txt", endless = dir + "/endless.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", zero);
    vmtest::WriteAll(endless, "1,Friend,Ann\r\n1,Friend," + std::string(vm::kLongestImportLine, 'n'));
    for (const std::string& path : {pipe, zero, endless}) {
        try {
            vm::ImportContactFile(settings, path);
            ADD_FAILURE() << path;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + path + "\""), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(PeopleRows(settings).empty());

    const std::string other(vm::kLongestImportLine - 26, 'o');  // the line just fits
    vmtest::WriteAll(endless, "1,Friend,Ann," + std::string(13, ',') + other);
    EXPECT_EQ(vm::ImportContactFile(settings, endless).added, 1);
    ASSERT_EQ(PeopleRows(settings).size(), 1u);
    EXPECT_EQ(PeopleRows(settings)[0][15], other);
}

// An export that cannot be written whole (the disk fills up) fails and
// leaves the list that had its name as it was.
TEST(ContactFile, AnExportOnAFullDiskLeavesTheOldListAsItWas) {
    const std::string path = vmtest::MakeTempDir("contacts-full") + "/list.txt";
    vmtest::WriteAll(path, "the old list");
    const std::vector<vm::ContactRow> rows(50, Contact({{"FirstName", "Ann"}, {"City", "Oslo"}}));
    {
        vmtest::DiskFullAfter full(500);
        EXPECT_THROW(vm::WriteContactFile(path, vm::ContactFileKind::Cards, rows), std::runtime_error);
    }
    EXPECT_EQ(vmtest::ReadAll(path), "the old list");
    EXPECT_EQ(vm::WriteContactFile(path, vm::ContactFileKind::Cards, rows), 50);
}

// A line that is not UTF-8 is read as Windows-1252, as the date import reads
// it: the euro sign and curly quotes come through, not control characters.
TEST(ContactFile, ALineNotUtf8IsReadAsWindows1252) {
    const std::string path = vmtest::MakeTempDir("velmora-contacts1252") + "/old.txt";
    vmtest::WriteAll(path, "1,Shop,\x80" "5 \x93smart\x94 street,\x80\r\n1,Friend,J\xc3\xbcrgen\r\n");
    const std::string settings = vmtest::FreshSettings();
    EXPECT_EQ(vm::ImportContactFile(settings, path).added, 2);
    const auto rows = PeopleRows(settings);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], "\xE2\x82\xAC" "5 \xE2\x80\x9Csmart\xE2\x80\x9D street");
    EXPECT_EQ(rows[1][1], "J\xc3\xbcrgen") << "a UTF-8 line stays as it is";

    // A file that opens with the UTF-8 byte-order mark loses no contact to it.
    vmtest::WriteAll(path, "\xEF\xBB\xBF\"1\",\"Fr\",\"J\xc3\xb6rg\"\r\n");
    const vm::ContactImport marked = vm::ImportContactFile(settings, path);
    EXPECT_EQ(marked.added, 1);
    EXPECT_TRUE(marked.skippedLines.empty());
    EXPECT_EQ(PeopleRows(settings).back()[1], "J\xc3\xb6rg");
}
