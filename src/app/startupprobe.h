// For the start-up benchmark: with VELMORA_EXIT_WHEN_SHOWN set to the moment
// the program was started (nanoseconds since the epoch, as `date +%s%N`
// prints it), the program prints, once its main window is shown, the time
// since then and its memory, and closes the window as the user would.
#pragma once
#include <functional>

namespace vm {

// Does nothing without the variable. `close` shuts the window down.
void ArmStartupProbe(std::function<void()> close);

}  // namespace vm
