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
#include "tests/support/temp_folder.h"

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

}  // namespace orvano::testing
