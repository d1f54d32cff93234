#include "exchange/otherimports.h"

#include "core/calendardocument.h"
#include "core/calendarimport.h"
#include "core/module1.h"
#include "exchange/orvantapanel.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/steps.h"

namespace vm {

void ImportVelmoraFile(std::string& fileName) {
    const MsgResult answer =
        Messages().message("Import Duplicate Records?", MsgButtons::YesNo, MsgIcon::None, "Import Duplicate Records?");
    Operation op("ImportVelmoraFile_Error");
    MainWindowDoor* w = MainDoor();
    if (w) w->SetWaitCursor(true);
    CalendarImportResult result;
    {
        ProgressScope progress("Import Data", "Importing " + fileName);
        result = ImportCalendarRows(fileName, Module1.CalendarFilePath, answer == MsgResult::Yes, op,
                                    [&](int64_t done, int64_t total) { return progress.step(done, total); });
    }
    if (result.done && w) {
        // The new records show at once, their repeats included.
        op.step(4, [&] {
            Document().RecordsWritten(CalendarDocument::Change::Added);
            Document().Settle();
        });
    }
    if (w) w->SetWaitCursor(false);
    if (result.done && result.refusedCount > 0)
        Messages().message(RefusedRowsMessage(result), MsgButtons::Ok, MsgIcon::Exclamation, "Records Not Imported");
    if (result.done)
        Messages().message(std::to_string(result.added) + " Date Record(s) have been imported from:\r\n" + fileName,
                           MsgButtons::Ok, MsgIcon::None, "Import Complete");
}

void ShowOrvanta_Import(const std::string& contractFile) {
    if (OrvantaPanel* panel = OrvantaImportPanel()) panel->ShowFor(contractFile);
}

}  // namespace vm
