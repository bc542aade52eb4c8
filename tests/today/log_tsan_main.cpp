// Built with -fsanitize=thread: several threads open and write the log at
// once, through the process's own log and through a private one. Any data
// race makes the sanitizer fail the run; the lines are then counted.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "today/diagnostic_log.h"
#include "today_test_util.h"

int main() {
    using namespace orvano;
    TempDir dir;
    setenv("XDG_STATE_HOME", dir.path().c_str(), 1);
    constexpr int kThreads = 4, kLines = 200;
    std::string path;
    {
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([t] {
                for (int i = 0; i < kLines; ++i) {
                    GetLog().Write("worker %d line %d", t, i);
                    if (i % 50 == 0) GetLog().WriteWide(L"wide %d", i);
                }
            });
        }
        for (auto& thread : threads) thread.join();
        path = GetLog().Path();
        GetLog().Shutdown();  // what unloading the library does
    }
    const std::string text = ReadFile(path);
    const int written = CountOf(text, " : worker ");
    const int finished = CountOf(text, "Log finished\r\n");
    const bool ok =
        written == kThreads * kLines && finished == 1 && CountOf(text, " : wide ") == kThreads * 4;
    std::printf("log lines %d of %d, finished %d\n", written, kThreads * kLines, finished);
    std::printf("%d passed, %d failed\n", ok ? 1 : 0, ok ? 0 : 1);
    return ok ? 0 : 1;
}
