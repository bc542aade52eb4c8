// Runs the built orvano-cli and captures what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace orvano::testing {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string CliPath() {
    return std::string(ORVANO_BINARY_DIR) + "/stage/bin/orvano-cli";
}

// The bundled data.cfg as installed beside the staged tool.
inline std::string InstalledDataCfg() {
    return std::string(ORVANO_BINARY_DIR) + "/stage/share/orvano/data.cfg";
}

// A copy of the tool in `folder`/bin, whose installed files are looked for in
// `folder`/share/orvano: none, until the test puts some there.
inline std::string LoneCliCopy(const TempFolder& folder) {
    const std::filesystem::path bin = folder / "bin";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(folder / "share/orvano");
    std::filesystem::copy_file(CliPath(), bin / "orvano-cli");
    return (bin / "orvano-cli").string();
}

// Each test process is a new user with an empty home: the tool makes its
// files there, never in the home of whoever runs the tests.
inline const TempFolder& CliHome() {
    static const TempFolder home;
    return home;
}

inline std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// The arguments are quoted one by one; the test controls them all. `prefix`
// runs the tool through another command (another user, a time limit, a umask);
// `environment`, when given, replaces the test home's variables (as `env` arguments);
// `program` is another copy of the tool.
inline CliResult RunCli(const std::vector<std::string>& args,
                        const std::vector<std::string>& prefix = {},
                        const std::vector<std::string>& environment = {},
                        const std::string& program = CliPath()) {
    char errTemplate[] = "/tmp/orvano-cli-err-XXXXXX";
    const int fd = mkstemp(errTemplate);
    if (fd >= 0) close(fd);
    const std::string& h = CliHome().path();
    std::string command;
    for (const std::string& p : prefix) command += ShellQuote(p) + " ";
    if (environment.empty()) {
        command += "env HOME=" + ShellQuote(h) + " XDG_CONFIG_HOME=" + ShellQuote(h + "/config") +
                   " XDG_STATE_HOME=" + ShellQuote(h + "/state") +
                   " XDG_DATA_HOME=" + ShellQuote(h + "/data") + " ";
    } else {
        command += "env";
        for (const std::string& e : environment) command += " " + ShellQuote(e);
        command += " ";
    }
    command += ShellQuote(program);
    for (const std::string& a : args) command += " " + ShellQuote(a);
    command += " 2>" + ShellQuote(errTemplate);
    CliResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = ReadFile(errTemplate);
    std::remove(errTemplate);
    return result;
}

}  // namespace orvano::testing
