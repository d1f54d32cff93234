// The desktop opener on Qt: the desktop's opener program (xdg-open) given
// the URL, left to run. Its failure (no browser, a viewer that cannot start)
// is reported when it ends, which may be long after: in its generic mode it
// runs the viewer itself and ends only when the viewer closes.
#pragma once
#include "platform/shell.h"

namespace vm {

class QtDesktopOpener : public IDesktopOpener {
public:
    bool open(const std::string& url, std::function<void()> failedLater = {}) override;
};

}  // namespace vm
