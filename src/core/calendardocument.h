// The open calendar as one document. Whatever writes date records says here
// what it changed; whatever shows them, or what is made from them, listens
// here. No writer calls another window's refresh.
//
// A write marks the occurrences stale (MainState.pRebuildRepeating) and, once
// the event being handled is done, the document settles: `occurrencesStale`
// (the main window runs the repeat pass on it), then `calendarChanged` (the
// month, the week view, the date grid's listing, today's alarms and the
// work-day calculator follow). Several writes in one command settle once;
// `Settle()` settles at once for a command that goes on with the result.
#pragma once
#include <QObject>

namespace vm {

class CalendarDocument : public QObject {
    Q_OBJECT
public:
    enum class Change { Added, Changed, Deleted };

    // Date records of [Velmora] were added, changed or deleted.
    void RecordsWritten(Change change);
    // A pass wrote [RepeatingData] (Build Repeating Data, start-up, imports):
    // the views follow at once.
    void OccurrencesBuilt();
    // Another calendar file is now the one in use.
    void CalendarOpened();
    // The calendar's windows are gone (the main window closed): a change not
    // settled yet is dropped.
    void CalendarClosed() { pending_ = false; }
    // The daily alarms of the settings database changed.
    void DailyAlarmsChanged();
    // Settles a pending change now: the pass, then the views.
    void Settle();
    bool SettlePending() const { return pending_; }
    // While a repeat pass runs (and lets events run to show its progress) no
    // settling starts: a change written meanwhile settles once it is over.
    void HoldSettling(bool hold);

signals:
    void recordsChanged(vm::CalendarDocument::Change change);
    void occurrencesStale();
    void calendarChanged();
    void calendarOpened();
    void dailyAlarmsChanged();

private:
    void Post();
    bool pending_ = false, posted_ = false, settling_ = false;
    int held_ = 0;
};

// The document of the running program.
CalendarDocument& Document();

}  // namespace vm
