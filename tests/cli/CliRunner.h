// Runs the built vorlane-cli as a child process and captures what it did.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace vorlane::test {

struct CliResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;

    std::vector<std::string> errLines() const;
    // Every line of standard output parsed as JSON.
    std::vector<nlohmann::json> jsonLines() const;
};

struct CliRun {
    std::vector<std::string> args;
    std::string workingDir;  // empty: the test's own
    std::string stdoutPath;  // empty: captured
};

// Fails the calling test (and returns exit code -1) when the program runs longer than 20 s.
CliResult runCli(const CliRun& run);
inline CliResult runCli(std::vector<std::string> args) {
    CliRun run;
    run.args = std::move(args);
    return runCli(run);
}

}  // namespace vorlane::test
