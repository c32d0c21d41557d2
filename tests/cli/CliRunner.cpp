#include "CliRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "RomBuilder.h"

extern char** environ;

namespace vorlane::test {

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::vector<std::string> CliResult::errLines() const {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<nlohmann::json> CliResult::jsonLines() const {
    std::vector<nlohmann::json> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

CliResult runCli(const CliRun& run) {
    // Output goes to files rather than pipes, so a chatty child can never block on a full pipe.
    TempDir capture;
    const std::string outPath = run.stdoutPath.empty() ? capture.file("out") : run.stdoutPath;
    const std::string errPath = capture.file("err");

    std::vector<std::string> argv = {VORLANE_CLI_PATH};
    argv.insert(argv.end(), run.args.begin(), run.args.end());
    std::vector<char*> raw;
    for (auto& arg : argv) {
        raw.push_back(arg.data());
    }
    raw.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (!run.workingDir.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, run.workingDir.c_str());
    }
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    CliResult result;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << raw[0];
        return result;
    }

    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "vorlane-cli did not finish within 20 s";
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (run.stdoutPath.empty()) {
        result.out = slurp(outPath);
    }
    result.err = slurp(errPath);
    return result;
}

}  // namespace vorlane::test
