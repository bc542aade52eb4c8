// Paths that are not the small regular file a reader expects: a FIFO (an open
// that would wait for a writer forever), a device that never ends, a folder,
// and a sparse file just over the 64 MB input limit (no disk space used).
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fileio/safe_file.h"

namespace orvano::testing {

enum class Hostile { Fifo, Device, Folder, Oversized };

struct HostileCase {
    Hostile kind;
    const char* name;
};

inline const std::vector<HostileCase> kHostileFiles = {{Hostile::Fifo, "FIFO"},
                                                       {Hostile::Device, "/dev/zero"},
                                                       {Hostile::Folder, "folder"},
                                                       {Hostile::Oversized, "over 64 MB"}};

// Replaces whatever is at `path` by the hostile shape. Returns false when it could not.
inline bool PlantHostile(Hostile kind, const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    switch (kind) {
        case Hostile::Fifo:
            return ::mkfifo(path.c_str(), 0600) == 0;
        case Hostile::Device:
            return ::symlink("/dev/zero", path.c_str()) == 0;
        case Hostile::Folder:
            return ::mkdir(path.c_str(), 0700) == 0;
        case Hostile::Oversized: {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd < 0) return false;
            const bool sized = ::ftruncate(fd, static_cast<off_t>(kMaxInputFileBytes) + 1) == 0 &&
                               ::pwrite(fd, "1 1 0 0\n", 8, 0) == 8;
            return ::close(fd) == 0 && sized;
        }
    }
    return false;
}

}  // namespace orvano::testing
