// One running copy per folder: a lock file in the folder, held while the
// program runs and let go when it ends (also when it is killed: a lock left
// by a program no longer running is taken over).
#pragma once
#include <memory>
#include <string>

class QLockFile;

namespace vm {

class FolderLock {
public:
    // Tries to take the lock of `folder` (made when missing).
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Another running program holds it. False when this one holds it, when
    // no lock can be kept there at all (a folder that may not be written),
    // and when the program that left it on this machine is no longer running.
    bool heldElsewhere() const { return heldElsewhere_; }
    // The lock file, to name when it is held.
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::unique_ptr<QLockFile> lock_;
    bool heldElsewhere_ = false;
};

}  // namespace vm
