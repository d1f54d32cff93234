#include "monkeyrun.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <execinfo.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace vmtest {
namespace {

ActionLog* g_log = nullptr;

void DyingReport(const char* why) {
    if (!g_log) return;
    const std::string r = g_log->Report(why);
    std::fputs(r.c_str(), stderr);
    std::fflush(stderr);
}

void PrintStack(int) {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_print_stack_trace();
#else
    void* frames[64];
    backtrace_symbols_fd(frames, backtrace(frames, 64), 2);
#endif
}

}  // namespace

void ActionLog::Add(const std::string& line) {
    last.push_back("#" + std::to_string(++count) + " " + line);
    if (last.size() > 30) last.pop_front();
}

std::string ActionLog::Report(const std::string& fault) const {
    std::string r = "Random-action run failed: seed " + std::to_string(seed) + ", action " + std::to_string(count) +
                    ": " + fault + "\nThe last actions:\n";
    for (const auto& l : last) r += "  " + l + "\n";
    r += "Replay: make monkey SEED=" + std::to_string(seed) + " ACTIONS=" + std::to_string(count) + "\n";
    return r;
}

void ReportDeathsOf(ActionLog* log) {
    g_log = log;
    if (!log) return;
    std::set_terminate([] {
        std::string why = "the program ended on an uncaught exception";
        if (auto e = std::current_exception()) try {
                std::rethrow_exception(e);
            } catch (const std::exception& x) {
                why += std::string(": ") + x.what();
            } catch (...) {
            }
        DyingReport(why.c_str());
        std::abort();
    });
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback([] { DyingReport("a sanitizer report (above)"); });
#else
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(sig, [](int) {
            DyingReport("the program crashed");
            std::_Exit(70);
        });
#endif
}

Watchdog::Watchdog(const std::atomic<long>& progress) : main_(pthread_self()) {
    std::signal(SIGUSR2, PrintStack);
    thread_ = std::thread([this, &progress] { watch(progress); });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(m_);
        done_ = true;
    }
    cv_.notify_one();
    thread_.join();
}

void Watchdog::watch(const std::atomic<long>& progress) {
    long seen = -1;
    auto since = std::chrono::steady_clock::now();
    std::unique_lock lock(m_);
    while (!cv_.wait_for(lock, std::chrono::seconds(1), [this] { return done_; })) {
        if (progress != seen) {
            seen = progress;
            since = std::chrono::steady_clock::now();
        } else if (std::chrono::steady_clock::now() - since > std::chrono::seconds(90)) {
            DyingReport("the next action did not finish within 90 s; where it is:");
            pthread_kill(main_, SIGUSR2);  // prints the stack of the stuck action
            std::this_thread::sleep_for(std::chrono::seconds(3));
            std::_Exit(71);
        }
    }
}

bool EventWatch::eventFilter(QObject* watched, QEvent* event) {
    constexpr long kMany = 1000, kSample = 200;
    if (event->type() == QEvent::Timer) return true;
    if (!runaway.empty()) return true;
    if (++count_ < kMany) return false;
    if (!endless_) {
        if (count_ % 100 == 0 && std::chrono::steady_clock::now() - began_ > std::chrono::seconds(30)) {
            endless_ = true;
            count_ = 0;
        }
        return false;
    }
    std::string who = watched->metaObject()->className();
    for (QObject* o = watched; o; o = o->parent())
        if (!o->objectName().isEmpty() && !o->objectName().startsWith("qt_")) {
            who += " in " + o->objectName().toStdString();
            if (auto* w = qobject_cast<QWidget*>(o)) who += " of " + w->window()->objectName().toStdString();
            break;
        }
    ++seen_[who];
    if (count_ >= kSample) {
        runaway = std::max_element(seen_.begin(), seen_.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
        return true;
    }
    return false;
}

void AsEvent(const std::function<void()>& action) {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    struct Courier : QObject {
        const std::function<void()>* action = nullptr;
        bool event(QEvent* e) override {
            if (e->type() != type) return QObject::event(e);
            (*action)();
            return true;
        }
    } courier;
    courier.action = &action;
    QEvent e(type);
    QApplication::sendEvent(&courier, &e);
}

}  // namespace vmtest
