// One running copy per folder: a lock file in the folder, which a running
// program holds an advisory lock of the system on (flock). The system lets go
// of it when the program ends in any way (killed, or the machine went down),
// so whatever a lock file holds, an empty or garbled one after a power cut
// included, it stands for a running copy only while one holds it.
#pragma once
#include <string>

namespace vm {

class FolderLock {
public:
    // Tries to take the lock of `folder` (made when missing).
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Another running program holds it. False when this one holds it and
    // when no lock can be kept there at all (a folder that may not be
    // written, something else in the lock file's place).
    bool heldElsewhere() const { return heldElsewhere_; }
    // Why no lock can be kept, naming the lock file; "" when one is kept.
    const std::string& problem() const { return problem_; }
    // The lock file, to name when it is held.
    const std::string& path() const { return path_; }

private:
    std::string path_, problem_;
    int fd_ = -1;
    bool heldElsewhere_ = false;
};

}  // namespace vm
