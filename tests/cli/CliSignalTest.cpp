// A signal that stops vorlane-cli while its temporary file exists, as Ctrl+C does during a long
// flush to a USB stick, must leave the old file as it was and no temporary behind.
//
// The moment is reached deterministically: the run is preloaded with a small library that holds
// it inside its first fsync() (tests/support/FsyncGate.cpp), where the temporary holds every new
// byte, until the signal has been sent. Both kinds of temporary are run: the unnamed one of
// filesystems that have them, and the named one of those that do not.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "tests/cli/CliRunner.h"

namespace vorlane::test {
namespace {

std::vector<std::string> temporaries(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().ends_with(".tmp")) {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

bool hasUnnamedFiles(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

// Waits until the run is held in its fsync; false when it never got there.
bool waitUntilHeld(const std::string& fifo) {
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    pollfd ready{fd, POLLIN, 0};
    const bool held = ::poll(&ready, 1, 20000) == 1 && (ready.revents & POLLIN) != 0;
    ::close(fd);
    return held;
}

// Lets the held run go on, if it still waits, and returns how it ended. A run that died at the
// gate never reads the release: the FIFO is opened without waiting for a reader, again and again.
int releaseAndWait(pid_t child, const std::string& fifo) {
    int status = 0;
    bool released = false;
    for (int i = 0; i < 2000; ++i) {
        if (::waitpid(child, &status, WNOHANG) == child) {
            return status;
        }
        if (!released) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                released = ::write(fd, "r", 1) == 1;
                ::close(fd);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return status;
}

TEST(CliSignals, EachStopSignalDuringTheFlushKeepsTheOldFileAndLeavesNoTemporary) {
    for (const bool unnamed : {true, false}) {
        // The ones people send, and the rarer ones that end a process just as well.
        for (const int signal :
             {SIGINT, SIGTERM, SIGHUP, SIGPWR, SIGIO, SIGPROF, SIGSTKFLT, SIGRTMIN, SIGRTMAX}) {
            SCOPED_TRACE(std::string(unnamed ? "unnamed" : "named") + " temporary, signal " +
                         std::to_string(signal));
            TempDir dir;
            if (unnamed && !hasUnnamedFiles(dir.path())) {
                continue;  // the named kind still runs
            }
            RomBuilder().checksum(RomBuilder::Checksum::Broken).writeTo(dir.file("sum.rom"));
            const std::string out = dir.file("out.rom");
            const std::vector<uint8_t> old = {1, 2, 3};
            writeBytes(out, old);
            ASSERT_EQ(::chmod(out.c_str(), 0644), 0);
            ASSERT_EQ(::mkfifo(dir.file("held").c_str(), 0600), 0);
            ASSERT_EQ(::mkfifo(dir.file("release").c_str(), 0600), 0);

            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                sigset_t none;
                sigemptyset(&none);
                ::sigprocmask(SIG_SETMASK, &none, nullptr);
                std::signal(signal, SIG_DFL);
                ::setenv("LD_PRELOAD", VORLANE_FSYNC_GATE_PATH, 1);
                ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
                ::setenv("VORLANE_FSYNC_GATE", dir.path().c_str(), 1);
                if (!unnamed) {
                    ::setenv("VORLANE_NO_TMPFILE", "1", 1);
                }
                const int quiet = ::open("/dev/null", O_RDWR);
                ::dup2(quiet, STDOUT_FILENO);
                ::dup2(quiet, STDERR_FILENO);
                ::execl(VORLANE_CLI_PATH, VORLANE_CLI_PATH, "fix-checksum",
                        dir.file("sum.rom").c_str(), "-o", out.c_str(), nullptr);
                ::_exit(127);
            }
            const bool held = waitUntilHeld(dir.file("held"));
            EXPECT_TRUE(held) << "the run never reached its flush";
            if (held) {
                // The moment is the right one: every new byte is in a temporary, which only its
                // owner may read, and which has no name at all where the filesystem allows.
                const auto during = temporaries(dir.path());
                if (unnamed) {
                    EXPECT_TRUE(during.empty());
                } else {
                    EXPECT_EQ(during.size(), 1u);
                    for (const std::string& name : during) {
                        struct stat st {};
                        ASSERT_EQ(::stat(name.c_str(), &st), 0);
                        EXPECT_EQ(st.st_mode & 07777, 0600u);
                        EXPECT_EQ(st.st_size, 65536);
                    }
                }
                ASSERT_EQ(::kill(child, signal), 0);
            }
            const int status = releaseAndWait(child, dir.file("release"));
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
            EXPECT_EQ(temporaries(dir.path()), std::vector<std::string>{});
            EXPECT_EQ(readBytes(out), old);
            struct stat st {};
            ASSERT_EQ(::stat(out.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, 0644u);
        }
    }
}

}  // namespace
}  // namespace vorlane::test
