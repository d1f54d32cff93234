#include "core/calendardocument.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "core/module1.h"

namespace vm {

CalendarDocument& Document() {
    // Never destroyed: windows may still let go of their connections at exit.
    static auto* document = new CalendarDocument;
    return *document;
}

void CalendarDocument::RecordsWritten(Change change) {
    MainState.pRebuildRepeating = true;
    pending_ = true;
    emit recordsChanged(change);
    Post();
}

void CalendarDocument::Post() {
    if (posted_ || settling_) return;  // a settling under way posts again when done
    if (!QCoreApplication::instance()) {
        Settle();
        return;
    }
    // After the event that wrote: a grid is still inside its cell's store.
    posted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            posted_ = false;
            Settle();
        },
        Qt::QueuedConnection);
}

void CalendarDocument::OccurrencesBuilt() {
    if (settling_) return;  // the settling under way tells the views
    emit calendarChanged();
}

void CalendarDocument::CalendarOpened() {
    pending_ = false;
    emit calendarOpened();
}

void CalendarDocument::DailyAlarmsChanged() { emit dailyAlarmsChanged(); }

void CalendarDocument::HoldSettling(bool hold) {
    held_ += hold ? 1 : -1;
    if (held_ == 0 && pending_) Post();
}

void CalendarDocument::Settle() {
    if (settling_ || held_ > 0 || !pending_) return;
    pending_ = false;
    {
        settling_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{settling_};
        if (MainState.pRebuildRepeating) emit occurrencesStale();
    }
    emit calendarChanged();
    if (pending_) Post();  // written while the pass ran
}

}  // namespace vm
