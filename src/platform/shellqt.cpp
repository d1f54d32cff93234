#include "platform/shellqt.h"

#include <QDesktopServices>
#include <QUrl>

namespace vm {

bool QtDesktopOpener::open(const std::string& url) {
    const QUrl u(QString::fromStdString(url), QUrl::StrictMode);
    return u.isValid() && QDesktopServices::openUrl(u);
}

}  // namespace vm
