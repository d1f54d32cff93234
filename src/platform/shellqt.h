// The desktop opener on Qt: the desktop's default handler for the URL. A web
// address goes through the desktop's opener program, whose failure (no
// browser) is a failure here too.
#pragma once
#include "platform/shell.h"

namespace vm {

class QtDesktopOpener : public IDesktopOpener {
public:
    bool open(const std::string& url) override;
};

}  // namespace vm
