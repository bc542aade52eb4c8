// The gazetteer as staged beside the built programs, read once per test process.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "places/gazetteer.h"

namespace orvano::testing {

inline const Gazetteer& Installed() {
    static const Gazetteer gazetteer = [] {
        std::string error;
        auto g = Gazetteer::Load(
            std::string(ORVANO_BINARY_DIR) + "/stage/share/orvano/gazetteer.tsv", error);
        if (!g) throw std::runtime_error(error);
        return std::move(*g);
    }();
    return gazetteer;
}

}  // namespace orvano::testing
