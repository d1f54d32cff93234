#include "platform/progress.h"

#include <algorithm>

namespace vm {
namespace {
IProgress* g_progress = nullptr;
int g_openScopes = 0;
FakeProgress& BuiltIn() {
    static FakeProgress fake;
    return fake;
}
}  // namespace

IProgress& Progress() { return g_progress ? *g_progress : BuiltIn(); }
void SetProgress(IProgress* impl) { g_progress = impl; }

ProgressScope::ProgressScope(const std::string& title, const std::string& label, bool canCancel) {
    Progress().begin(title, label, canCancel);
    ++g_openScopes;
}

ProgressScope::~ProgressScope() {
    --g_openScopes;
    Progress().end();
}

void ReportProgress(int64_t done, int64_t total) {
    if (g_openScopes > 0) Progress().step(done, total);
}

bool ProgressOpen() { return g_openScopes > 0; }

void FakeProgress::begin(const std::string& title, const std::string& label, bool canCancel) {
    tasks.push_back({title, label});
    tasks.back().canCancel = canCancel;
    cancelled = false;
}

bool FakeProgress::step(int64_t done, int64_t total) {
    ++stepsSeen;
    auto open = std::find_if(tasks.rbegin(), tasks.rend(), [](const Task& t) { return !t.ended; });
    if (open != tasks.rend()) {
        Task& t = *open;
        ++t.steps;
        t.lastDone = done;
        t.lastTotal = total;
    }
    // As the real dialog: Cancel is there while every task open may stop.
    const bool cancellable =
        std::all_of(tasks.begin(), tasks.end(), [](const Task& t) { return t.ended || t.canCancel; });
    if (cancellable && cancelAtStep > 0 && stepsSeen >= cancelAtStep) cancelled = true;
    return !cancelled;
}

void FakeProgress::end() {
    for (auto t = tasks.rbegin(); t != tasks.rend(); ++t)
        if (!t->ended) {
            t->ended = true;
            return;
        }
}

}  // namespace vm
