#include "platform/user_files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "fileio/file_lock.h"
#include "fileio/safe_file.h"

namespace orvano {

namespace {

namespace fs = std::filesystem;

// The first start's temporary copy, beside data.cfg.
constexpr const char* kCopyPrefix = ".data.cfg.";

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

// The copy takes the final name only while nothing has it, so a file another
// process made meanwhile is never replaced. Returns 0 or the errno of the
// failure; EEXIST counts as done.
int CopyWithoutReplacing(const std::string& bytes, const fs::path& target) {
    ReplacingFile file;
    if (!file.Create(target.string(), kCopyPrefix, true)) return errno;
    file.Write(bytes);
    // The permissions the umask allows, as for any file the user makes.
    if (!file.CommitNew() && errno != EEXIST) return errno;
    return 0;
}

// Copies that earlier first starts, killed at the wrong instant, left behind.
void RemoveStaleCopies(const fs::path& folder) {
    RemoveStaleTemporaries(folder.string(), kCopyPrefix, kStaleTemporarySeconds);
    RemoveStaleMkstempFiles(folder.string(), kCopyPrefix, kStaleTemporarySeconds);
}

}  // namespace

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    // Never a shared folder such as /tmp, where another user could have planted the files.
    std::string folder = kNoHomeFolder;
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
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

std::vector<std::string> MethodFoldersOf(const std::string& installedFolder) {
    return {installedFolder + "/methods", UserConfigFolder() + "/methods"};
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
    if (::lstat(result.path.c_str(), &info) == 0) {
        RemoveStaleCopies(folder);
        return result;
    }

    const InputFile installed = ReadInputFile(installedDefault);
    if (!installed.ok()) {
        // Nothing to copy: the reader reports the missing file by its own path.
        return result;
    }
    std::error_code made;
    fs::create_directories(folder, made);
    int error = made.value();
    FileLock lock;
    if (error == 0 && !lock.Acquire(result.path)) error = errno;
    // Another program made the copy while this one waited.
    if (::lstat(result.path.c_str(), &info) == 0) return result;
    if (error == 0) error = CopyWithoutReplacing(installed.bytes, target);
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
