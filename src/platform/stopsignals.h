// Stopping the program from its terminal ends it the way closing its window
// does: Ctrl+C (SIGINT), a kill (SIGTERM) or the terminal closing (SIGHUP)
// become one call on the event loop instead of a sudden death. A second such
// signal before the program has ended ends it at once.
#pragma once
#include <QString>

#include <functional>
#include <memory>

namespace vm {

class StopSignalWatch {
public:
    // `stop` runs on the event loop once, at the first of the signals.
    explicit StopSignalWatch(std::function<void()> stop);
    ~StopSignalWatch();  // gives the signals back their former handlers
    StopSignalWatch(const StopSignalWatch&) = delete;
    StopSignalWatch& operator=(const StopSignalWatch&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// True once a stop signal has come.
bool StopSignalReceived();

// The display's own end of a run that was asked to stop: the X server going
// with it (as the invisible one of xvfb-run does at Ctrl+C) is no failure.
bool IsDisplayGoneAfterStop(const QString& message);

}  // namespace vm
