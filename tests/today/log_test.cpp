// The diagnostic log: file name, exact lines, dropped lines, fresh file per run.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <thread>

#include "today/diagnostic_log.h"
#include "today_test_util.h"

namespace orvano {
namespace {

const std::string& kPrefix = kLogPrefix;

TEST(LogFileName, BaseNameWithoutExtension) {
    EXPECT_EQ(LogFileName("/any/folder/host.exe"), "host_log.txt");
    EXPECT_EQ(LogFileName("/usr/lib/orvano/orvano-today"), "orvano-today_log.txt");
    EXPECT_EQ(LogFileName("/a.b/c"), "c_log.txt");
    EXPECT_EQ(LogFileName("archive.tar.gz"), "archive.tar_log.txt");
}

TEST(DiagnosticLog, BannerMessagesAndClosingLineExactly) {
    TempDir dir;
    {
        DiagnosticLog log(FixedEnvironment(dir.path()));
        log.EnsureOpen();
        ASSERT_TRUE(log.IsOpen());
        EXPECT_EQ(log.Path(), dir.path() + "/host_log.txt");
        log.Write("Cannot open data.cfg file");
        log.WriteLastError();
    }  // the destructor is the unload
    const std::string p = kPrefix;
    EXPECT_EQ(ReadFile(dir.path() + "/host_log.txt"),
              p + std::string(45, '=') + "\r\n" + p +
                  "Log is started on 07.12.2026, at 05:06:07:089, executable: /opt/today/host.exe "
                  "(ProcID: 0x00001f2e), compile time : Aug 21 2010 12:36:12\r\n" +
                  p + "Cannot open data.cfg file\r\n" + p +
                  "GetLastError returned : 0x00000002: No such file or directory)\r\n" + p +
                  "Log finished\r\n");
}

using ErrorText = std::function<std::optional<std::string>(int)>;

// What one run writes: `write` between opening and shutting the log down.
std::string Logged(const std::function<void(DiagnosticLog&)>& write, int error = ENOENT,
                   ErrorText errorText = SystemErrorText) {
    TempDir dir;
    LogEnvironment env = FixedEnvironment(dir.path(), error);
    env.errorText = std::move(errorText);
    DiagnosticLog log(env);
    log.EnsureOpen();
    write(log);
    log.Shutdown();
    return ReadFile(log.Path());
}

bool HasLine(const std::string& text, const std::string& line) {
    return text.find(kPrefix + line + "\r\n") != std::string::npos;
}

const auto kLastError = [](DiagnosticLog& log) { log.WriteLastError(); };

TEST(DiagnosticLog, ErrorWithoutSystemTextIsWrittenInDecimal) {
    EXPECT_TRUE(HasLine(Logged(kLastError, 99999),
                        "GetLastError returned : 99999 (no further information)"));
}

TEST(DiagnosticLog, LineEndsInMessageTextBecomeSpaces) {
    const auto twoLines = [](int) { return std::optional<std::string>("two\r\nlines"); };
    EXPECT_TRUE(HasLine(Logged(kLastError, 5, twoLines),
                        "GetLastError returned : 0x00000005: two  lines)"));
}

TEST(DiagnosticLog, WideTextIsWrittenAsBytes) {
    const auto wide = [](DiagnosticLog& log) {
        log.WriteWide(L"Ville %ls n\u00b0%d", L"F\u00e8s", 3);
    };
    EXPECT_TRUE(HasLine(Logged(wide),
                        "Ville F\xc3\xa8s n\xc2\xb0"
                        "3"));
}

TEST(DiagnosticLog, IndentationComesFromTheThreadsLevel) {
    const std::string text = Logged([](DiagnosticLog& log) {
        LogIndentation() = 3;
        log.Write("deeper");
        LogIndentation() = 500;
        log.Write("deepest");
        LogIndentation() = 0;
    });
    EXPECT_TRUE(HasLine(text, "   deeper"));
    EXPECT_TRUE(HasLine(text, std::string(99, ' ') + "deepest"));
}

TEST(DiagnosticLog, LineThatDoesNotFitIsDroppedWhole) {
    // The longest message whose line still fits, with its CR LF and terminator, in 1024.
    const std::string fits(1024 - 1 - kPrefix.size() - 2, 'a');
    const std::string text = Logged([&](DiagnosticLog& log) {
        log.Write("%s", fits.c_str());
        log.Write("%s", (fits + "b").c_str());
        log.Write("%s", std::string(2000, 'c').c_str());
        log.Write("after");
    });
    EXPECT_TRUE(HasLine(text, fits));
    EXPECT_EQ(text.find(fits + "b"), std::string::npos);
    EXPECT_EQ(text.find("ccc"), std::string::npos);
    EXPECT_TRUE(HasLine(text, "after"));
}

TEST(DiagnosticLog, SecondRunDeletesThePreviousFile) {
    TempDir dir;
    for (const char* run : {"first run", "second run"}) {
        DiagnosticLog log(FixedEnvironment(dir.path()));
        log.EnsureOpen();
        log.Write("%s", run);
    }
    const std::string text = ReadFile(dir.path() + "/host_log.txt");
    EXPECT_EQ(text.find("first run"), std::string::npos);
    EXPECT_NE(text.find("second run"), std::string::npos);
    EXPECT_EQ(CountOf(text, "Log is started"), 1);
}

TEST(DiagnosticLog, UnwritableFolderDropsEverythingAndRetriesLater) {
    TempDir dir;
    const std::string folder = dir.path() + "/not-yet";
    DiagnosticLog log(FixedEnvironment(folder));
    log.EnsureOpen();
    EXPECT_FALSE(log.IsOpen());
    log.Write("lost");
    std::filesystem::create_directory(folder);
    log.EnsureOpen();
    ASSERT_TRUE(log.IsOpen());
    log.Write("kept");
    log.Shutdown();
    const std::string text = ReadFile(folder + "/host_log.txt");
    EXPECT_EQ(text.find("lost"), std::string::npos);
    EXPECT_NE(text.find("kept"), std::string::npos);
}

TEST(DiagnosticLog, OpeningKeepsTheCallersErrorCode) {
    TempDir dir;
    DiagnosticLog log(FixedEnvironment(dir.path()));
    errno = EACCES;
    log.EnsureOpen();  // deletes a file that is not there, which sets ENOENT inside
    log.Write("x");
    EXPECT_EQ(errno, EACCES);
}

TEST(DiagnosticLog, CounterStatisticsFromLastToFirst) {
    const std::string text = Logged([](DiagnosticLog& log) {
        const int a = log.CreateCounter();
        const int b = log.CreateCounter();
        log.RecordCounter(a, 10);
        log.RecordCounter(a, 30);
        log.RecordCounter(b, 7);
    });
    const std::string p = kPrefix;
    EXPECT_NE(text.find(p +
                        "Counter 1 statistics\r\n\tCounts: 1,\r\n\tMinTime: 7 ms,\r\n\tMaxTime: 7 "
                        "ms,\r\n\tTotalTime: 7 ms,\r\n\tAverageTime: 7 ms\r\n" +
                        p +
                        "Counter 0 statistics\r\n\tCounts: 2,\r\n\tMinTime: 10 ms,\r\n\tMaxTime: "
                        "30 ms,\r\n\tTotalTime: 40 ms,\r\n\tAverageTime: 20 ms\r\n" +
                        p + "Log finished\r\n"),
              std::string::npos);
}

TEST(DiagnosticLog, ManyThreadsWriteWholeLines) {
    TempDir dir;
    LogEnvironment env = FixedEnvironment(dir.path());
    env.threadId = [] {
        return static_cast<std::uint32_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
    };
    DiagnosticLog log(env);
    constexpr int kThreads = 4, kLines = 250;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kLines; ++i) {
                log.EnsureOpen();
                log.Write("thread %d line %d", t, i);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    log.Shutdown();
    std::istringstream in(ReadFile(log.Path()));
    const std::regex shape(R"(05:06:07\(123456789\),thr 0x[0-9A-F]{8} : thread \d line \d+\r)");
    std::string line;
    int messages = 0;
    while (std::getline(in, line)) {
        if (line.find(" : thread ") == std::string::npos) continue;
        EXPECT_TRUE(std::regex_match(line, shape)) << line;
        ++messages;
    }
    EXPECT_EQ(messages, kThreads * kLines);
}

}  // namespace
}  // namespace orvano
