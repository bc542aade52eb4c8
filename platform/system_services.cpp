#include "platform/system_services.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace orvano {

LocalTime SystemClock::Now() const {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    LocalTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.dayOfWeek = local.tm_wday;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    // A leap second is shown as the last second of its minute.
    t.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    t.milliseconds = static_cast<int>(millis < 0 ? millis + 1000 : millis);
    return t;
}

std::int64_t SystemClock::Counter() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t SystemClock::CounterFrequency() const {
    return 1000000000;
}

void StdConsole::Print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void StdConsole::Debug(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stderr);
}

}  // namespace orvano
