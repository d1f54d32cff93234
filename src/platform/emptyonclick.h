// A text box that empties itself when it is clicked (the boxes that show
// their own name until the user types). Reached by the keyboard while it
// still shows that name, the name is selected, so typing replaces it.
#pragma once
class QLineEdit;

namespace vm {

// The box's text now is its name.
void EmptyOnClick(QLineEdit* box);

}  // namespace vm
