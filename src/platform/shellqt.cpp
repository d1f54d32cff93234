#include "platform/shellqt.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace vm {
namespace {

// False only when the desktop's own registry says plainly that no program
// opens this kind of file. The desktop opener starts its helper and returns
// at once, so a missing program would otherwise pass unnoticed.
bool SomeProgramOpens(const QString& localFile) {
    const QString xdgMime = QStandardPaths::findExecutable("xdg-mime");
    if (xdgMime.isEmpty()) return true;  // no registry to ask: let the desktop try
    const QString type = QMimeDatabase().mimeTypeForFile(localFile).name();
    QProcess query;
    query.start(xdgMime, {"query", "default", type});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit) {
        query.kill();
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

bool QtDesktopOpener::open(const std::string& url) {
    const QUrl u(QString::fromStdString(url), QUrl::StrictMode);
    if (!u.isValid()) return false;
    if (u.isLocalFile() && !SomeProgramOpens(u.toLocalFile())) return false;
    return QDesktopServices::openUrl(u);
}

}  // namespace vm
