// The plug-in's diagnostic log: one text file per host process, line by line
// with a time stamp and the writing thread's identifier, safe from any thread.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace orvano {

// Everything the log asks of the machine, so tests can give their own.
struct LogEnvironment {
    std::string folder;              // where the file goes
    std::string hostExecutablePath;  // the host process's executable
    std::uint32_t processId = 0;
    std::string buildDate;  // "Aug 21 2010"
    std::string buildTime;  // "12:36:12"
    std::function<LocalTime()> now;
    std::function<std::int64_t()> counter;
    std::int64_t counterFrequency = 1;
    std::function<std::uint32_t()> threadId;
    std::function<int()> lastError;
    // The system's text for an error code, or nothing when it has none.
    std::function<std::optional<std::string>(int)> errorText;
};

// The file name made from the host executable: its base name without the
// extension, then "_log.txt".
std::string LogFileName(const std::string& hostExecutablePath);

// strerror's text, or nothing for a code the system has no text for.
std::optional<std::string> SystemErrorText(int code);

class DiagnosticLog {
  public:
    static constexpr std::size_t kLineCapacity = 1024;
    static constexpr int kMaxCounters = 30;

    explicit DiagnosticLog(LogEnvironment environment);
    ~DiagnosticLog();
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    // Opens the file when it is not open (first use, or an earlier failure).
    void EnsureOpen();
    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void WriteWide(const wchar_t* format, ...);
    void WriteLastError();
    // Statistics, "Log finished", close. Safe to call more than once.
    void Shutdown();

    bool IsOpen() const { return isOpen_.load(); }
    std::string Path() const;

    // Timing counters, written out at shutdown.
    int CreateCounter();
    void RecordCounter(int counter, std::int64_t milliseconds);

  private:
    struct TimingCounter {
        int count = 0;
        std::int64_t minTime = 0;
        std::int64_t maxTime = 0;
        std::int64_t totalTime = 0;
    };

    void WriteFormatted(const char* format, std::va_list args);
    void WriteLineLocked(const std::string& message);
    void WriteLine(const std::string& message);

    LogEnvironment env_;
    std::mutex lock_;
    std::FILE* file_ = nullptr;
    std::atomic<bool> isOpen_{false};
    std::vector<TimingCounter> counters_;
};

// The process's log for the plug-in, made on first use; the environment is
// the real machine's. Closed when the library is unloaded.
DiagnosticLog& GetLog();

// The calling thread's indentation level (spaces before each message).
int& LogIndentation();

}  // namespace orvano
