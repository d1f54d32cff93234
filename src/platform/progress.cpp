#include "platform/progress.h"

namespace vm {
namespace {
IProgress* g_progress = nullptr;
FakeProgress& BuiltIn() {
    static FakeProgress fake;
    return fake;
}
}  // namespace

IProgress& Progress() { return g_progress ? *g_progress : BuiltIn(); }
void SetProgress(IProgress* impl) { g_progress = impl; }

void FakeProgress::begin(const std::string& title, const std::string& label) {
    tasks.push_back({title, label});
    cancelled = false;
}

bool FakeProgress::step(int64_t done, int64_t total) {
    ++stepsSeen;
    if (!tasks.empty()) {
        Task& t = tasks.back();
        ++t.steps;
        t.lastDone = done;
        t.lastTotal = total;
    }
    if (cancelAtStep > 0 && stepsSeen >= cancelAtStep) cancelled = true;
    return !cancelled;
}

void FakeProgress::end() {
    if (!tasks.empty()) tasks.back().ended = true;
}

}  // namespace vm
