// Small helpers shared by the Today strip's tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace orvano {

using TempDir = testing::TempFolder;
using testing::ReadFile;
using testing::WriteFile;

inline int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace orvano
