// What the Today plug-in asks of its own process: paths, identifiers, the
// local time without a window system, and the last error.
#pragma once

#include <cstdint>
#include <string>

#include "platform/geometry.h"
#include "platform/user_files.h"  // the user's folders

namespace orvano {

// Full path of the running executable (/proc/self/exe), "" if unknown.
std::string ProcessExecutablePath();
// Full path of the shared library that contains the given address.
std::string LibraryPathOf(const void* address);
std::uint32_t ProcessIdentifier();
std::uint32_t ThreadIdentifier();
// The local civil time from the system clock.
LocalTime SystemLocalTime();
std::int64_t MonotonicCounter();
std::int64_t MonotonicFrequency();
// The calling thread's last error code (errno).
int LastErrorCode();

}  // namespace orvano
