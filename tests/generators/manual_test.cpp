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

struct Layout {
    std::vector<std::pair<double, double>> pages;  // width, height in points
    std::vector<Word> words;
};

Layout ReadLayout(const std::string& pdf) {
    Layout out;
    FILE* p = popen(("pdftotext -bbox '" + pdf + "' - 2>/dev/null").c_str(), "r");
    if (!p) return out;
    std::string xml;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) xml.append(buf, n);
    pclose(p);
    static const std::regex page(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    static const std::regex word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), page), end; it != end; ++it) {
        out.pages.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
        const size_t from = static_cast<size_t>(it->position());
        const size_t to = xml.find("</page>", from);
        for (std::sregex_iterator w(xml.begin() + static_cast<long>(from), xml.begin() + static_cast<long>(to), word);
             w != std::sregex_iterator(); ++w)
            out.words.push_back({static_cast<int>(out.pages.size()), std::stod((*w)[1]), std::stod((*w)[2]),
                                 std::stod((*w)[3]), std::stod((*w)[4]), (*w)[5]});
    }
    return out;
}

TEST(UserManual, IsLaidOutOnReadableA4Pages) {
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const Layout l = ReadLayout(vm::JoinPath(vm::ProgramFolder(), "VelmoraHelp.pdf"));
    ASSERT_GE(l.pages.size(), 2u) << "the whole manual does not fit on one page at a readable size";
    for (const auto& [w, h] : l.pages) {
        EXPECT_NEAR(w, 595, 1) << "A4 width in points";
        EXPECT_NEAR(h, 842, 1) << "A4 height in points";
    }
    ASSERT_GT(l.words.size(), 500u);
    // The title: large; body words: the size of ordinary print (9-14 pt lines).
    EXPECT_EQ(l.words[0].text, "Velmora");
    EXPECT_GE(l.words[0].yMax - l.words[0].yMin, 16.0);
    int body = 0;
    for (const Word& w : l.words) {
        const double height = w.yMax - w.yMin;
        if (height >= 9 && height <= 14) ++body;
        // Everything inside the page with a margin.
        EXPECT_GE(w.xMin, 28.0) << w.text;
        EXPECT_LE(w.xMax, 595.0 - 28.0) << w.text;
        EXPECT_LE(w.yMax, 842.0 - 28.0) << w.text;
    }
    EXPECT_GT(body, static_cast<int>(l.words.size() * 3 / 4));
    // Text on every page, the last one included.
    EXPECT_EQ(l.words.back().page, static_cast<int>(l.pages.size()));
}

}  // namespace
