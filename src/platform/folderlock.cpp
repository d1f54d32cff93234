#include "platform/folderlock.h"

#include <QLockFile>
#include <QString>
#include <QSysInfo>

#include <signal.h>

#include <cerrno>

#include "platform/places.h"

namespace vm {

FolderLock::FolderLock(const std::string& folder) : path_(JoinPath(folder, ".velmora.lock")) {
    if (!MakeFolder(folder)) return;
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(path_));
    lock_->setStaleLockTime(0);  // only a lock whose program is gone is stale
    if (lock_->tryLock(0) || lock_->error() != QLockFile::LockFailedError) return;
    // A lock that could not be taken over: held only while its program runs.
    qint64 pid = 0;
    QString host, program;
    heldElsewhere_ = true;
    if (lock_->getLockInfo(&pid, &host, &program) && host == QSysInfo::machineHostName() && pid > 0)
        heldElsewhere_ = ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

FolderLock::~FolderLock() = default;

}  // namespace vm
