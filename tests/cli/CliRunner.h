// Runs the built vorlane-cli as a child process and captures what it did, with the few helpers
// the process tests share.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/RomBuilder.h"

namespace vorlane::test {

using Json = nlohmann::json;

struct CliResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;

    // Every line of standard output parsed as JSON; throws on a line that is not.
    std::vector<Json> jsonLines() const {
        std::vector<Json> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(Json::parse(line));
        }
        return lines;
    }
};

// Standard output goes to `stdoutPath` when one is given (and is then not captured); standard
// input comes from `stdinPath`, or is empty. A run that hangs is stopped after 20 s, with exit
// code 124.
inline CliResult runCli(const std::vector<std::string>& args, const std::string& stdoutPath = "",
                        const std::string& stdinPath = "/dev/null") {
    const auto quote = [](const std::string& text) {
        std::string quoted = "'";
        for (const char c : text) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return quoted + "'";
    };
    TempDir capture;
    const std::string out = stdoutPath.empty() ? capture.file("out") : stdoutPath;
    std::string command = "timeout 20 " + quote(VORLANE_CLI_PATH);
    for (const std::string& arg : args) {
        command += " " + quote(arg);
    }
    command += " <" + quote(stdinPath) + " >" + quote(out) + " 2>" + quote(capture.file("err"));
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto text = [](const std::vector<uint8_t>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    };
    result.out = stdoutPath.empty() ? text(readBytes(out)) : "";
    result.err = text(readBytes(capture.file("err")));
    return result;
}

// The JSON line of `info` for one image, checksum ignored.
inline Json infoOf(const std::string& path) {
    const auto lines = runCli({"info", "--json", "--skip-checksum", path}).jsonLines();
    return lines.size() == 1 ? lines[0] : Json();
}

inline uint8_t byteSum(const std::vector<uint8_t>& bytes) {
    return static_cast<uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u));
}

// Every entry below `folder` with the bytes of each regular file: equal states mean that nothing
// was written, created or left behind.
inline std::map<std::string, std::vector<uint8_t>> folderState(const std::string& folder) {
    std::map<std::string, std::vector<uint8_t>> state;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        state[entry.path().string()] =
            entry.is_regular_file() ? readBytes(entry.path().string()) : std::vector<uint8_t>{};
    }
    return state;
}

}  // namespace vorlane::test
