#include "platform/folderlock.h"

#include <QLockFile>
#include <QString>

#include "platform/places.h"

namespace vm {

FolderLock::FolderLock(const std::string& folder) {
    if (!MakeFolder(folder)) return;
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(JoinPath(folder, ".velmora.lock")));
    lock_->setStaleLockTime(0);  // only a lock whose program is gone is stale
    if (!lock_->tryLock(0)) heldElsewhere_ = lock_->error() == QLockFile::LockFailedError;
}

FolderLock::~FolderLock() = default;

}  // namespace vm
