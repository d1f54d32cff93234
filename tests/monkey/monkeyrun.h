// The harness of the random-action run: the log of the last actions and
// the reports printed when the run fails, crashes, trips a sanitizer or gets
// stuck; timers held back from the real clock; actions delivered as events.
#pragma once
#include <QObject>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace vmtest {

// The last actions, printed when the run fails or the process dies.
struct ActionLog {
    uint64_t seed = 0;
    long count = 0;
    std::deque<std::string> last;
    void Add(const std::string& line);
    std::string Report(const std::string& fault) const;
};

// While `log` is set, a crash, a sanitizer report or an uncaught exception
// prints its report before the process ends.
void ReportDeathsOf(ActionLog* log);

// Ends the process with the report and the stuck action's stack when one
// action runs for 90 s (a window waiting for an answer nobody gives).
class Watchdog {
public:
    explicit Watchdog(const std::atomic<long>& progress);
    ~Watchdog();

private:
    void watch(const std::atomic<long>& progress);
    pthread_t main_;
    std::mutex m_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

// Watches every event of the run. Timers fire only when the run lets time
// pass, never by the real clock, so that a seed replays the same run (the
// program's QTimers are fired by the run itself; timers of Qt's own widgets
// do not fire at all). An action whose events never stop coming (widgets
// posting each other layout events without end, which freezes a window:
// half a minute and a thousand events) is cut off: its events are
// dropped and `runaway` names the widget.
class EventWatch : public QObject {
public:
    void nextAction() {
        count_ = 0;
        endless_ = false;
        runaway.clear();
        seen_.clear();
        began_ = std::chrono::steady_clock::now();
    }
    std::string runaway;
    long count() const { return count_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    long count_ = 0;
    bool endless_ = false;
    std::map<std::string, int> seen_;
    std::chrono::steady_clock::time_point began_ = std::chrono::steady_clock::now();
};

// Runs an action as the event loop runs a user's click or key: delivered
// through the application object, so whatever the application does with a
// failure escaping a handler happens here too.
void AsEvent(const std::function<void()>& action);

}  // namespace vmtest
