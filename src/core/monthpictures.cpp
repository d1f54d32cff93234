#include "core/monthpictures.h"

#include <filesystem>
#include <vector>

#include "platform/places.h"

namespace vm {
namespace fs = std::filesystem;

std::string MonthPictureName(int month) {
    static const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12) return {};
    return std::string(names[month - 1]) + ".jpg";
}

namespace {

bool HoldsNoPicture(const std::string& folder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file(ec) && (ext == ".jpg" || ext == ".JPG" || ext == ".jpeg")) return false;
    }
    return true;
}

}  // namespace

int EnsureMonthPictures() {
    const std::string target = JoinPath(DataFolder(), kMonthPictureFolder);
    const std::string source = JoinPath(ProgramFolder(), kMonthPictureFolder);
    std::vector<std::string> names;
    for (int m = 1; m <= 12; ++m) names.push_back(MonthPictureName(m));
    int copied = CopyFolderNoOverwrite(source, target, names);
    // A folder of the user's that holds no picture yet gets them one by one.
    std::error_code ec;
    if (copied == 0 && fs::is_directory(target, ec) && HoldsNoPicture(target))
        copied = CopyFilesNoOverwrite(source, target, names);
    return copied;
}

}  // namespace vm
