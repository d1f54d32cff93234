// The one instance of a secondary window: made and loaded on first use,
// shown modeless and brought forward while it is loaded, unloaded once.
#pragma once
#include <QPointer>
#include <QWidget>

namespace vm {

template <class W>
class OneWindow {
public:
    // The loaded window, or nullptr.
    W* get() const {
        if (!w_) return nullptr;
        if constexpr (requires(W* w) { w->loaded(); }) {
            if (!w_->loaded()) return nullptr;
        }
        return w_.data();
    }
    // Makes the window with `make` and runs its Form_Load when none is loaded.
    template <class Make>
    W* load(Make make) {
        if (W* w = get()) return w;
        w_ = make();
        w_->Form_Load();
        return w_.data();
    }
    // Loads the window when needed, then shows it in front, restored.
    template <class Make>
    W* show(Make make) {
        W* w = load(make);
        if (w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        w->raise();
        w->activateWindow();
        return w;
    }
    // Runs Form_Unload and lets the window go; a later show makes a new one.
    void unload() {
        if (!w_) return;
        W* w = w_.data();
        w_ = nullptr;
        w->Form_Unload();
        w->hide();
        w->deleteLater();
    }

private:
    QPointer<W> w_;
};

}  // namespace vm
