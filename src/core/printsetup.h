// The page set-up every grid printout shares, kept between runs in the data
// folder's Velmora_Print_Setup.Dat, a small text file of this program's own:
//
//   Velmora print setup 1
//   PaperName=Letter
//   PaperWidthPt=612
//   PaperHeightPt=792
//   Orientation=2
//   MarginLeftTwips=720
//   MarginTopTwips=720
//   MarginRightTwips=720
//   MarginBottomTwips=720
//
// Paper sizes in points (1/72 inch), margins in twips (1/1440 inch),
// orientation 1 portrait or 2 landscape. A paper width of 0 means the
// printer's own paper.
#pragma once
#include <optional>
#include <string>

namespace vm {

struct PrintSetup {
    std::string paperName;
    int paperWidthPt = 0, paperHeightPt = 0;
    int orientation = 2;
    int marginLeft = 720, marginTop = 720, marginRight = 720, marginBottom = 720;
    friend bool operator==(const PrintSetup&, const PrintSetup&) = default;
};

// data folder + "/Velmora_Print_Setup.Dat"
std::string PrintSetupPath();

// The text of the file, and its reading: nullopt when anything is missing,
// unreadable or out of range.
std::string FormatPrintSetup(const PrintSetup& setup);
std::optional<PrintSetup> ParsePrintSetup(const std::string& text);

// The stored set-up; the defaults (printer's paper, 720-twip margins) when
// there is no file or it cannot be read.
PrintSetup ReadPrintSetup(const std::string& path);
// False when the file cannot be written.
bool WritePrintSetup(const std::string& path, const PrintSetup& setup);

}  // namespace vm
