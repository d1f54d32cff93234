#include "core/monthpictures.h"

#include <filesystem>

#include "platform/places.h"

namespace vm {
namespace fs = std::filesystem;

std::string MonthPictureName(int month) {
    static const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12) return {};
    return std::string(names[month - 1]) + ".jpg";
}

int EnsureMonthPictures() {
    const std::string target = JoinPath(DataFolder(), kMonthPictureFolder);
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        for (const auto& entry : fs::directory_iterator(target, ec)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file(ec) && (ext == ".jpg" || ext == ".JPG" || ext == ".jpeg")) return 0;
        }
    }
    const std::string source = JoinPath(ProgramFolder(), kMonthPictureFolder);
    if (!fs::is_directory(source, ec) || !MakeFolder(target)) return 0;
    int copied = 0;
    for (int m = 1; m <= 12; ++m) {
        const std::string name = MonthPictureName(m);
        if (CopyFileNoOverwrite(JoinPath(source, name), JoinPath(target, name))) ++copied;
    }
    return copied;
}

}  // namespace vm
