// The progress dialog of Qt Widgets: shown after half a second of work,
// window-modal over the active window (modal to the whole program, and
// without Cancel, for a task that cannot stop), redrawn at most every 50 ms.
#pragma once
#include <QElapsedTimer>
#include <QPointer>

#include "platform/progress.h"

class QProgressDialog;

namespace vm {

class QtProgress : public IProgress {
public:
    ~QtProgress() override;
    void begin(const std::string& title, const std::string& label, bool canCancel) override;
    bool step(int64_t done, int64_t total) override;
    void end() override;

private:
    QPointer<QProgressDialog> dialog_;
    QElapsedTimer sinceStart_, sinceDrawn_;
    std::string title_, label_;
    int depth_ = 0;
    bool cancelled_ = false, canCancel_ = true;
    std::vector<bool> outerCanCancel_;  // of the tasks around the one running
};

}  // namespace vm
