#include "platform/qtprogress.h"

#include <QApplication>
#include <QProgressDialog>

namespace vm {

namespace {
constexpr qint64 kShowAfterMs = 500, kDrawEveryMs = 50;
constexpr int kScale = 1000;
}  // namespace

QtProgress::~QtProgress() { delete dialog_; }

void QtProgress::begin(const std::string& title, const std::string& label, bool canCancel) {
    if (depth_++ > 0) {
        // A task inside a task shows in the outer one's dialog, under its own
        // label; one that cannot stop takes the dialog's Cancel away while it runs.
        label_ = label;
        outerCanCancel_.push_back(canCancel_);
        canCancel_ = canCancel_ && canCancel;
        if (dialog_) {
            dialog_->setLabelText(QString::fromStdString(label_));
            if (!canCancel_) dialog_->setCancelButton(nullptr);
        }
        return;
    }
    title_ = title;
    label_ = label;
    canCancel_ = canCancel;
    cancelled_ = false;
    sinceStart_.start();
    sinceDrawn_.start();
}

bool QtProgress::step(int64_t done, int64_t total) {
    if (cancelled_) return false;
    if (sinceDrawn_.elapsed() < kDrawEveryMs) return true;
    sinceDrawn_.restart();
    if (!dialog_ && sinceStart_.elapsed() >= kShowAfterMs) {
        dialog_ = new QProgressDialog(QString::fromStdString(label_), canCancel_ ? "Cancel" : QString(), 0, kScale,
                                      QApplication::activeWindow());
        dialog_->setObjectName("dlgProgress");
        dialog_->setWindowTitle(QString::fromStdString(title_));
        dialog_->setWindowModality(canCancel_ ? Qt::WindowModal : Qt::ApplicationModal);
        if (!canCancel_) dialog_->setWindowFlag(Qt::WindowCloseButtonHint, false);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    if (dialog_) {
        const int value = total > 0 ? static_cast<int>(std::min<int64_t>(kScale, done * kScale / total)) : 0;
        dialog_->setValue(value);
    }
    // Until the modal dialog shows, the windows only redraw: no click or key
    // reaches them while the task is under way; a task that cannot stop
    // takes none at all (its dialog has nothing to press).
    QApplication::processEvents(dialog_ && canCancel_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    if (dialog_ && dialog_->wasCanceled() && canCancel_) cancelled_ = true;
    return !cancelled_;
}

void QtProgress::end() {
    if (depth_ == 0) return;
    if (--depth_ > 0) {
        const bool couldCancel = canCancel_;
        canCancel_ = outerCanCancel_.back();
        outerCanCancel_.pop_back();
        if (dialog_ && canCancel_ && !couldCancel) dialog_->setCancelButtonText("Cancel");
        return;
    }
    outerCanCancel_.clear();
    delete dialog_;
}

}  // namespace vm
