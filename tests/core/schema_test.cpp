#include <gtest/gtest.h>

#include <tuple>

#include "core/files.h"
#include "core/schema.h"
#include "platform/places.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

TEST(OpenStore, RefusesFilesOfTheWrongKindAndLeavesThemAlone) {
    vmtest::Fixture fx;
    const std::string settings = vmtest::FreshSettings();
    const std::string before = vmtest::ReadAll(settings);
    try {
        vm::OpenStore(settings, vm::DbKind::Calendar);
        ADD_FAILURE() << "a settings database was taken for a calendar";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::kWrongKind);
        EXPECT_NE(std::string(e.what()).find("not a Velmora calendar file"), std::string::npos);
    }
    EXPECT_EQ(vmtest::ReadAll(settings), before);
    EXPECT_EQ(vm::CheckStore(vmtest::FreshCalendar(), vm::DbKind::Calendar), "");

    // The missing tables, named in the singular or the plural.
    const std::string oneShort = vmtest::FreshSettings();
    db::Database::Open(oneShort)->exec("DROP TABLE [AlarmSounds]");
    for (const auto& [path, kind, ending] :
         {std::tuple{oneShort, vm::DbKind::Settings, "has no [AlarmSounds] table."},
          std::tuple{vmtest::FreshCalendar(), vm::DbKind::Settings, "], [AlarmSounds] tables."}}) {
        const std::string text = vm::CheckStore(path, kind);
        EXPECT_TRUE(text.ends_with(ending)) << text;
    }
    EXPECT_NE(vm::CheckStore(settings, vm::DbKind::Calendar), "");
}

TEST(DataFolder, IsMadeWithBothTemplatesAndNeverOverwritten) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("velmora-df") + "/deeper/Velmora";
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    ASSERT_TRUE(vm::EnsureDataFolder());
    EXPECT_EQ(vm::SettingsDatabasePath(), dir + "/Velmora_Settings.mdb");
    EXPECT_EQ(vmtest::ReadAll(vm::DefaultCalendarPath()), vmtest::ReadAll(vm::BlankCalendarTemplate()));
    vmtest::WriteAll(vm::DefaultCalendarPath(), "the user's own data");
    ASSERT_TRUE(vm::EnsureDataFolder());
    EXPECT_EQ(vmtest::ReadAll(vm::DefaultCalendarPath()), "the user's own data");
    EXPECT_EQ(vm::ResolveDataPath("Sounds/a.wav"), dir + "/Sounds/a.wav");
    EXPECT_EQ(vm::ResolveDataPath("/abs/a.wav"), "/abs/a.wav");
}

}  // namespace
