// Runs an operation step by step under one error handler: a failing step is
// either passed over, ends the operation, or is shown in a box whose OK goes
// on with the next step and whose Cancel leaves through the normal exit.
// A file that cannot be written (a full disk, a read-only file) ends the
// operation whatever its policy, with one plain box per command (see
// WriteFailureText).
#pragma once
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

namespace vm {

// A failure with an error number, for operations that raise their own.
class OpError : public std::runtime_error {
public:
    OpError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }
private:
    int number_;
};

enum class OnError {
    Message,  // show the box; OK goes on, Cancel ends
    Next,     // pass over silently, go on with the next step
    End,      // end the operation silently
};

// A write the program repeats on its own (the shown month's working table,
// at every month step) that keeps failing the same way is said once: its box
// shows again only after one such write has succeeded, or when it fails
// another way.
struct StandingWriteFailure {
    std::string said;  // the failure last said, "" after a success
};

class Operation {
public:
    // title: the box title ("ReadCalValues_Error"); pointLabel: text put before
    // the step number on a second line ("@ErPnt= "), or "" for no step line.
    explicit Operation(std::string title, std::string pointLabel = "");

    // Decides, per error number, what a failure does (default: Message).
    Operation& onError(std::function<OnError(int)> policy);

    // Runs one step as step number `point`; false when the operation must end.
    template <class F>
    bool step(int point, F&& fn) {
        if (ended_) return false;
        iErPt = point;
        try {
            std::forward<F>(fn)();
            return true;
        } catch (...) {
            return handle(std::current_exception());
        }
    }

    // A write failure of this operation is said once while it lasts (see
    // StandingWriteFailure), not at every command that runs it.
    Operation& standing(StandingWriteFailure& failure) {
        standing_ = &failure;
        return *this;
    }

    // The box's step line follows the description on the same line.
    Operation& pointOnSameLine() {
        pointNewLine_ = false;
        return *this;
    }
    // Text put before the error number in the box ("Error Number ").
    Operation& numberPrefix(std::string prefix) {
        numberPrefix_ = std::move(prefix);
        return *this;
    }

    bool ended() const { return ended_; }
    void end() { ended_ = true; }
    int lastError() const { return lastError_; }
    int iErPt = 0;

private:
    bool handle(std::exception_ptr e);
    std::string title_, pointLabel_, numberPrefix_;
    bool pointNewLine_ = true;
    std::function<OnError(int)> policy_;
    StandingWriteFailure* standing_ = nullptr;
    bool ended_ = false;
    int lastError_ = 0;
};

// Runs a step of an ordinary handler that only reads or shows: a failing
// step is passed over silently. A step that writes is a WriteStep.
template <class F>
void OptionalStep(F&& fn) {
    try {
        std::forward<F>(fn)();
    } catch (...) {
    }
}

// Says a failed write in one plain box: the plain text of a file that cannot
// be written (see WriteFailureText), else "<what> could not be saved:
// <reason>". One box per command, as ShowWriteFailure.
void ReportWriteFailure(const std::string& what, std::exception_ptr e);

// Runs a step of an ordinary handler that writes: the handler goes on after a
// failure, which is reported (ReportWriteFailure). False when it failed.
template <class F>
bool WriteStep(const std::string& what, F&& fn) {
    try {
        std::forward<F>(fn)();
        return true;
    } catch (...) {
        ReportWriteFailure(what, std::current_exception());
        return false;
    }
}

// Error number and description of any failure (DbError, OpError, others).
std::pair<int, std::string> DescribeError(std::exception_ptr e);

// The plain text for a failure to write a file ("The disk is full:
// Velmoras.mdb was not changed"), or "" for any other failure.
std::string WriteFailureText(std::exception_ptr e);

// The plain text for a file that may only be read ("The file may only be
// read: Velmoras.mdb was not changed").
std::string ReadOnlyFileText(const std::string& path);

// Shows a write failure's box unless one was shown since the user's last key
// press or click: one box per command, however many operations it runs.
void ShowWriteFailure(const std::string& text);

// A full disk or a file that may only be read said in its plain box
// (ShowWriteFailure); false, and nothing said, for any other failure.
bool ShowPlainWriteFailure(std::exception_ptr e);

}  // namespace vm
