// The contact list's File menu: the export of the listed contacts (records
// or cards) and the import of an export file.
#include <QLabel>
#include <QTableView>

#include <stdexcept>

#include "core/module1.h"
#include "core/writeguard.h"
#include "mainwindow/windowhelpers.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "tools/frmpeople.h"
#include "tools/toolgrid.h"

namespace vm {
namespace {

constexpr const char* kExportFilter = "Text File     *.TXT|.TXT";
// Only text files: any other file is no contact list.
constexpr const char* kImportFilter = "Text File  *.TXT|*.TXT";

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

int ErrorNumber(const std::exception& e) {
    if (auto* d = dynamic_cast<const db::DbError*>(&e)) return d->number();
    return 75;  // path or file access
}

void ErrorBox(const std::exception& e, const std::string& title) {
    Messages().message(std::to_string(ErrorNumber(e)) + " - " + e.what(), MsgButtons::OkCancel, MsgIcon::None, title);
}

}  // namespace

void frmPeople::mnuFile_Export_Click() {
    pOutPutType = 1;
    ExportContacts();
}

void frmPeople::mnuFile_PrintList_Click() {
    pOutPutType = 2;
    ExportContacts();
}

std::vector<ContactRow> frmPeople::ListedContacts() {
    std::vector<ContactRow> rows;
    for (DataPeople.moveFirst(); !DataPeople.eof(); DataPeople.moveNext()) {
        ContactRow c;
        for (int i = 0; i < kContactFields; ++i) c[size_t(i)] = db::AsText(DataPeople.field(kPeopleColumns[size_t(i)]));
        rows.push_back(std::move(c));
    }
    return rows;
}

void frmPeople::ExportContacts() {
    PeopleRunState& run = PeopleRun();
    if (run.ExportFolder.empty()) run.ExportFolder = DataFolder();
    MakeFolder(DataFolder());  // quietly, when it is missing
    std::string path =
        ShowFileDialog(run.ExportFolder, 6, kExportFilter, "*.TXT", "Export Contact Data List");
    if (path.empty()) return;
    if (FileExists(path)) run.ExportFolder = FolderOf(path);
    if (!MayWriteFile(path, "Export Contact Data List")) return;

    int count = 0;
    try {
        pRepositionOff = true;
        DataPeople.setRecordSource(pSQL + pSQLOrder);
        DataPeople.setParameters(pParameters);
        DataPeople.refresh();
        DataPeopleModel->reload();
        HideIdColumn(tdbgridPeople, DataPeopleModel);
        const std::vector<ContactRow> rows = ListedContacts();
        count = WriteContactFile(path, pOutPutType == 2 ? ContactFileKind::Cards : ContactFileKind::Records, rows);
        if (pOutPutType == 2 && !rows.empty()) Module1.SelDayText = ContactCard(rows.back());
        pRepositionOff = false;
    } catch (const std::exception& e) {
        pRepositionOff = false;
        ErrorBox(e, "sscmdExportFields_Error");
        return;  // nothing was written that could be shown
    }
    if (ShellOpenFile(path, 4) == kShellNoFile)
        Messages().message("Contact Data Export File Not Found", MsgButtons::Ok, MsgIcon::Critical,
                           "Export Data File - Error");
    else
        Messages().message(std::to_string(count) + " Records Exported ", MsgButtons::Ok, MsgIcon::Information,
                           "Export Complete");
}

void frmPeople::mnuFile_Import_Click() {
    PeopleRunState& run = PeopleRun();
    if (run.ImportFolder.empty()) run.ImportFolder = DataFolder();
    const std::string path = ShowFileDialog(run.ImportFolder, 1, kImportFilter, "*.*", "Import Calendar Date Data");
    if (path.empty()) return;
    if (FileExists(path)) run.ImportFolder = FolderOf(path);
    if (!MayReadFile(path, "Import Contact List Text Records")) return;  // a named pipe would never answer

    ContactImport result;
    try {
        pRepositionOff = true;
        result = ImportContactFile(SettingsDatabaseInUse(), path);
    } catch (const std::exception& e) {
        pRepositionOff = false;
        ErrorBox(e, "mnuFile_Import_Error");
        return;
    }
    try {
        DataPeople.setRecordSource(pSQL + pSQLOrder);
        DataPeople.setParameters(pParameters);
        DataPeople.refresh();
        DataPeopleModel->reload();
        HideIdColumn(tdbgridPeople, DataPeopleModel);
        FillValueLists();
    } catch (const std::exception&) {
    }
    pRepositionOff = false;
    DataPeople_Reposition();
    if (!result.skippedLines.empty())
        Messages().message(SkippedLinesText(result.skippedLines), MsgButtons::Ok, MsgIcon::Exclamation,
                           "Import Contact List Text Records");
}

}  // namespace vm
