#include "platform/stopsignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vm {
namespace {

constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGHUP};
int g_writeEnd = -1;
std::atomic<bool> g_received{false};

// Only async-signal-safe calls here: a byte to the event loop, or the
// default end at a second signal.
void OnStopSignal(int signal) {
    if (g_received.exchange(true)) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    const char byte = static_cast<char>(signal);
    if (g_writeEnd < 0) return;
    const ssize_t written = ::write(g_writeEnd, &byte, 1);
    (void)written;
}

}  // namespace

struct StopSignalWatch::Impl {
    std::array<int, 2> ends{-1, -1};
    std::array<struct sigaction, kStopSignals.size()> former{};
    std::unique_ptr<QSocketNotifier> notifier;
};

StopSignalWatch::StopSignalWatch(std::function<void()> stop) : impl_(std::make_unique<Impl>()) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, impl_->ends.data()) != 0) return;
    g_writeEnd = impl_->ends[0];
    g_received = false;
    impl_->notifier = std::make_unique<QSocketNotifier>(impl_->ends[1], QSocketNotifier::Read);
    QObject::connect(impl_->notifier.get(), &QSocketNotifier::activated, impl_->notifier.get(),
                     [this, stop = std::move(stop)] {
                         char byte = 0;
                         if (::read(impl_->ends[1], &byte, 1) == 1 && stop) stop();
                         impl_->notifier->setEnabled(false);  // once
                     });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kStopSignals.size(); ++i) ::sigaction(kStopSignals[i], &action, &impl_->former[i]);
}

StopSignalWatch::~StopSignalWatch() {
    if (impl_->ends[0] < 0) return;
    for (size_t i = 0; i < kStopSignals.size(); ++i) ::sigaction(kStopSignals[i], &impl_->former[i], nullptr);
    g_writeEnd = -1;
    impl_->notifier.reset();
    ::close(impl_->ends[0]);
    ::close(impl_->ends[1]);
}

bool StopSignalReceived() { return g_received; }

bool IsDisplayGoneAfterStop(const QString& message) {
    return g_received && message.startsWith("The X11 connection broke");
}

}  // namespace vm
