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
// opens this kind of file: an answer at once, before anything is started.
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

// The url handed to the desktop's opener program, which says by its exit
// status whether a program took it. It may end at once (no program, or one
// that cannot start) or only when the viewer closes, so nothing here waits
// for it: a failure reaches failedLater when it ends. The process is left to
// run when the program ends first, since ending it would close the viewer.
bool RunOpener(const QUrl& url, std::function<void()> failedLater) {
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty()) return QDesktopServices::openUrl(url);
    auto* run = new QProcess;
    run->setProgram(opener);
    run->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    run->setStandardOutputFile(QProcess::nullDevice());
    run->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(run, &QProcess::finished, run,
                     [run, failedLater = std::move(failedLater)](int code, QProcess::ExitStatus status) {
                         run->deleteLater();
                         if ((status != QProcess::NormalExit || code != 0) && failedLater) failedLater();
                     });
    run->start();
    if (!run->waitForStarted(3000)) {
        delete run;
        return false;
    }
    return true;
}

}  // namespace

bool QtDesktopOpener::open(const std::string& url, std::function<void()> failedLater) {
    const QUrl u(QString::fromStdString(url), QUrl::StrictMode);
    if (!u.isValid()) return false;
    if (u.isLocalFile() && !SomeProgramOpens(u.toLocalFile())) return false;
    return RunOpener(u, std::move(failedLater));
}

}  // namespace vm
