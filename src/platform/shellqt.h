// The desktop opener on Qt: the desktop's default handler for the URL.
#pragma once
#include "platform/shell.h"

namespace vm {

class QtDesktopOpener : public IDesktopOpener {
public:
    bool open(const std::string& url) override;
};

}  // namespace vm
