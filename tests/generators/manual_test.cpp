// The user manual the build makes: real A4 pages at a readable size, read
// back from the PDF by the system's own PDF reader (pdftotext -bbox).
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "platform/places.h"

namespace {

struct Word {
    int page;
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The page sizes (width, height in points) and every word of a PDF.
std::vector<Word> ReadWords(const std::string& pdf, std::vector<std::pair<double, double>>& pages) {
    std::vector<Word> out;
    std::string xml;
    if (FILE* p = popen(("pdftotext -bbox '" + pdf + "' - 2>/dev/null").c_str(), "r")) {
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) xml.append(buf, n);
        pclose(p);
    }
    static const std::regex item(R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" )re"
                                 R"re(yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), item), end; it != end; ++it) {
        const auto& m = *it;
        if (m[1].matched)
            pages.emplace_back(std::stod(m[1]), std::stod(m[2]));
        else
            out.push_back({int(pages.size()), std::stod(m[3]), std::stod(m[4]), std::stod(m[5]), std::stod(m[6]), m[7]});
    }
    return out;
}

TEST(UserManual, IsLaidOutOnReadableA4Pages) {
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    std::vector<std::pair<double, double>> pages;
    const std::vector<Word> words = ReadWords(vm::JoinPath(vm::ProgramFolder(), "VelmoraHelp.pdf"), pages);
    ASSERT_GE(pages.size(), 2u) << "the whole manual does not fit on one page at a readable size";
    for (const auto& [w, h] : pages) {
        EXPECT_NEAR(w, 595, 1) << "A4 width in points";
        EXPECT_NEAR(h, 842, 1) << "A4 height in points";
    }
    ASSERT_GT(words.size(), 500u);
    // The title: large; body words: the size of ordinary print (9-14 pt lines).
    EXPECT_EQ(words[0].text, "Velmora");
    EXPECT_GE(words[0].yMax - words[0].yMin, 16.0);
    int body = 0;
    for (const Word& w : words) {
        const double height = w.yMax - w.yMin;
        if (height >= 9 && height <= 14) ++body;
        // Everything inside the page with a margin.
        EXPECT_GE(w.xMin, 28.0) << w.text;
        EXPECT_LE(w.xMax, 595.0 - 28.0) << w.text;
        EXPECT_LE(w.yMax, 842.0 - 28.0) << w.text;
    }
    EXPECT_GT(body, static_cast<int>(words.size() * 3 / 4));
    // Text on every page, the last one included.
    EXPECT_EQ(words.back().page, static_cast<int>(pages.size()));
}

}  // namespace
