// The main window as a listener of the calendar document: the occurrences
// made again when records changed, and the shown month, the date grid's
// listing and today's alarms following every change and every pass.
#include "core/calendardocument.h"
#include "mainwindow/frmvelmora.h"
#include "platform/steps.h"
#include "records/dategrid.h"

namespace vm {

void frmVelmora::ListenToDocument() {
    CalendarDocument& document = Document();
    connect(&document, &CalendarDocument::occurrencesStale, this, [this] {
        if (!unloaded_) WriteStep("The repeating data", [&] { BuildRepeatingAfterWrite(); });
    });
    connect(&document, &CalendarDocument::calendarChanged, this, &frmVelmora::FollowDocument);
    connect(&document, &CalendarDocument::dailyAlarmsChanged, this, &frmVelmora::SetAlarms);
}

void frmVelmora::FollowDocument() {
    if (unloaded_) return;
    // Before the first month is drawn (start-up) there is nothing to follow:
    // the first build draws what the pass made. The listing the grid held
    // for the pass goes back all the same.
    if (buildsRun_ == 0) {
        if (dateGrid) dateGrid->GiveBackListing();
        return;
    }
    if (dateGrid) dateGrid->HoldListing();
    OptionalStep([&] { BuildCalendarNumbers(); });
    if (dateGrid) dateGrid->GiveBackListing();
}

}  // namespace vm
