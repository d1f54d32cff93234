#include "exchange/otherimports.h"

#include "core/calendardocument.h"
#include "core/calendarfiles.h"
#include "core/calendarimport.h"
#include "core/module1.h"
#include "exchange/orvantapanel.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/steps.h"

namespace vm {

void SettleImportInDialog() {
    // The records are stored by now: the pass cannot stop half-way.
    ProgressScope scope("Import Data", "Building the repeating data", false);
    Document().RecordsWritten(CalendarDocument::Change::Added);
    Document().Settle();
}

void SayImportCancelled() {
    Messages().message("The import was cancelled: nothing was imported and the calendar was not changed.",
                       MsgButtons::Ok, MsgIcon::Information, "Import Cancelled");
}

void ImportVelmoraFile(std::string& fileName) {
    if (!CalendarIsWritable("Import Date Data")) return;
    const MsgResult answer =
        Messages().message("Import Duplicate Records?", MsgButtons::YesNoDefaultNo, MsgIcon::None,
                           "Import Duplicate Records?");
    Operation op("ImportVelmoraFile_Error");
    MainWindowDoor* w = MainDoor();
    if (w) w->SetWaitCursor(true);
    CalendarImportResult result;
    {
        ProgressScope progress("Import Data", "Importing " + fileName);
        result = ImportCalendarRows(fileName, Module1.CalendarFilePath, answer == MsgResult::Yes, op,
                                    [&](int64_t done, int64_t total) { return progress.step(done, total); });
        // The new records show at once, their repeats included.
        if (result.done && w)
            op.step(4, [&] { SettleImportInDialog(); });
    }
    if (w) w->SetWaitCursor(false);
    if (result.cancelled) SayImportCancelled();
    if (!result.done) return;  // a failure has had its one box
    // One summary box, naming the rows that were not taken over.
    std::string text = std::to_string(result.added) + " Date Record(s) have been imported from:\r\n" + fileName;
    if (const std::string refused = RefusedRowsMessage(result); !refused.empty()) text += "\r\n\r\n" + refused;
    const bool leftOut = result.refusedCount + result.unreadableCount > 0;
    Messages().message(text, MsgButtons::Ok, leftOut ? MsgIcon::Exclamation : MsgIcon::None, "Import Complete");
}

void ShowOrvanta_Import(const std::string& contractFile) {
    if (OrvantaPanel* panel = OrvantaImportPanel()) panel->ShowFor(contractFile);
}

}  // namespace vm
