#include "fileio/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

namespace orvano {

namespace {

int OpenNonBlocking(const std::string& path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// errno for something that is not a regular file.
int NotRegularError(mode_t mode) {
    return S_ISDIR(mode) ? EISDIR : EINVAL;
}

std::string HexName(const std::string& prefix) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(random()));
    return prefix + digits;
}

bool IsOwnTemporaryName(const char* name, const std::string& prefix) {
    if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0) return false;
    const char* rest = name + prefix.size();
    if (std::strlen(rest) != 16) return false;
    for (; *rest != '\0'; ++rest) {
        const char c = *rest;
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

// mkstemp's six letters and digits; a plain lowercase word ("backup") is
// more likely the user's own file than a random name.
bool IsMkstempName(const char* name, const std::string& prefix) {
    if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0) return false;
    const char* rest = name + prefix.size();
    if (std::strlen(rest) != 6) return false;
    bool random = false;
    for (; *rest != '\0'; ++rest) {
        const char c = *rest;
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
        if (!std::islower(static_cast<unsigned char>(c))) random = true;
    }
    return random;
}

int RemoveStale(const std::string& folder, const std::string& tempPrefix, long minAgeSeconds,
                bool (*matches)(const char*, const std::string&)) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return 0;
    const int dirFd = ::dirfd(dir);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!matches(entry->d_name, tempPrefix)) continue;
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
        if (now - info.st_mtime < minAgeSeconds) continue;
        if (::unlinkat(dirFd, entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

}  // namespace

bool InputFile::missing() const {
    return status == Status::OpenFailed && (error == ENOENT || error == ENOTDIR);
}

std::string InputFile::Reason() const {
    switch (status) {
        case Status::Ok:
            return {};
        case Status::NotRegular:
            return "not a regular file";
        case Status::TooLarge:
            return "larger than " + std::to_string(kMaxInputFileBytes >> 20) + " MB";
        case Status::OpenFailed:
        case Status::ReadFailed:
            break;
    }
    return std::strerror(error);
}

InputFile ReadInputFile(const std::string& path, std::size_t maxBytes, Links links) {
    InputFile file;
    const int fd = OpenNonBlocking(path, O_RDONLY | (links == Links::Refuse ? O_NOFOLLOW : 0));
    if (fd < 0) {
        file.error = errno;
        return file;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        file.status = InputFile::Status::NotRegular;
        file.error = NotRegularError(info.st_mode);
        ::close(fd);
        return file;
    }
    const auto size = static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0);
    file.bytes.reserve(std::min(size, maxBytes) + 1);
    char buffer[65536];
    file.status = InputFile::Status::Ok;
    while (file.bytes.size() <= maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes + 1 - file.bytes.size());
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            file.status = InputFile::Status::ReadFailed;
            file.error = errno;
            break;
        }
        if (n == 0) break;
        file.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    if (file.ok() && file.bytes.size() > maxBytes) file.status = InputFile::Status::TooLarge;
    ::close(fd);
    return file;
}

int OpenRegularFileForAppend(const std::string& path) {
    const int fd = OpenNonBlocking(path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW, 0644);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = NotRegularError(info.st_mode);
        return -1;
    }
    return fd;
}

ReplacingFile::~ReplacingFile() {
    Abandon();
}

bool ReplacingFile::Abandon() {
    const int saved = errno;
    if (!tempPath_.empty()) ::unlinkat(dirFd_, tempPath_.c_str(), 0);
    tempPath_.clear();
    if (fd_ >= 0) ::close(fd_);
    if (dirFd_ >= 0) ::close(dirFd_);
    fd_ = dirFd_ = -1;
    errno = saved;
    return false;
}

bool ReplacingFile::Create(const std::string& target, const std::string& tempPrefix, bool durable) {
    Abandon();
    SplitPath(target, folder_, target_);
    tempPrefix_ = tempPrefix.empty() ? "." + target_ + "." : tempPrefix;
    durable_ = durable;
    writeError_ = 0;
    dirFd_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd_ < 0) return false;
    fd_ = ::openat(dirFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
        unnamed_ = true;
        return true;
    }
    // File systems without unnamed files: a fresh name, made exclusively and
    // never through a link.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return Abandon();
    unnamed_ = false;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = HexName(tempPrefix_);
        fd_ = ::openat(dirFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       0666);
        if (fd_ >= 0) {
            tempPath_ = name;
            return true;
        }
        if (errno != EEXIST) break;
    }
    return Abandon();
}

void ReplacingFile::Write(std::string_view bytes) {
    if (fd_ < 0 || writeError_ != 0) return;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            writeError_ = n < 0 ? errno : EIO;
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool ReplacingFile::Commit(unsigned mode) {
    return Finish(mode, true);
}

bool ReplacingFile::CommitNew(unsigned mode) {
    return Finish(mode, false);
}

bool ReplacingFile::Finish(unsigned mode, bool replace) {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    if (writeError_ != 0) {
        errno = writeError_;
        return Abandon();
    }
    if (durable_ && ::fsync(fd_) != 0) return Abandon();
    if (mode != kUmaskMode && ::fchmod(fd_, static_cast<mode_t>(mode)) != 0) return Abandon();
    if (unnamed_) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < 16 && tempPath_.empty(); ++attempt) {
            const std::string name = HexName(tempPrefix_);
            // The link through /proc needs no privilege; AT_EMPTY_PATH does.
            if (::linkat(AT_FDCWD, self.c_str(), dirFd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                ::linkat(fd_, "", dirFd_, name.c_str(), AT_EMPTY_PATH) == 0) {
                tempPath_ = name;
            } else if (errno != EEXIST) {
                return Abandon();
            }
        }
        if (tempPath_.empty()) return Abandon();
    }
    if (replace) {
        if (::renameat(dirFd_, tempPath_.c_str(), dirFd_, target_.c_str()) != 0) return Abandon();
        tempPath_.clear();
    } else {
        // A link fails where a rename would replace; the temporary name goes after.
        if (::linkat(dirFd_, tempPath_.c_str(), dirFd_, target_.c_str(), 0) != 0) return Abandon();
        ::unlinkat(dirFd_, tempPath_.c_str(), 0);
        tempPath_.clear();
    }
    if (durable_) ::fsync(dirFd_);
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    Abandon();
    return closed;
}

int RemoveStaleTemporaries(const std::string& folder, const std::string& tempPrefix,
                           long minAgeSeconds) {
    return RemoveStale(folder, tempPrefix, minAgeSeconds, IsOwnTemporaryName);
}

int RemoveStaleMkstempFiles(const std::string& folder, const std::string& tempPrefix,
                            long minAgeSeconds) {
    return RemoveStale(folder, tempPrefix, minAgeSeconds, IsMkstempName);
}

}  // namespace orvano
