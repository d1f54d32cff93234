#include "platform/pickers.h"

namespace vm {
namespace {
IPickers* g_pickers = nullptr;
FakePickers& BuiltIn() {
    static FakePickers fake;
    return fake;
}
}  // namespace

IPickers& Pickers() { return g_pickers ? *g_pickers : BuiltIn(); }
void SetPickers(IPickers* impl) { g_pickers = impl; }

std::optional<long> FakePickers::pickColor(long initial, const std::string&) {
    colorAsked.push_back(initial);
    auto r = nextColor;
    nextColor.reset();
    return r;
}

std::optional<FontChoice> FakePickers::pickFont(const FontChoice& initial, const std::string&) {
    fontAsked.push_back(initial);
    auto r = nextFont;
    nextFont.reset();
    return r;
}

}  // namespace vm
