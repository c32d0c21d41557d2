// Start of a process to its first painted window, offscreen: the editor against an empty dialog
// of the same size. Each iteration starts the program; the program reports the monotonic time of
// its first paint and ends, so the time measured is spawn to first paint, with no teardown.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Seconds from spawning `program` to its first paint.
double startToFirstPaint(const char* program) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0) {
            env.emplace_back(*e);
        }
    }
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    env.emplace_back("VORLANE_BENCH_FIRST_PAINT=1");
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), nullptr};

    const long long start = monotonicNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        throw std::runtime_error(std::string("cannot start ") + program);
    }
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<size_t>(n));
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long painted = 0;
    if (std::sscanf(output.c_str(), "first-paint %lld", &painted) != 1) {
        throw std::runtime_error(std::string(program) + " reported no first paint");
    }
    return static_cast<double>(painted - start) * 1e-9;
}

void runFirstPaint(benchmark::State& state, const char* program) {
    for (auto _ : state) {
        try {
            state.SetIterationTime(startToFirstPaint(program));
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}

void BM_EmptyDialogFirstPaint(benchmark::State& state) {
    runFirstPaint(state, VORLANE_EMPTY_DIALOG);
}
void BM_EditorFirstPaint(benchmark::State& state) {
    runFirstPaint(state, VORLANE_EDITOR);
}

BENCHMARK(BM_EmptyDialogFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5);
BENCHMARK(BM_EditorFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
