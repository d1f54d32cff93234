#include "core/files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/calendarfiles.h"
#include "core/filegate.h"
#include "core/module1.h"

#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sqlstore.h"

namespace fs = std::filesystem;

namespace vm {

std::string SettingsDatabasePath() { return JoinPath(DataFolder(), "Velmora_Settings.mdb"); }
std::string DefaultCalendarPath() { return JoinPath(DataFolder(), "Velmoras.mdb"); }
std::string BlankCalendarTemplate() { return JoinPath(ProgramFolder(), "BlankVelmoras.mdb"); }
std::string BlankSettingsTemplate() { return JoinPath(ProgramFolder(), "BlankVelmora_Settings.mdb"); }

std::string ResolveDataPath(const std::string& stored) {
    if (stored.empty() || stored.front() == '/') return stored;
    return JoinPath(DataFolder(), stored);
}

bool BlankTemplateDamaged(const std::string& blank) {
    if (!FileExists(blank)) return false;
    // Opening refuses one that is no database; one cut short still starts as
    // a database, and the engine's quick check (which only reads) finds it.
    try {
        auto read = db::Database::Open(blank)->prepare("PRAGMA quick_check");
        return !read.step() || db::AsText(read.column(0)) != "ok";
    } catch (const db::DbError&) {
        return true;
    }
}

TemplateCopy CopyBlankTemplate(const std::string& blank, const std::string& to, bool sync) {
    std::error_code ec;
    if (to.empty() || fs::exists(to, ec) || fs::is_symlink(to, ec)) return TemplateCopy::NotMade;
    if (BlankTemplateDamaged(blank)) return TemplateCopy::TemplateDamaged;
    if (!CopyFileNoOverwrite(blank, to, sync)) return TemplateCopy::NotMade;
    // A calendar template that is another program's database makes a copy
    // the file check refuses: gone again, and the template said. (A settings
    // database short of a table has it made again where it is admitted.)
    if (SamePath(blank, BlankCalendarTemplate())) {
        const FileVerdict made = CheckCalendarFile(to);
        if (made.use == FileUse::Refused && made.damaged) {
            fs::remove(to, ec);
            return TemplateCopy::TemplateDamaged;
        }
    }
    return TemplateCopy::Made;
}

std::string DamagedTemplateText(const std::string& blank, const std::string& made) {
    return "The program's blank template \"" + blank + "\" is damaged (it is not a Velmora database file), so no new " +
           made + " was made from it.\r\nInstall Velmora again to mend it.";
}

bool EnsureDataFolder() {
    if (!MakeFolder(DataFolder())) return false;
    CopyBlankTemplate(BlankSettingsTemplate(), SettingsDatabasePath());
    if (CopyBlankTemplate(BlankCalendarTemplate(), DefaultCalendarPath()) == TemplateCopy::TemplateDamaged)
        CriticalBox(DamagedTemplateText(BlankCalendarTemplate(), "calendar file"), "Damaged Program File");
    return true;
}

namespace {

bool SameBytes(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::file_size(a, ec) != fs::file_size(b, ec) || ec) return false;
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    std::vector<char> p(64 * 1024), q(64 * 1024);
    while (x && y) {
        x.read(p.data(), static_cast<std::streamsize>(p.size()));
        y.read(q.data(), static_cast<std::streamsize>(q.size()));
        if (x.gcount() != y.gcount() || !std::equal(p.begin(), p.begin() + x.gcount(), q.begin())) return false;
    }
    return x.eof() && y.eof();
}

// Replaces the file at `to` with a copy of `from`, whole or not at all.
void ReplaceWith(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    WholeFileWriter out(to);
    std::vector<char> piece(64 * 1024);
    while (in && out.isOpen()) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        if (!out.write(std::string_view(piece.data(), static_cast<size_t>(in.gcount())))) return;
    }
    if (in.eof()) out.commit();
}

}  // namespace

void EnsureManual() {
    const std::string shipped = JoinPath(ProgramFolder(), "VelmoraHelp.pdf");
    const std::string copy = JoinPath(DataFolder(), "VelmoraHelp.pdf");
    if (!FileExists(shipped) || FileHead(shipped, 4) != "%PDF") return;
    std::error_code ec;
    const fs::file_status there = fs::symlink_status(copy, ec);
    if (there.type() == fs::file_type::not_found)
        CopyFileNoOverwrite(shipped, copy);
    else if (there.type() == fs::file_type::regular && !SameBytes(shipped, copy))
        ReplaceWith(shipped, copy);
}

std::string VersionText() {
    return std::to_string(VELMORA_VERSION_MAJOR) + "." + std::to_string(VELMORA_VERSION_MINOR) + "." +
           std::to_string(VELMORA_VERSION_PATCH);
}

std::string SettingsDatabaseInUse() {
    if (MainState.pSettingsFile.empty()) MainState.pSettingsFile = SettingsDatabasePath();
    return MainState.pSettingsFile;
}

}  // namespace vm
