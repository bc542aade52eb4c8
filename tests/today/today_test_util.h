// Small helpers shared by the Today strip's tests.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_folder.h"
#include "today/diagnostic_log.h"

namespace orvano {

using TempDir = testing::TempFolder;
using testing::ReadFile;
using testing::WriteFile;

// A log whose clock, counter, thread and error are fixed: every line starts
// "05:06:07(123456789),thr 0x0000AB12 : ", and its file is named after `host`.
inline LogEnvironment FixedEnvironment(const std::string& folder, int error = ENOENT,
                                       const std::string& host = "/opt/today/host.exe") {
    LogEnvironment env;
    env.folder = folder;
    env.hostExecutablePath = host;
    env.processId = 0x1f2e;
    env.buildDate = "Aug 21 2010";
    env.buildTime = "12:36:12";
    env.now = [] { return LocalTime{2026, 12, 1, 7, 5, 6, 7, 89}; };
    env.counter = [] { return std::int64_t{123456789}; };
    env.counterFrequency = 1000;
    env.threadId = [] { return std::uint32_t{0xab12}; };
    env.lastError = [error] { return error; };
    env.errorText = SystemErrorText;
    return env;
}
inline const std::string kLogPrefix = "05:06:07(123456789),thr 0x0000AB12 : ";

inline int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace orvano
