#include "fileio/kept_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "fileio/safe_file.h"

namespace orvano {

namespace {

// Respected even where the system would let the write through (as root): the
// user made the file read-only.
bool ReadOnlyFile(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if ((info.st_mode & 0222) == 0) {
        errno = EACCES;
        return true;
    }
    return ::access(target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS);
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string LinkedFileTarget(const std::string& path) {
    std::string current = path;
    // As many hops as the system itself follows before it gives up (ELOOP).
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1,
                           '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return current;
        target.resize(static_cast<std::size_t>(n));
        if (target.front() == '/') {
            current = target;
        } else {
            std::string joined = FolderOfPath(current);
            joined += '/';
            joined += target;
            current = std::move(joined);
        }
    }
    return current;
}

bool ReplaceKeptFile(const std::string& path, std::string_view bytes, const std::string& lead) {
    const std::string target = LinkedFileTarget(path);
    if (ReadOnlyFile(target)) return false;
    const std::string folder = FolderOfPath(target);
    const std::string tempPrefix = lead + target.substr(target.find_last_of('/') + 1) + ".";
    RemoveStaleTemporaries(folder, tempPrefix, kStaleTemporarySeconds);
    ReplacingFile file;
    if (!file.Create(target, tempPrefix, true)) return false;
    file.Write(bytes);
    // The user's own permissions on the file survive the replacement.
    unsigned mode = ReplacingFile::kUmaskMode;
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        mode = static_cast<unsigned>(info.st_mode & 07777);
    }
    return file.Commit(mode);
}

}  // namespace orvano
