#include "core/filegate.h"

#include <filesystem>

#include "core/calendarfiles.h"
#include "core/files.h"
#include "core/schema.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sqlstore.h"

namespace fs = std::filesystem;

namespace vm {
namespace {

FileVerdict Verdict(const std::string& problem, const std::string& path, int failure) {
    if (!problem.empty())
        return {FileUse::Refused, problem, db::IsInUseError(failure), db::IsDamagedFileError(failure)};
    return {db::IsReadOnlyFile(path) ? FileUse::ReadOnly : FileUse::Usable, {}};
}

bool IsBlankTemplate(const std::string& path) {
    return SameFileAnyName(path, BlankCalendarTemplate()) || SameFileAnyName(path, BlankSettingsTemplate());
}

std::string TemplateProblem(const std::string& path) {
    return "\"" + path + "\" is a blank template that new calendars are made from, not a calendar: "
           "to start a new calendar, use File, New Calendar.";
}

// Why no settings database is at `path`: what is there instead, a folder on
// the way that may not be read, or a damaged template to make one from.
std::string MissingSettingsText(const std::string& path) {
    const std::string named = "The settings database \"" + path + "\"";
    if (const std::string what = NotAFileAt(path); !what.empty())
        return named + " is " + what + ", not a file, and is left as it is.";
    if (PathDenied(path)) return "Permission to read the settings database \"" + path + "\" is denied.";
    if (BlankTemplateDamaged(BlankSettingsTemplate()))
        return named + " is not there.\r\n" + DamagedTemplateText(BlankSettingsTemplate(), "settings database");
    return named + " is not there and could not be made.";
}

}  // namespace

FileVerdict CheckCalendarFile(const std::string& path) {
    if (IsBlankTemplate(path)) return {FileUse::Refused, TemplateProblem(path)};
    int failure = 0;
    std::string problem = CalendarFileProblem(path, &failure);
    return Verdict(problem, path, failure);
}

FileVerdict CheckSettingsFile(const std::string& path) {
    int failure = 0;
    std::string problem = CheckStore(path, DbKind::Settings, &failure);
    return Verdict(problem, path, failure);
}

FileUse AdmitCalendarFile(const std::string& path, const std::string& title) {
    const FileVerdict v = CheckCalendarFile(path);
    if (v.use == FileUse::Refused && IsBlankTemplate(path))
        Messages().message(v.problem, MsgButtons::Ok, MsgIcon::Exclamation, title);
    else if (v.use == FileUse::Refused)
        Messages().message(v.problem + "\r\nThe file was not opened and is left as it is.", MsgButtons::Ok,
                           MsgIcon::Critical, title);
    else if (v.use == FileUse::ReadOnly)
        Messages().message("\"" + path + "\" may only be read.\r\nIt is opened read-only: its records are shown, "
                           "and nothing is written into it.",
                           MsgButtons::Ok, MsgIcon::Information, "Read-Only Calendar File");
    return v.use;
}

std::string DamagedFileName(const std::string& path) {
    std::string stem = path;
    if (HasMdbSuffix(stem)) stem.resize(stem.size() - 4);
    std::error_code ec;
    std::string name = stem + ".damaged.mdb";
    for (int n = 2; fs::exists(name, ec) || fs::is_symlink(name, ec); ++n)
        name = stem + ".damaged-" + std::to_string(n) + ".mdb";
    return name;
}

FileUse AdmitSettingsFile(const std::string& path) {
    const FileVerdict v = CheckSettingsFile(path);
    if (v.use == FileUse::ReadOnly)
        Messages().message("\"" + path + "\" may only be read.\r\nThe settings are read from it, and changes made in "
                           "this run are not saved.",
                           MsgButtons::Ok, MsgIcon::Information, "Read-Only Settings");
    if (v.use != FileUse::Refused) return v.use;
    if (!FileExists(path)) {  // not made in the data folder (no right to write there), or no file at all
        Messages().message(MissingSettingsText(path) + "\r\nThe settings are not read now and not saved when the "
                           "program ends.",
                           MsgButtons::Ok, MsgIcon::Exclamation, "Settings Database");
        return FileUse::Refused;
    }
    if (!v.damaged) {  // held by another program, or unreadable just now: left as it is
        Messages().message(v.problem + "\r\nThe settings are not read now and not saved when the program ends, so "
                                       "nothing in the file is lost." +
                               (v.inUse ? " Close the other program and start again." : ""),
                           MsgButtons::Ok, MsgIcon::Exclamation, "Settings Database");
        return FileUse::Refused;
    }
    // Only a table of its own gone: made again, and the contacts, to-do list,
    // daily alarms and event log stay where they are.
    if (const std::vector<std::string> made = RestoreSettingsTables(path); !made.empty()) {
        std::string tables;
        for (const std::string& t : made) tables += (tables.empty() ? "[" : " and [") + t + "]";
        Messages().message(v.problem + "\r\n" + tables + (made.size() == 1 ? " was" : " were") +
                               " made again as a new settings database has it; everything else in the file is kept.",
                           MsgButtons::Ok, MsgIcon::Exclamation, "Settings Database");
        return CheckSettingsFile(path).use;
    }
    const std::string kept = DamagedFileName(path);
    std::error_code ec;
    fs::rename(path, kept, ec);
    if (ec) {
        Messages().message(v.problem + "\r\nIt could not be put aside (" + ec.message() +
                               "); the settings will not be read or saved.",
                           MsgButtons::Ok, MsgIcon::Critical, "Settings Database");
        return FileUse::Refused;
    }
    const TemplateCopy fresh = CopyBlankTemplate(BlankSettingsTemplate(), path, true);
    const std::string made = fresh == TemplateCopy::Made ? " and a fresh settings database was made."
                             : fresh == TemplateCopy::TemplateDamaged
                                 ? ".\r\n" + DamagedTemplateText(BlankSettingsTemplate(), "settings database")
                                 : "; no fresh one could be made.";
    Messages().message(v.problem + "\r\nThe damaged file is kept as \"" + kept + "\"" + made, MsgButtons::Ok,
                       MsgIcon::Exclamation, "Settings Database");
    if (fresh != TemplateCopy::Made) return FileUse::Refused;
    return CheckSettingsFile(path).use;
}

}  // namespace vm
