#include "platform/pickers.h"

#include "platform/messages.h"
#include "platform/steps.h"

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

void PickColor(long& colour, bool& cancelled, const std::string& title) {
    cancelled = false;
    try {
        if (const auto chosen = Pickers().pickColor(colour, title)) colour = *chosen;
        else cancelled = true;
    } catch (...) {
        const auto [number, description] = DescribeError(std::current_exception());
        Messages().message(std::to_string(number) + " - " + description, MsgButtons::Ok, MsgIcon::None,
                           "Change_Color_Error");
    }
}

std::optional<long> FakePickers::pickColor(long initial, const std::string&) {
    colorAsked.push_back(initial);
    if (whileAsked) whileAsked();
    auto r = nextColor;
    nextColor.reset();
    return r;
}

std::optional<FontChoice> FakePickers::pickFont(const FontChoice& initial, const std::string&) {
    fontAsked.push_back(initial);
    if (whileAsked) whileAsked();
    auto r = nextFont;
    nextFont.reset();
    return r;
}

}  // namespace vm
