// The advisory lock that every writer of a file a user keeps (data.cfg,
// settings.ini) holds from its read to its write, so that two programs saving
// at once never lose one's change: flock on "<file>.lock" in the file's folder.
#pragma once

#include <string>

namespace orvano {

// How long a writer waits for another program's change before it gives up.
inline constexpr int kLockWaitMilliseconds = 5000;

class FileLock {
  public:
    FileLock() = default;
    ~FileLock();  // releases
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock of `file` (the file itself, not its lock file), waiting at
    // most `waitMilliseconds`. A link the user made to keep the file elsewhere
    // is followed, so that every name of one file shares one lock. The lock
    // file is never opened through a link. False with errno set: EWOULDBLOCK
    // when another program held the lock all the while.
    bool Acquire(const std::string& file, int waitMilliseconds = kLockWaitMilliseconds);
    void Release();
    bool held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// For the user, when another program held the lock all the while:
// "Another program is changing data.cfg (PATH); ...".
std::string LockBusyText(const std::string& file);

}  // namespace orvano
