// The main window's export panel: fifteen field boxes (6 and 7 hidden, they
// write nothing), All / None, and "Export Fields", which writes the rows the
// date grid lists to a calendar text file and hands the file to the desktop.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/calendartext.h"
#include "platform/fitwidgets.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vm {

class MainWindowDoor;

class ExportPanel : public ScrollingPanel {
    Q_OBJECT
public:
    ExportPanel(MainWindowDoor& owner, QWidget* parent);

    QLabel* lblExport = nullptr;  // "Export Data"
    std::array<QCheckBox*, kExportBoxCount> SSCheck1{};  // "SSCheck1_0".."SSCheck1_14"
    QCheckBox* sschxAll_None = nullptr;
    QPushButton* sscmdExportFields = nullptr;
    QPushButton* sscmdCancelExport = nullptr;
    QPushButton* sscmdExportHelp = nullptr;

    // The folder the save dialog offers; empty until the first export.
    std::string ExportFolder;
    int64_t ExportedRecordCount = 0;

    // File > Import/Export > Export Date Data: shows the panel at the
    // picture's top and the date grid's left.
    void mnuFile_Export_Data_Click();
    // Boxes 0..11 take the All / None box's state; 12..14 keep theirs.
    void sschxAll_None_Click();
    void sscmdCancelExport_Click();
    void sscmdExportHelp_Click();
    void sscmdExportFields_Click();

    ExportBoxes TickedBoxes() const;

private:
    MainWindowDoor& owner_;
};

}  // namespace vm
