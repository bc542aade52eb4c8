#include "fileio/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "fileio/kept_file.h"

namespace orvano {

namespace {

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FileLock::~FileLock() {
    Release();
}

void FileLock::Release() {
    if (fd_ >= 0) ::close(fd_);  // closing the last descriptor drops the lock
    fd_ = -1;
}

bool FileLock::Acquire(const std::string& file, int waitMilliseconds) {
    Release();
    const std::string target = LinkedFileTarget(file);
    // Nothing is made beside a device or a folder that a link leads to.
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    const std::string lockPath = FolderOfPath(target) + "/" + NameOf(target) + ".lock";
    // The lock file is the program's own: never through a link, never blocking.
    // Read access is enough for flock, so a user who may only read the lock
    // file of a shared folder still takes part.
    constexpr int kFlags = O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = ::open(lockPath.c_str(), O_RDWR | kFlags, 0644);
    if (fd < 0 && errno == EACCES) fd = ::open(lockPath.c_str(), O_RDONLY | kFlags, 0644);
    if (fd < 0) return false;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return false;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK || Clock::now() >= deadline) {
            ::close(fd);
            errno = error;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    fd_ = fd;
    return true;
}

std::string LockBusyText(const std::string& file) {
    return "Another program is changing " + NameOf(file) + " (" + file +
           "); nothing was written. Try again when it is done.";
}

}  // namespace orvano
