#include "platform/user_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "fileio/safe_file.h"

namespace orvano {

namespace {

namespace fs = std::filesystem;

// A relative value is ignored, as the base directory rules say.
fs::path BaseFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return fs::path(value) / "orvano";
    return fs::path(HomeFolder()) / underHome / "orvano";
}

std::string Created(const fs::path& folder) {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    return folder.string();
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The process's umask without changing it, as other threads may be making
// files meanwhile; umask() itself can only be read by setting it.
mode_t CurrentUmask() {
    const InputFile status = ReadInputFile("/proc/self/status");
    const std::string key = "\nUmask:";
    const auto at = status.bytes.find(key);
    if (at != std::string::npos)
        return static_cast<mode_t>(
            std::strtoul(status.bytes.c_str() + at + key.size(), nullptr, 8));
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Writes a temporary file beside `target` and links it to the final name, which
// fails rather than replaces when another process made the file meanwhile.
// Returns 0 or the errno of the failure; EEXIST counts as done.
int CopyWithoutReplacing(const std::string& bytes, const fs::path& target) {
    std::string temporary = (target.parent_path() / ".data.cfg.XXXXXX").string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return errno;
    int error = 0;
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) error = errno != 0 ? errno : EIO;
    if (::fchmod(fd, 0666 & ~CurrentUmask()) != 0 && error == 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::link(temporary.c_str(), target.c_str()) != 0 && errno != EEXIST) {
        error = errno;
    }
    ::unlink(temporary.c_str());
    return error;
}

}  // namespace

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    // Never a shared folder such as /tmp, where another user could have planted the files.
    std::string folder = kNoHomeFolder;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(static_cast<std::size_t>(size > 0 ? size : 16384), '\0');
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        folder = found->pw_dir;
    }
    return folder;
}

std::string UserConfigFolder() {
    return BaseFolder("XDG_CONFIG_HOME", ".config").string();
}

std::string UserStateFolder() {
    return Created(BaseFolder("XDG_STATE_HOME", ".local/state"));
}

std::string UserDataFolder() {
    return Created(BaseFolder("XDG_DATA_HOME", ".local/share"));
}

std::string InstalledFolderOfProgram(const std::string& programPath) {
    return (fs::path(programPath).parent_path().parent_path() / "share" / "orvano").string();
}

std::string InstalledFolderOfPlugin(const std::string& libraryPath) {
    const fs::path lib = fs::path(libraryPath).parent_path().parent_path();
    return (lib.parent_path() / "share" / "orvano").string();
}

std::string InstalledProgramOfPlugin(const std::string& libraryPath, const std::string& program) {
    const fs::path lib = fs::path(libraryPath).parent_path().parent_path();
    return (lib.parent_path() / "bin" / program).string();
}

UserDataCfg PrepareUserDataCfg(const std::string& installedDefault) {
    const fs::path folder = UserConfigFolder();
    const fs::path target = folder / "data.cfg";
    UserDataCfg result;
    result.path = target.string();
    struct stat info {};
    // Anything already there, even a dangling link or a file we cannot read, is the user's.
    if (::lstat(result.path.c_str(), &info) == 0) return result;

    const InputFile installed = ReadInputFile(installedDefault);
    if (!installed.ok()) {
        // Nothing to copy: the reader reports the missing file by its own path.
        return result;
    }
    std::error_code made;
    fs::create_directories(folder, made);
    const int error = made ? made.value() : CopyWithoutReplacing(installed.bytes, target);
    if (error != 0) {
        result.problem = "Cannot create " + result.path + ": " + ErrnoText(error) + "; using " +
                         installedDefault + " read-only";
        result.path = installedDefault;
        result.readOnly = true;
    }
    return result;
}

UserFiles PrepareUserFiles(const std::string& installedFolder, const std::string& configOverride) {
    UserFiles files;
    files.installedFolder = installedFolder;
    if (configOverride.empty()) {
        UserDataCfg cfg = PrepareUserDataCfg(installedFolder + "/data.cfg");
        files.dataCfg = std::move(cfg.path);
        files.readOnly = cfg.readOnly;
        files.problem = std::move(cfg.problem);
    } else {
        files.dataCfg = configOverride;
    }
    files.readEcho = UserStateFolder() + "/read_echo.cfg";
    files.calendarFolder = Created(fs::path(UserDataFolder()) / "calendars");
    return files;
}

UserFiles UserFilesIn(const std::string& folder) {
    UserFiles files;
    files.dataCfg = folder + "/data.cfg";
    files.readEcho = folder + "/read_echo.cfg";
    files.calendarFolder = folder;
    files.installedFolder = folder;
    return files;
}

}  // namespace orvano
