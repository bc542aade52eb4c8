#include "today/diagnostic_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <utility>

#include "config/text_encoding.h"
#include "platform/today_process.h"

namespace orvano {

namespace {

constexpr int kMaxIndentation = 99;

// The log's own file work must not change the error that the caller is about to log.
class KeepErrno {
  public:
    KeepErrno() : saved_(errno) {}
    ~KeepErrno() { errno = saved_; }

  private:
    int saved_;
};

// Wide text becomes the file's byte text (UTF-8 here).
std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text != L'\0'; ++text) {
        // wchar_t is signed here: a negative one is no code point either.
        const wchar_t c = *text;
        const bool codePoint = c >= 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        AppendUtf8(out, codePoint ? static_cast<char32_t>(c) : U'?');
    }
    return out;
}

// printf into a fixed buffer; nothing when the text does not fit.
std::optional<std::string> FormatFixed(std::size_t capacity, const char* format,
                                       std::va_list args) {
    std::vector<char> buffer(capacity);
    const int n = std::vsnprintf(buffer.data(), capacity, format, args);
    if (n < 0 || static_cast<std::size_t>(n) >= capacity) return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

std::optional<std::string> FormatFixedArgs(std::size_t capacity, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
std::optional<std::string> FormatFixedArgs(std::size_t capacity, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    auto text = FormatFixed(capacity, format, args);
    va_end(args);
    return text;
}

}  // namespace

std::string LogFileName(const std::string& hostExecutablePath) {
    const auto slash = hostExecutablePath.find_last_of('/');
    std::string base =
        slash == std::string::npos ? hostExecutablePath : hostExecutablePath.substr(slash + 1);
    const auto dot = base.find_last_of('.');
    if (dot != std::string::npos) base.erase(dot);
    return base + "_log.txt";
}

std::optional<std::string> SystemErrorText(int code) {
    char buffer[256] = {};
    // The GNU form returns the text, which may not be in the buffer.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    if (text == nullptr || text[0] == '\0') return std::nullopt;
    if (std::strncmp(text, "Unknown error", 13) == 0) return std::nullopt;
    return std::string(text);
}

int& LogIndentation() {
    thread_local int level = 0;
    return level;
}

DiagnosticLog::DiagnosticLog(LogEnvironment environment) : env_(std::move(environment)) {}

DiagnosticLog::~DiagnosticLog() {
    Shutdown();
}

std::string DiagnosticLog::Path() const {
    return env_.folder + "/" + LogFileName(env_.hostExecutablePath);
}

void DiagnosticLog::EnsureOpen() {
    if (isOpen_.load()) return;
    KeepErrno keep;
    LogIndentation() = 0;
    const std::string path = Path();
    std::lock_guard<std::mutex> guard(lock_);
    if (isOpen_.load()) return;
    // Each run of the host starts a fresh file, made exclusively: a link
    // planted in the state folder is never written through.
    std::remove(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return;
    file_ = ::fdopen(fd, "ab");
    if (file_ == nullptr) {
        ::close(fd);
        return;
    }
    std::fseek(file_, 0, SEEK_END);
    isOpen_.store(true);
    WriteLineLocked(std::string(45, '='));
    const LocalTime t = env_.now();
    auto banner = FormatFixedArgs(
        kLineCapacity,
        "Log is started on %02u.%02u.%04u, at %02u:%02u:%02u:%03u, executable: %s (ProcID: "
        "0x%08x), compile time : %s %s",
        static_cast<unsigned>(t.day), static_cast<unsigned>(t.month), static_cast<unsigned>(t.year),
        static_cast<unsigned>(t.hour), static_cast<unsigned>(t.minute),
        static_cast<unsigned>(t.second), static_cast<unsigned>(t.milliseconds),
        env_.hostExecutablePath.substr(0, 260).c_str(), static_cast<unsigned>(env_.processId),
        env_.buildDate.c_str(), env_.buildTime.c_str());
    if (banner) WriteLineLocked(*banner);
}

void DiagnosticLog::WriteLineLocked(const std::string& message) {
    if (file_ == nullptr) return;
    const LocalTime t = env_.now();
    const long long counter = env_.counter();
    auto stamp =
        FormatFixedArgs(kLineCapacity, "%02u:%02u:%02u(%lld)", static_cast<unsigned>(t.hour),
                        static_cast<unsigned>(t.minute), static_cast<unsigned>(t.second), counter);
    if (!stamp) return;
    int level = LogIndentation();
    if (level < 0) level = 0;
    if (level > kMaxIndentation) level = kMaxIndentation;
    const std::string indentation(static_cast<std::size_t>(level), ' ');
    auto line = FormatFixedArgs(kLineCapacity, "%s,thr 0x%08X : %s%s\r\n", stamp->c_str(),
                                static_cast<unsigned>(env_.threadId()), indentation.c_str(),
                                message.c_str());
    if (!line) return;  // dropped whole, never cut
    std::fseek(file_, 0, SEEK_END);
    std::fwrite(line->data(), 1, line->size(), file_);
    std::fflush(file_);
}

void DiagnosticLog::WriteLine(const std::string& message) {
    KeepErrno keep;
    std::lock_guard<std::mutex> guard(lock_);
    if (!isOpen_.load()) return;
    WriteLineLocked(message);
}

void DiagnosticLog::WriteFormatted(const char* format, std::va_list args) {
    if (!isOpen_.load()) return;
    auto message = FormatFixed(kLineCapacity, format, args);
    if (message) WriteLine(*message);
}

void DiagnosticLog::Write(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    WriteFormatted(format, args);
    va_end(args);
}

void DiagnosticLog::WriteWide(const wchar_t* format, ...) {
    if (!isOpen_.load()) return;
    std::vector<wchar_t> buffer(kLineCapacity);
    std::va_list args;
    va_start(args, format);
    const int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (n < 0) return;  // did not fit
    const std::string message = Narrow(buffer.data());
    if (message.size() >= kLineCapacity) return;
    WriteLine(message);
}

void DiagnosticLog::WriteLastError() {
    const int code = env_.lastError();
    auto text = env_.errorText(code);
    if (text) {
        for (char& c : *text) {
            if (c == '\n' || c == '\r') c = ' ';
        }
        Write("GetLastError returned : 0x%08x: %s)", static_cast<unsigned>(code), text->c_str());
    } else {
        Write("GetLastError returned : %d (no further information)", code);
    }
}

int DiagnosticLog::CreateCounter() {
    std::lock_guard<std::mutex> guard(lock_);
    if (static_cast<int>(counters_.size()) >= kMaxCounters) return -1;
    counters_.emplace_back();
    return static_cast<int>(counters_.size()) - 1;
}

void DiagnosticLog::RecordCounter(int counter, std::int64_t milliseconds) {
    std::lock_guard<std::mutex> guard(lock_);
    if (counter < 0 || counter >= static_cast<int>(counters_.size())) return;
    TimingCounter& c = counters_[static_cast<std::size_t>(counter)];
    if (c.count == 0 || milliseconds < c.minTime) c.minTime = milliseconds;
    if (c.count == 0 || milliseconds > c.maxTime) c.maxTime = milliseconds;
    c.totalTime += milliseconds;
    ++c.count;
}

void DiagnosticLog::Shutdown() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!isOpen_.load()) return;
    for (int i = static_cast<int>(counters_.size()) - 1; i >= 0; --i) {
        const TimingCounter& c = counters_[static_cast<std::size_t>(i)];
        const long long average = c.count != 0 ? c.totalTime / c.count : 0;
        auto text = FormatFixedArgs(kLineCapacity,
                                    "Counter %d statistics\r\n\tCounts: %d,\r\n\tMinTime: %lld "
                                    "ms,\r\n\tMaxTime: %lld ms,\r\n\tTotalTime: %lld "
                                    "ms,\r\n\tAverageTime: %lld ms",
                                    i, c.count, static_cast<long long>(c.minTime),
                                    static_cast<long long>(c.maxTime),
                                    static_cast<long long>(c.totalTime), average);
        if (text) WriteLineLocked(*text);
    }
    counters_.clear();
    WriteLineLocked("Log finished");
    std::fclose(file_);
    file_ = nullptr;
    isOpen_.store(false);
}

DiagnosticLog& GetLog() {
    // Made on first use, which looks up folders and paths: the caller's error,
    // about to be logged, must survive that.
    KeepErrno keep;
    // The static is destroyed when the library is unloaded, which writes "Log finished".
    static DiagnosticLog log([] {
        LogEnvironment env;
        env.folder = UserStateFolder();
        env.hostExecutablePath = ProcessExecutablePath();
        env.processId = ProcessIdentifier();
        env.buildDate = __DATE__;
        env.buildTime = __TIME__;
        env.now = SystemLocalTime;
        env.counter = MonotonicCounter;
        env.counterFrequency = MonotonicFrequency();
        env.threadId = ThreadIdentifier;
        env.lastError = LastErrorCode;
        env.errorText = SystemErrorText;
        return env;
    }());
    log.EnsureOpen();
    return log;
}

}  // namespace orvano
