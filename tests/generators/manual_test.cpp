// The user manual the build makes, read back from the PDF by the system's own
// PDF reader (pdftotext): it names every window (the print windows too) and
// every menu command, each page the program's help texts send the user to
// holds its topic, and each chapter it sends the reader to exists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <regex>
#include <span>
#include <string>
#include <vector>

#include "platform/places.h"
#include "repeat/expand.h"
#include "testsupport.h"

namespace {

std::string Manual() { return vm::JoinPath(vm::ProgramFolder(), "VelmoraHelp.pdf"); }

// The text of one page (every page when page is 0), blanks and line breaks
// made single blanks and the PDF's ligatures undone.
std::string PageText(int page = 0) {
    const std::string range = page ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
    std::string text = vmtest::RunCommand("pdftotext" + range + " '" + Manual() + "' - 2>/dev/null");
    for (auto [from, to] : {std::pair{"\xEF\xAC\x81", "fi"}, {"\xEF\xAC\x82", "fl"}})
        for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, 3, to);
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\f' || c == '\t';
        if (!blank || (!out.empty() && out.back() != ' ')) out += blank ? ' ' : c;
    }
    return out;
}

// Every (file name, text) pair of the program's sources that matches re's first group.
std::vector<std::pair<std::string, std::string>> FindInSources(const std::regex& re) {
    std::vector<std::pair<std::string, std::string>> found;
    for (const auto& e : std::filesystem::recursive_directory_iterator(VELMORA_SOURCE_DIR "/src")) {
        if (e.path().extension() != ".cpp") continue;
        std::ifstream in(e.path());
        std::stringstream all;
        all << in.rdbuf();
        const std::string text = all.str();
        for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it)
            found.emplace_back(e.path().filename().string(), (*it)[1]);
    }
    return found;
}

std::string Trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

