// The colour and font dialogs behind one interface, so tests can answer them.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vm {

struct FontChoice {
    std::string name;
    double size = 0;
    bool bold = false, italic = false, underline = false, strikeout = false;
};

class IPickers {
public:
    virtual ~IPickers() = default;
    // The chosen colour number (red + 256*green + 65536*blue), or nullopt on Cancel.
    virtual std::optional<long> pickColor(long initial, const std::string& title) = 0;
    // The chosen font, or nullopt on Cancel.
    virtual std::optional<FontChoice> pickFont(const FontChoice& initial, const std::string& title) = 0;
};

IPickers& Pickers();

// The colour dialog as every colour box uses it: OK replaces `colour`, Cancel
// leaves it and sets `cancelled`; any other failure shows "number -
// description" titled "Change_Color_Error" with OK only, and goes on.
void PickColor(long& colour, bool& cancelled, const std::string& title = "Select Color");
void SetPickers(IPickers* impl);  // nullptr restores the built-in fake

// Answers from a script; records what was asked. Empty script = Cancel.
class FakePickers : public IPickers {
public:
    std::optional<long> pickColor(long initial, const std::string& title) override;
    std::optional<FontChoice> pickFont(const FontChoice& initial, const std::string& title) override;
    std::optional<long> nextColor;
    std::optional<FontChoice> nextFont;
    std::vector<long> colorAsked;
    std::vector<FontChoice> fontAsked;
    std::function<void()> whileAsked;  // runs while a dialog is "open", to look at the windows then
};

}  // namespace vm
