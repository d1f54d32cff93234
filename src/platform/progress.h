// The progress of a long task (an import, an export, a printout) behind one
// interface, so that tests never block. Nothing shows until the task has run
// for about half a second; from then on a dialog with a Cancel button shows
// how far it is, and the windows keep drawing while the task runs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vm {

class IProgress {
public:
    virtual ~IProgress() = default;
    // A task starts; `label` says what it does. A task that cannot stop
    // half-way (`canCancel` false) offers no Cancel, and its dialog keeps
    // every window of the program still until it ends. A task inside
    // another shows in the outer one's dialog; Cancel is there while every
    // task open may stop.
    virtual void begin(const std::string& title, const std::string& label, bool canCancel) = 0;
    // `done` of `total` units (bytes, rows) are through. False once the user
    // has pressed Cancel. Cheap enough to call for every row.
    virtual bool step(int64_t done, int64_t total) = 0;
    // The task is over (finished or cancelled); the dialog goes.
    virtual void end() = 0;
};

IProgress& Progress();
void SetProgress(IProgress* impl);  // nullptr restores the built-in fake

// Steps the task of the innermost open ProgressScope; nothing when none is
// open. For work that reports how far it is without owning a dialog (the
// repeat pass after an import shows in the import's dialog).
void ReportProgress(int64_t done, int64_t total);
// Whether a task is under way (a ProgressScope is open).
bool ProgressOpen();

// Keeps a task's begin and end paired, whatever way the task is left. A
// scope opened inside another shows in the outer one's dialog, under its own
// label.
class ProgressScope {
public:
    ProgressScope(const std::string& title, const std::string& label, bool canCancel = true);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    bool step(int64_t done, int64_t total) { return Progress().step(done, total); }
};

// Records every task and its steps; presses Cancel at the step number
// `cancelAtStep` (counted from 1 over all tasks; 0: never).
class FakeProgress : public IProgress {
public:
    struct Task {
        std::string title, label;
        int64_t steps = 0, lastDone = 0, lastTotal = 0;
        bool ended = false;
        bool canCancel = true;
    };
    void begin(const std::string& title, const std::string& label, bool canCancel) override;
    bool step(int64_t done, int64_t total) override;
    void end() override;  // ends the innermost task still open

    std::vector<Task> tasks;
    int64_t cancelAtStep = 0;
    int64_t stepsSeen = 0;
    bool cancelled = false;
    void clear() { tasks.clear(); cancelAtStep = 0; stepsSeen = 0; cancelled = false; }
};

}  // namespace vm
