#include "platform/today_process.h"

#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/system_services.h"

namespace orvano {

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

LocalTime SystemLocalTime() {
    return SystemClock().Now();
}

std::int64_t MonotonicCounter() {
    return SystemClock().Counter();
}

std::int64_t MonotonicFrequency() {
    return SystemClock().CounterFrequency();
}

int LastErrorCode() {
    return errno;
}

}  // namespace orvano
