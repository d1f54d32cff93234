// A text box that empties itself when it is clicked (the boxes that show
// their own name until the user types).
#pragma once
class QLineEdit;

namespace vm {

void EmptyOnClick(QLineEdit* box);

}  // namespace vm
