#include "platform/shellqt.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace vm {
namespace {

constexpr int kAnswerMs = 2000;  // how long the opener program may take to say it failed

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

// An address handed to the desktop's opener program, which says by its exit
// status whether a program took it: without a browser it fails at once. One
// still running after a moment has started the browser in its own place and
// is left to run.
bool OpenAddress(const QUrl& url) {
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty()) return QDesktopServices::openUrl(url);
    auto* run = new QProcess;
    run->setProgram(opener);
    run->setArguments({url.toString(QUrl::FullyEncoded)});
    run->setStandardOutputFile(QProcess::nullDevice());
    run->setStandardErrorFile(QProcess::nullDevice());
    run->start();
    if (!run->waitForStarted(3000)) {
        delete run;
        return false;
    }
    if (run->waitForFinished(kAnswerMs)) {
        const bool opened = run->exitStatus() == QProcess::NormalExit && run->exitCode() == 0;
        delete run;
        return opened;
    }
    QObject::connect(run, &QProcess::finished, run, &QObject::deleteLater);
    return true;
}

}  // namespace

bool QtDesktopOpener::open(const std::string& url) {
    const QUrl u(QString::fromStdString(url), QUrl::StrictMode);
    if (!u.isValid()) return false;
    if (!u.isLocalFile()) return OpenAddress(u);
    if (!SomeProgramOpens(u.toLocalFile())) return false;
    return QDesktopServices::openUrl(u);
}

}  // namespace vm
