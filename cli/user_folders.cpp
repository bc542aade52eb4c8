// Where orvano-cli finds the user's files when no option names them.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/options.h"
#include "platform/user_files.h"

namespace orvano::cli {

std::string DefaultConfigPath() {
    std::error_code error;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    const UserDataCfg config = PrepareUserDataCfg(InstalledFolderOfProgram(program) + "/data.cfg");
    if (!config.problem.empty()) std::fprintf(stderr, "orvano-cli: %s\n", config.problem.c_str());
    return config.path;
}

std::vector<std::string> MethodFolders() {
    std::error_code error;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    return MethodFoldersOf(InstalledFolderOfProgram(program));
}

std::string ConfigOption(const Options& options) {
    return options.config ? *options.config : DefaultConfigPath();
}

std::string DefaultReadEchoPath() {
    return UserStateFolder() + "/read_echo.cfg";
}

std::string DefaultCalendarFolder() {
    std::string folder = UserDataFolder() + "/calendars";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

}  // namespace orvano::cli
