// Runs a built program of the project as a child process and captures what it did.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/RomBuilder.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace vorlane::test {

struct ProgramRun {
    bool finished = false;    // within the time allowed
    bool normalExit = false;  // it exited rather than died of a signal
    int exitCode = -1;
    std::string out;
    std::string err;
};

// What a child wrote into the file that took one of its outputs.
inline std::string wholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#ifdef _WIN32
// The same on Windows (RunProgramWin32.cpp), kept out of this header so that windows.h's macros
// meet none of the kit's names.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& unset = {});
#else
// Runs `program` with `args`, standard input empty, in this process's environment less the
// variables named in `unset`; one still running after 10 s is killed.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& unset = {}) {
    TempDir capture;
    const std::string outPath = capture.file("out"), errPath = capture.file("err");
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&files, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        const bool dropped = std::any_of(unset.begin(), unset.end(), [&](const std::string& name) {
            return variable.starts_with(name + "=");
        });
        if (!dropped) {
            envp.push_back(*entry);
        }
    }
    envp.push_back(nullptr);
    ProgramRun run;
    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) {
        return run;
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.finished = true;
    run.normalExit = WIFEXITED(status);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = wholeFile(outPath);
    run.err = wholeFile(errPath);
    return run;
}
#endif

}  // namespace vorlane::test
