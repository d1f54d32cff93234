#include "core/settingsio.h"

#include "core/numtext.h"
#include "core/schema.h"
#include "platform/places.h"
#include "platform/sqlstore.h"

namespace vm {
namespace {

std::optional<double> OptNum(const db::RecordSource& rs, const char* name) {
    if (!rs.hasField(name) || db::IsNull(rs.field(name))) return std::nullopt;
    return db::AsDouble(rs.field(name));
}

std::optional<std::string> OptText(const db::RecordSource& rs, const char* name) {
    if (!rs.hasField(name) || db::IsNull(rs.field(name))) return std::nullopt;
    return db::AsText(rs.field(name));
}

std::optional<bool> OptBool(const db::RecordSource& rs, const char* name) {
    if (!rs.hasField(name) || db::IsNull(rs.field(name))) return std::nullopt;
    return db::AsBool(rs.field(name));
}

void Bind(db::RecordSource& rs, const std::string& path, const char* table) {
    rs.setDatabaseName(path);
    rs.setRecordSource(table);
    rs.refresh();
}

}  // namespace

SettingsRow ReadSettingsRow(const std::string& settingsPath) {
    db::RecordSource rs;
    Bind(rs, settingsPath, "Settings");
    SettingsRow row;
    if (rs.eof()) return row;
    row.Top = OptNum(rs, "Top");
    row.Left = OptNum(rs, "Left");
    row.Height = OptNum(rs, "Height");
    row.Width = OptNum(rs, "Width");
    row.VBarLeft = OptNum(rs, "VBarLeft");
    row.LastVelmoraFN = OptText(rs, "LastVelmoraFN");
    if (auto s = OptNum(rs, "CalendarStyle")) row.CalendarStyle = static_cast<int>(RoundHalfEven(*s));
    for (int i = 1; i <= 4; ++i) row.Prev[static_cast<size_t>(i)] = OptText(rs, ("Prev" + std::to_string(i)).c_str());
    row.StartRepeatYear = OptText(rs, "StartRepeatYear");
    row.StartUpSound = OptText(rs, "StartUpSound");
    row.CalcYearsSince = OptBool(rs, "CalcYearsSince");
    row.Voice = OptBool(rs, "Voice");
    return row;
}

namespace {

// A text the column can hold. A longer one (a path of more than 255
// characters) is not written, so the rest of the row still is.
bool Fits(const char* table, const std::string& column, const std::string& text) {
    const size_t width = TextWidth(SettingsTables(), table, column);
    return width == 0 || CharCount(text) <= width;
}

}  // namespace

void WriteSettingsRow(const std::string& settingsPath, const SettingsToSave& s) {
    db::RecordSource rs;
    Bind(rs, settingsPath, "Settings");
    if (rs.eof()) rs.addNew(); else rs.edit();
    auto put = [&](const std::string& name, const db::Value& v) {
        if (!rs.hasField(name)) return;
        if (const auto* text = std::get_if<std::string>(&v); text && !Fits("Settings", name, *text)) return;
        rs.setField(name, v);
    };
    if (!s.minimized) {
        put("Top", db::Value{s.Top});
        put("Left", db::Value{s.Left});
        put("Height", db::Value{s.Height});
        put("Width", db::Value{s.Width});
        put("VBarLeft", db::Value{s.VBarLeft});
        put("LastVelmoraFN", db::Text(s.LastVelmoraFN));
    }
    // The recent files the column can hold, in their order.
    std::vector<std::string> prev;
    for (int i = 1; i <= 4; ++i)
        if (const std::string& file = s.PrevFiles[static_cast<size_t>(i)]; Fits("Settings", "Prev1", file))
            prev.push_back(file);
    prev.resize(4);
    for (int i = 1; i <= 4; ++i) put("Prev" + std::to_string(i), db::Text(prev[static_cast<size_t>(i - 1)]));
    put("StartRepeatYear", db::Text(s.StartRepeatYear));
    put("StartUpSound", db::Text(s.StartUpSound));
    put("CalcYearsSince", db::Bool(s.CalcYearsSince));
    put("Voice", db::Bool(s.Voice));
    put("CalendarStyle", db::Int(s.CalendarStyle));
    rs.update();
}

std::string StartYearOrDefault(const std::optional<std::string>& stored) {
    if (!stored || Trim(*stored).empty()) return "2019";
    return *stored;
}

std::array<std::string, 31> ReadSoundTable(const std::string& settingsPath) {
    db::RecordSource rs;
    Bind(rs, settingsPath, "AlarmSounds");
    std::array<std::string, 31> sounds{};
    int i = 1;
    for (rs.moveFirst(); !rs.eof() && i <= 30; rs.moveNext(), ++i)
        sounds[static_cast<size_t>(i)] = db::AsText(rs.field("SoundFileName"));
    return sounds;
}

void WriteSoundTable(const std::string& settingsPath, const std::array<std::string, 31>& sounds) {
    db::RecordSource rs;
    Bind(rs, settingsPath, "AlarmSounds");
    db::Transaction tx(rs.database());
    rs.moveFirst();
    for (int i = 1; i <= 30; ++i) {
        const bool adding = rs.eof();
        if (adding) rs.addNew(); else rs.edit();
        rs.setField("SoundNum", db::Int(i));
        if (Fits("AlarmSounds", "SoundFileName", sounds[static_cast<size_t>(i)]))
            rs.setField("SoundFileName", db::Text(sounds[static_cast<size_t>(i)]));
        rs.update();
        if (adding) rs.moveLast();
        rs.moveNext();
    }
    tx.commit();
}

}  // namespace vm
