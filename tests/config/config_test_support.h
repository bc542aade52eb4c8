// Shared pieces of the configuration tests.
#pragma once

#include <stdlib.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/message_sink.h"

namespace orvano::testing {

struct Box {
    std::string text;
    std::string caption;
    bool operator==(const Box& other) const {
        return text == other.text && caption == other.caption;
    }
};

class RecordingBoxes final : public MessageSink {
  public:
    void Show(const std::string& text, const std::string& caption) override {
        shown.push_back({text, caption});
    }
    std::vector<Box> shown;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The written formats themselves, as the oracle for the line layouts.
__attribute__((format(printf, 1, 2))) inline std::string Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

inline std::string TestData(const std::string& name) {
    return std::string(ORVANO_TEST_DATA) + "/" + name;
}

// A fresh folder, removed with everything in it at the end of the test.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvano-config-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace orvano::testing
