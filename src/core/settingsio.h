// Reading and writing the one [Settings] row and the sound table
// [AlarmSounds] of the settings database.
#pragma once
#include <array>
#include <optional>
#include <string>

namespace vm {

// The stored values of [Settings]; an empty optional is a Null (or missing)
// column, which start-up passes over.
struct SettingsRow {
    std::optional<double> Top, Left, Height, Width, VBarLeft;
    std::optional<std::string> LastVelmoraFN;
    std::optional<int> CalendarStyle;
    std::array<std::optional<std::string>, 5> Prev{};  // Prev[1..4]
    std::optional<std::string> StartRepeatYear, StartUpSound;
    std::optional<bool> CalcYearsSince, Voice;
};

// Reads the first row of [Settings]; throws db::DbError when the database
// cannot be read. Columns a file lacks read as Null.
SettingsRow ReadSettingsRow(const std::string& settingsPath);

// What shut-down stores: the window's rectangle, splitter and last file only
// when the window is not minimized; the rest always.
struct SettingsToSave {
    bool minimized = false;
    double Top = 0, Left = 0, Height = 0, Width = 0, VBarLeft = 0;
    std::string LastVelmoraFN;
    std::array<std::string, 6> PrevFiles{};  // 1..5; only 1..4 are stored
    std::string StartRepeatYear, StartUpSound;
    bool CalcYearsSince = false, Voice = false;
    int CalendarStyle = 0;
};

// Writes the first row of [Settings] in one update; a column the file lacks
// is passed over, the others are still written. Throws db::DbError when the
// row cannot be written.
void WriteSettingsRow(const std::string& settingsPath, const SettingsToSave& s);

// The option mirrors start-up derives: "2019" for an empty start year.
std::string StartYearOrDefault(const std::optional<std::string>& stored);

// Reads the sound files of sound numbers 1..30 by position; rows the table
// lacks read as "". Writes them back by position, adding missing rows.
std::array<std::string, 31> ReadSoundTable(const std::string& settingsPath);
void WriteSoundTable(const std::string& settingsPath, const std::array<std::string, 31>& sounds);

}  // namespace vm
