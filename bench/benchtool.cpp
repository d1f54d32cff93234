// Helper of the whole-process benchmarks (bench/startup.sh):
//   velmora_benchtool make DIR KIND   a data folder whose calendar holds KIND:
//                                     empty, typical (5,000), heavy (5,000), heavy20k
//                                     or heavy80k
//   velmora_benchtool touch DIR [birthday]
//                                     edits one repeating record, as a user would
//                                     (a "...'s Birthday" record's text with "birthday")
//   velmora_benchtool engine          the rules engine on the heavy calendar in this
//                                     fresh process: its first call, then a warm one
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "calendars.h"
#include "core/files.h"
#include "platform/sqlstore.h"

namespace {

namespace db = vm::db;

int Make(const std::string& dir, const std::string& kind) {
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    if (!vm::EnsureDataFolder()) return 1;
    const std::string calendar = vm::DefaultCalendarPath();
    const bool heavy = kind == "heavy" || kind == "heavy20k" || kind == "heavy80k";
    if (kind == "typical") vmbench::AddRecords(calendar, vmbench::TypicalCalendar(5000));
    else if (kind == "heavy") vmbench::AddRecords(calendar, vmbench::HeavyCalendar(5000));
    else if (kind == "heavy20k") vmbench::AddRecords(calendar, vmbench::HeavyCalendar(20000));
    else if (kind == "heavy80k") vmbench::AddRecords(calendar, vmbench::HeavyCalendar(80000));
    else if (kind != "empty") return 2;
    auto settings = db::Database::Open(vm::SettingsDatabasePath());
    auto st = settings->prepare("UPDATE [Settings] SET [LastVelmoraFN] = ?, [StartRepeatYear] = '2019', "
                                "[CalcYearsSince] = ?");
    st.bind(1, db::Text(calendar)).bind(2, db::Bool(heavy));
    st.run();
    return 0;
}

int Touch(const std::string& dir, const std::string& what) {
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    auto calendar = db::Database::Open(vm::DefaultCalendarPath());
    const std::string which = what == "birthday" ? "[Duration] > 1 AND [DateText] LIKE '%''s Birthday%'"
                                                 : "[Duration] > 1";
    calendar->exec(
        "UPDATE [Velmora] SET [DateText] = CASE WHEN [DateText] LIKE '%.' THEN substr([DateText], 1, "
        "length([DateText]) - 1) ELSE [DateText] || '.' END WHERE [ID] = (SELECT min([ID]) FROM [Velmora] "
        "WHERE " + which + ")");
    return 0;
}

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int Engine() {
    const auto records = vmbench::HeavyCalendar(5000);
    const auto options = vmbench::HeavyOptions();
    auto t0 = std::chrono::steady_clock::now();
    size_t rows = vm::ExpandRepeats(records, options).rows.size();
    auto t1 = std::chrono::steady_clock::now();
    rows += vm::ExpandRepeats(records, options).rows.size();
    auto t2 = std::chrono::steady_clock::now();
    // Whole numbers only: printf's decimal point follows the locale.
    std::printf("engine_first_us=%lld engine_warm_us=%lld rows=%zu\n",
                static_cast<long long>(Ms(t1 - t0) * 1000), static_cast<long long>(Ms(t2 - t1) * 1000), rows / 2);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    try {
        if (what == "make" && argc == 4) return Make(argv[2], argv[3]);
        if (what == "touch" && (argc == 3 || argc == 4)) return Touch(argv[2], argc == 4 ? argv[3] : "");
        if (what == "engine") return Engine();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: velmora_benchtool make DIR empty|typical|heavy|heavy20k|heavy80k | touch DIR [birthday] | engine\n");
    return 2;
}
