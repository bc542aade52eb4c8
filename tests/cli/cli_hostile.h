// What the tests of the tool under hostile conditions share: another user to
// run as, a one-town data.cfg, leftovers aged past the ten minutes after which
// they go, and the check of a refused option.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "run_cli.h"

namespace orvano::testing {

inline const std::vector<std::string> kAsNobody = {"setpriv", "--reuid=65534", "--regid=65534",
                                                   "--clear-groups"};
inline const std::string kAlgiersCfg = "1 1 0 0\n2 Algeria Algiers 36.7538 3.0588 1 0 6\n";

inline void MakeOld(const std::string& path) {
    std::filesystem::last_write_time(
        path, std::filesystem::file_time_type::clock::now() - std::chrono::minutes(11));
}

// Runs the tool with `args`. An empty `err` expects success and nothing on
// stderr; any other the usage status 2 and "orvano-cli COMMAND: `err`" as its line.
inline CliResult ExpectRefusal(const std::vector<std::string>& args, const std::string& err) {
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, err.empty() ? 0 : 2);
    EXPECT_EQ(r.err, err.empty() ? "" : "orvano-cli " + args[0] + ": " + err + "\n");
    return r;
}

}  // namespace orvano::testing
