#include "core/printsetup.h"

#include <fstream>
#include <map>
#include <sstream>

#include "core/numtext.h"
#include "platform/places.h"

namespace vm {
namespace {

constexpr const char* kFirstLine = "Velmora print setup 1";

// A whole number written by FormatPrintSetup, within [low, high].
std::optional<int> WholeIn(const std::map<std::string, std::string>& keys, const char* key, int low, int high) {
    const auto it = keys.find(key);
    if (it == keys.end()) return std::nullopt;
    const std::string t = Trim(it->second);
    if (t.empty() || t.find_first_not_of("-0123456789") != std::string::npos) return std::nullopt;
    const auto n = PlainNumber(t);
    if (!n || *n < low || *n > high) return std::nullopt;
    return static_cast<int>(*n);
}

}  // namespace

std::string PrintSetupPath() { return JoinPath(DataFolder(), "Velmora_Print_Setup.Dat"); }

std::string FormatPrintSetup(const PrintSetup& s) {
    std::string out = std::string(kFirstLine) + "\n";
    out += "PaperName=" + s.paperName + "\n";
    out += "PaperWidthPt=" + IntText(s.paperWidthPt) + "\n";
    out += "PaperHeightPt=" + IntText(s.paperHeightPt) + "\n";
    out += "Orientation=" + IntText(s.orientation) + "\n";
    out += "MarginLeftTwips=" + IntText(s.marginLeft) + "\n";
    out += "MarginTopTwips=" + IntText(s.marginTop) + "\n";
    out += "MarginRightTwips=" + IntText(s.marginRight) + "\n";
    out += "MarginBottomTwips=" + IntText(s.marginBottom) + "\n";
    return out;
}

std::optional<PrintSetup> ParsePrintSetup(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || Trim(line) != kFirstLine) return std::nullopt;  // Trim drops a CR too
    std::map<std::string, std::string> keys;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            if (Trim(line).empty()) continue;
            return std::nullopt;
        }
        keys[Trim(line.substr(0, eq))] = line.substr(eq + 1);
    }
    PrintSetup s;
    const auto name = keys.find("PaperName");
    if (name == keys.end() || name->second.size() > 100) return std::nullopt;
    s.paperName = Trim(name->second);
    // Paper up to 200 inches, margins up to 20 inches.
    const auto w = WholeIn(keys, "PaperWidthPt", 0, 14400), h = WholeIn(keys, "PaperHeightPt", 0, 14400);
    const auto o = WholeIn(keys, "Orientation", 1, 2);
    const auto l = WholeIn(keys, "MarginLeftTwips", 0, 28800), t = WholeIn(keys, "MarginTopTwips", 0, 28800);
    const auto r = WholeIn(keys, "MarginRightTwips", 0, 28800), b = WholeIn(keys, "MarginBottomTwips", 0, 28800);
    if (!w || !h || !o || !l || !t || !r || !b) return std::nullopt;
    if ((*w == 0) != (*h == 0)) return std::nullopt;
    s.paperWidthPt = *w;
    s.paperHeightPt = *h;
    s.orientation = *o;
    s.marginLeft = *l;
    s.marginTop = *t;
    s.marginRight = *r;
    s.marginBottom = *b;
    return s;
}

PrintSetup ReadPrintSetup(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return PrintSetup{};
    std::ostringstream text;
    text << in.rdbuf();
    if (text.str().size() > 65536) return PrintSetup{};
    return ParsePrintSetup(text.str()).value_or(PrintSetup{});
}

bool WritePrintSetup(const std::string& path, const PrintSetup& setup) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << FormatPrintSetup(setup);
    out.close();
    return static_cast<bool>(out);
}

}  // namespace vm
