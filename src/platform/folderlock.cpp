#include "platform/folderlock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/places.h"

namespace vm {

FolderLock::FolderLock(const std::string& folder) : path_(JoinPath(folder, ".velmora.lock")) {
    if (!MakeFolder(folder)) return;
    if (const std::string what = NotAFileAt(path_); !what.empty()) {
        problem_ = "\"" + path_ + "\" is " + what + ", not a file, so Velmora cannot make sure that no other copy "
                   "uses the data folder at the same time.";
        return;
    }
    // Never written through a link: one that leads elsewhere is only locked.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    const bool own = fd_ >= 0;
    // A lock file that may only be read (another user's, a folder that may
    // only be read) is locked all the same.
    if (!own) fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;  // no lock can be kept here (a folder that may only be read)
    int taken;
    do taken = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (taken != 0 && errno == EINTR);
    if (taken != 0) {
        heldElsewhere_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
        return;
    }
    if (!own) return;
    // Which program holds it, for whoever looks.
    const std::string pid = std::to_string(::getpid()) + "\n";
    const bool noted = ::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, pid.data(), pid.size(), 0) > 0;
    (void)noted;  // the lock holds without it
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // lets go of the lock; the file stays for the next run
}

}  // namespace vm
