// A fresh application over the recording doubles, with its program folder in a
// temporary directory that holds a copy of the bundled data.cfg.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "tests/support/desktop_zone.h"
#include "tests/support/recording_platform.h"

namespace orvano::testing {

// The creation indices of the controls each page shows: the 22 controls of
// the pages, then the zone chooser (22), the method (23), search (24) and
// delete (25) buttons, and the Home page's Night button (26).
inline const std::vector<std::vector<size_t>> kVisibleOnPage = {
    {1, 26},
    {0, 1},
    {0, 1, 2, 3, 4, 5, 6, 7},
    {0, 1, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 22, 23, 24, 25},
    {0, 20, 21, 27},
};

class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        // The desktop keeps the bundled default town's zone, so its clock is the
        // town's; a test that wants another desktop zone sets TZ itself.
        desktop_.emplace("Africa/Algiers");
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("orvano_app_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                   std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        fake.shell.modulePath = (folder_ / "orvano").string();
        fake.settings.CreateKey(kAppSettingsKey);
        app = std::make_unique<App>(fake.platform());
        app->files = UserFilesIn(folder_.string());
        app->updateUrl = "https://orvano.example.net/";  // the About page's button is there
    }
    void TearDown() override {
        app.reset();
        std::filesystem::remove_all(folder_);
        desktop_.reset();
    }

    static void SetDesktopZone(const char* zone) { DesktopZone::Set(zone); }

    void InstallBundledConfig() {
        std::filesystem::copy_file(std::filesystem::path(ORVANO_SOURCE_DIR) / "resources/data.cfg",
                                   folder_ / "data.cfg");
    }
    std::string ReadConfigBytes() const {
        std::ifstream in(folder_ / "data.cfg", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void SetStoredLang(std::vector<std::uint8_t> bytes) {
        fake.settings.keys[kAppSettingsKey]["Lang"] = std::move(bytes);
    }
    FakeWindow& window() { return *fake.windows.window; }
    const std::filesystem::path& folder() const { return folder_; }

    FakePlatform fake;
    std::unique_ptr<App> app;

  private:
    std::filesystem::path folder_;
    std::optional<DesktopZone> desktop_;
};

}  // namespace orvano::testing
