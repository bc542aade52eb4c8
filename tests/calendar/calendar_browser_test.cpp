// The written page as a real browser reads it: headless Chromium loads the
// file, its DOM is dumped and checked, and a screenshot is left in the build
// folder for a person to look at.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <regex>
#include <thread>

#include "calendar/month_calendar.h"
#include "tests/calendar/calendar_test_support.h"

extern char** environ;

namespace orvano {
namespace {

using testing::CivilWeekday;
using testing::Count;
using testing::ReadFile;
using testing::TempFolder;
using testing::TownState;

constexpr auto kBrowserTimeLimit = std::chrono::seconds(120);

struct BrowserRun {
    bool finished = false;
    int status = -1;
    std::string out;
    std::string err;
};

// Runs chromium on one page with a profile of its own, without a shell, and
// kills its whole process group if it does not finish in time.
BrowserRun RunChromium(const std::string& scratch, const std::vector<std::string>& extra,
                       const std::string& url) {
    std::vector<std::string> args = {ORVANO_CHROMIUM,
                                     "--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--no-first-run",
                                     "--disable-background-networking",
                                     "--disable-component-update",
                                     "--disable-sync",
                                     "--user-data-dir=" + scratch + "/profile"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(url);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> env = {"XDG_CONFIG_HOME=" + scratch + "/config",
                                    "XDG_CACHE_HOME=" + scratch + "/cache"};
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("XDG_CONFIG_HOME=", 0) != 0 && entry.rfind("XDG_CACHE_HOME=", 0) != 0) {
            env.push_back(entry);
        }
    }
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string outPath = scratch + "/stdout";
    const std::string errPath = scratch + "/stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    BrowserRun run;
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        run.err = std::string("could not start ") + ORVANO_CHROMIUM + ": " + std::strerror(spawned);
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + kBrowserTimeLimit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            run.err = "chromium did not finish within the time limit\n" + ReadFile(errPath);
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // Helpers the browser left in its group must not outlive the test.
    kill(-pid, SIGKILL);
    run.finished = true;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

std::vector<std::string> Rows(const std::string& dom) {
    std::vector<std::string> rows;
    const std::regex row("<tr\\b[^>]*>[\\s\\S]*?</tr>");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), row); it != std::sregex_iterator();
         ++it) {
        rows.push_back(it->str());
    }
    return rows;
}

class BrowserPage : public testing::CalendarTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(access(ORVANO_CHROMIUM, X_OK), 0)
            << ORVANO_CHROMIUM << " is missing: run tools/install-deps (it installs chromium)";
        ASSERT_FALSE(folder.path().empty());
        ASSERT_FALSE(scratch_.path().empty());
        // August 2014: 31 days, the 1st a Friday, and "û" in the month's name.
        state = TownState("Oran", 8, 2014);
        const CalendarResult result = Write();
        ASSERT_EQ(result.status, CalendarStatus::Written) << console.text();
        url_ = "file://" + result.path;
    }

    TempFolder scratch_;
    std::string url_;
};

TEST_F(BrowserPage, DomHasTheTableTheColoursAndTheAccentedMonth) {
    const BrowserRun run = RunChromium(scratch_.path(), {"--dump-dom"}, url_);
    ASSERT_TRUE(run.finished) << run.err;
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& dom = run.out;
    ASSERT_NE(dom.find("<table"), std::string::npos) << "no table in the DOM:\n" << dom << run.err;

    // Read as ISO-8859-1, the title's "è" and "û" come out as real characters
    // (the DOM is dumped in UTF-8), never as replacement characters.
    EXPECT_NE(dom.find("<title>Calendrier de pri\xC3\xA8res - Ao\xC3\xBBt 2014 </title>"),
              std::string::npos)
        << dom.substr(0, 600);
    EXPECT_EQ(dom.find("\xEF\xBF\xBD"), std::string::npos) << "a byte was not decoded";

    const auto rows = Rows(dom);
    ASSERT_EQ(rows.size(), 32u) << dom;
    EXPECT_NE(rows[0].find("bgcolor=\"#00F0F0\""), std::string::npos) << rows[0];
    EXPECT_NE(rows[0].find("Chourouk"), std::string::npos) << rows[0];
    static const char* const weekdays[] = {"Lundi",    "Mardi",  "Mercredi", "Jeudi",
                                           "Vendredi", "Samedi", "Dimanche"};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(Count(rows[i], "<td"), 9u) << "row " << i << ": " << rows[i];
        if (i == 0) continue;
        const int day = static_cast<int>(i);
        const int weekday = CivilWeekday(day, 8, 2014);
        const std::string dayCell = "<b>" + std::string(day < 10 ? " " : "") + std::to_string(day);
        EXPECT_NE(rows[i].find(dayCell + "</b>"), std::string::npos) << rows[i];
        EXPECT_NE(rows[i].find(std::string("<b>") + weekdays[weekday] + "</b>"), std::string::npos)
            << rows[i];
        const bool friday = rows[i].find("bgcolor=\"#FFD5D5\"") != std::string::npos;
        EXPECT_EQ(friday, weekday == 4) << "day " << day << ": " << rows[i];
        if (!friday) {
            const char* colour = day % 2 == 0 ? "bgcolor=\"#F5F5F5\"" : "bgcolor=\"#F0F0E0\"";
            EXPECT_NE(rows[i].find(colour), std::string::npos) << rows[i];
        }
    }
    EXPECT_EQ(Count(dom, "bgcolor=\"#FFD5D5\""), 5u);
}

// The month prints on one sheet, on A4 and on Letter paper, its heading first.
TEST_F(BrowserPage, PrintsOnOneSheetOfA4OrLetter) {
    const std::string page = ReadFile(url_.substr(std::string("file://").size()));
    const size_t head = page.find("</head>");
    ASSERT_NE(head, std::string::npos);
    for (const char* paper : {"A4", "letter"}) {
        SCOPED_TRACE(paper);
        // The paper the user's printer would hold, chosen in a copy of the page.
        const std::string copy = scratch_.path() + "/" + paper + ".html";
        std::ofstream(copy, std::ios::binary) << page.substr(0, head) +
                                                     "<style>@page { size: " + paper +
                                                     "; }</style>" + page.substr(head);
        const std::string pdf = scratch_.path() + "/" + paper + ".pdf";
        const BrowserRun run = RunChromium(
            scratch_.path(), {"--no-pdf-header-footer", "--print-to-pdf=" + pdf}, "file://" + copy);
        ASSERT_TRUE(run.finished) << run.err;
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string bytes = ReadFile(pdf);
        ASSERT_EQ(bytes.rfind("%PDF", 0), 0u) << run.err;
        const std::regex pageObject("/Type\\s*/Page[^s]");
        EXPECT_EQ(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), pageObject),
                                std::sregex_iterator()),
                  1);
    }
}

TEST_F(BrowserPage, ScreenshotForAPersonToLookAt) {
    const std::string shot = std::string(ORVANO_SCREENSHOT_DIR) + "/calendar_Aout2014.png";
    std::remove(shot.c_str());
    const BrowserRun run =
        RunChromium(scratch_.path(),
                    {"--hide-scrollbars", "--window-size=760,1000", "--screenshot=" + shot}, url_);
    ASSERT_TRUE(run.finished) << run.err;
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string png = ReadFile(shot);
    ASSERT_GT(png.size(), 1000u) << "no screenshot at " << shot << "\n" << run.err;
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    std::printf("screenshot: %s\n", shot.c_str());
}

}  // namespace
}  // namespace orvano
