#include "platform/today_process.h"

#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace orvano {

namespace {

std::string UserFolder(const char* variable, const char* fallback) {
    std::filesystem::path base;
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        base = value;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : "/tmp") / fallback;
    }
    base /= "orvano";
    std::error_code ignored;
    std::filesystem::create_directories(base, ignored);
    return base.string();
}

}  // namespace

std::string ProcessExecutablePath() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string LibraryPathOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
    std::error_code error;
    auto path = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : path.string();
}

std::uint32_t ProcessIdentifier() {
    return static_cast<std::uint32_t>(getpid());
}

std::uint32_t ThreadIdentifier() {
    return static_cast<std::uint32_t>(syscall(SYS_gettid));
}

std::string UserStateFolder() {
    return UserFolder("XDG_STATE_HOME", ".local/state");
}

std::string UserDataFolder() {
    return UserFolder("XDG_DATA_HOME", ".local/share");
}

LocalTime SystemLocalTime() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&seconds, &tm);
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.dayOfWeek = tm.tm_wday;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.milliseconds =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return t;
}

std::int64_t MonotonicCounter() {
    return std::chrono::steady_clock::now().time_since_epoch().count();
}

std::int64_t MonotonicFrequency() {
    using period = std::chrono::steady_clock::period;
    return period::den / period::num;
}

int LastErrorCode() {
    return errno;
}

}  // namespace orvano