TEST(UserManual, NamesEveryWindowAndEachHelpPageHoldsItsTopic) {
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const std::string manual = PageText();
    // Every window's caption, and the panels that stand in for windows.
    // The print preview opens the desktop's own "Print" window.
    std::set<std::string> captions = {"Export Data", "Import Data", "Copy Selected Records", "Multi-Word Search",
                                      "Import Orvanta Contract Dates", "Date & Title Colors", "Print"};
    for (const auto& [file, caption] : FindInSources(std::regex(R"re(setWindowTitle\("([^"]+)"\))re")))
        captions.insert(Trimmed(caption));
    EXPECT_GE(captions.size(), 15u) << "the scan of the sources found too few windows";
    EXPECT_TRUE(captions.count("Page Setup"));
    // A print preview is titled with its printout's heading.
    const auto previews = FindInSources(std::regex(R"re(Print_Grid\(\s*\w+,\s*\d+,\s*"([^"]+)"\))re"));
    EXPECT_EQ(previews.size(), 3u) << "the date grid, the contact list and the day calculator print";
    for (const auto& [file, caption] : previews) captions.insert(Trimmed(caption));
    for (const std::string& caption : captions)
        EXPECT_NE(manual.find("\"" + caption + "\""), std::string::npos) << "the manual never names \"" << caption << '"';

    // Each "See Page N" sends the user to the chapter on its window, which
    // starts that page. A new reference needs its chapter named here.
    const std::map<std::string, std::string> topics = {{"exportpanel.cpp", "Export and import"},
                                                       {"importpanel.cpp", "Export and import"}};
    const auto references = FindInSources(std::regex(R"re(See Page (\d+))re"));
    EXPECT_EQ(references.size(), topics.size());
    const int pages = std::atoi(vmtest::RunCommand("pdfinfo '" + Manual() + "' | sed -n 's/^Pages: *//p'").c_str());
    for (const auto& [file, page] : references) {
        ASSERT_TRUE(topics.count(file)) << file << " refers to page " << page << ": name its chapter in this test";
        ASSERT_LE(std::stoi(page), pages) << file << " refers to page " << page << " of " << pages;
        EXPECT_EQ(PageText(std::stoi(page)).rfind(topics.at(file), 0), 0u)
            << file << ": page " << page << " does not start the chapter \"" << topics.at(file) << '"';
    }
}

// Every command of every window's menus, by the caption it shows (the
// Alt letter's "&" left out).
TEST(UserManual, NamesEveryMenuCommand) {
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const std::string manual = PageText();
    std::set<std::string> commands;
    for (const char* pattern : {R"re(add(?:Menu|Action)\("([^"]+)"\))re",                     // menu->addAction("Exit")
                                R"re(Add(?:Item|Menu)\(\w+, "\w+", "([^"]+)")re",            // the main window's menus
                                R"re(\b(?:item|make)\("\w+", "([^"]+)")re"})                  // item("name", "caption")
        for (const auto& [file, caption] : FindInSources(std::regex(pattern))) {
            std::string shown;
            for (char c : caption)
                if (c != '&') shown += c;
            commands.insert(shown);
        }
    EXPECT_GE(commands.size(), 30u) << "the scan of the sources found too few menu commands";
    for (const std::string& command : commands)
        EXPECT_NE(manual.find(command), std::string::npos) << "the manual never names the command " << command;
}

// "see Printing", "(see The date grid)": each chapter or section the manual
// sends the reader to is one of its headings.
TEST(UserManual, EveryChapterItSendsTheReaderToExists) {
    std::ifstream in(VELMORA_SOURCE_DIR "/docs/manual.md");
    std::stringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    std::set<std::string> headings;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("## ", 0) == 0 || line.rfind("### ", 0) == 0)
            headings.insert(Trimmed(line.substr(line.find(' ') + 1)));
    for (char& c : text)
        if (c == '\n') c = ' ';
    const std::regex see(R"re(\b[Ss]ee ((?:The )?[A-Z][^).,;:*]*))re");
    int references = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), see), end; it != end; ++it) {
        const std::string target = Trimmed((*it)[1]);
        if (target.rfind("Page ", 0) == 0) continue;
        ++references;
        EXPECT_TRUE(headings.count(target)) << "\"see " << target << "\" names no chapter or section";
    }
    EXPECT_GE(references, 8);
}

// The rule tables: the first holds exactly the examples of the window
// "Repeating Settings" (type, Repeat#, rule typed), and every rule either
// table gives is one the repeat engine takes.
TEST(UserManual, RepeatRulesAreTheWindowsAndAllAreTaken) {
    std::ifstream in(VELMORA_SOURCE_DIR "/docs/manual.md");
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    const size_t from = text.find("## Repeat rules"), to = text.find("\n## ", from + 1);
    ASSERT_NE(from, std::string::npos);
    const std::string chapter = text.substr(from, to - from);

    // The table rows: their cells, trimmed.
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(chapter);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("|", 0) != 0 || line.rfind("|---", 0) == 0) continue;
        std::vector<std::string> cells;
        std::stringstream split(line.substr(1));
        for (std::string cell; std::getline(split, cell, '|');) cells.push_back(Trimmed(cell));
        rows.push_back(cells);
    }
    std::vector<std::vector<std::string>> examples;
    for (const auto& [file, row] : FindInSources(std::regex(R"re(\{("\w+", "\d+", "[^"\\]+))re"))) {
        if (file != "frmrepeats.cpp") continue;
        std::smatch m;
        const std::regex cells(R"re("(\w+)", "(\d+)", "([^"\\]+))re");
        ASSERT_TRUE(std::regex_match(row, m, cells));
        examples.push_back({m[1], m[2], m[3]});
    }
    EXPECT_EQ(examples.size(), 10u);
    for (const auto& e : examples) {
        bool listed = false;
        for (const auto& r : rows) listed = listed || (r.size() == 4 && r[0] == e[0] && r[1] == e[1] && r[2] == e[2]);
        EXPECT_TRUE(listed) << "the manual's table lacks the window's example " << e[0] << " " << e[1] << " " << e[2];
    }
    int fourColumnRows = 0;
    std::vector<std::string> rules;
    for (const auto& r : rows) {
        if (r.size() == 4 && r[0] != "repeat type") {
            ++fourColumnRows;
            rules.push_back(r[2]);
        }
        if (r.size() == 2 && r[0] != "rule typed") rules.push_back(r[0]);
    }
    EXPECT_EQ(fourColumnRows, int(examples.size())) << "the first table is the window's, no more";

    for (const std::string& rule : rules) {
        vm::DateRecord record;
        record.ID = 1;
        record.Date = {2026, 1, 4};  // a Sunday, as a week mask wants
        record.Hour = 9;
        record.AM_PM = "AM";
        record.Duration = 3;
        record.WorkDay = true;
        record.Repeat = rule;
        const vm::Expansion e = vm::ExpandRepeats(std::span(&record, 1), {});
        EXPECT_TRUE(e.problems.empty()) << rule << " is not taken";
        EXPECT_FALSE(e.rows.empty() && e.alarms.empty()) << rule << " makes nothing";
    }
}

}  // namespace
