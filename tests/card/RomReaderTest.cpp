// Reading a ROM: the enable, read, disable order on every path, through a recording port, and
// once through real files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "card/RomReader.h"
#include "image/FileError.h"
#include "tests/support/FakeSysfs.h"
#include "tests/support/RomBuilder.h"

namespace vorlane::test {
namespace {

using card::RomDump;

// What can go wrong at each step of the recording port.
enum class Fault { None, EnableDenied, ReadFailsPartWay, DisableFails, SignalDuringRead };

class RecordingPort : public card::RomPort {
  public:
    RecordingPort(Fault fault, std::vector<uint8_t> rom, int signal = SIGINT)
        : fault_(fault), rom_(std::move(rom)), signal_(signal) {}
    std::vector<std::string> steps;

    void writeControl(std::string_view text) override {
        steps.push_back("write:" + std::string(text));
        if ((fault_ == Fault::EnableDenied && text == card::kRomEnable) ||
            (fault_ == Fault::DisableFails && text == card::kRomDisable)) {
            throw FileError("rom", "open for writing",
                            std::make_error_code(std::errc::permission_denied));
        }
    }
    size_t read(std::span<uint8_t> into, const std::function<bool()>& stop) override {
        steps.push_back("read");
        size_t done = 0;
        for (; done < into.size() && done < rom_.size(); ++done) {
            if (done == 4096 && fault_ == Fault::ReadFailsPartWay) {
                throw FileError("rom", "read", std::make_error_code(std::errc::io_error));
            }
            if (done == 4096 && fault_ == Fault::SignalDuringRead) {
                std::raise(signal_);
            }
            if (stop()) {
                return done;
            }
            into[done] = rom_[done];
        }
        return done;
    }

  private:
    Fault fault_;
    std::vector<uint8_t> rom_;
    int signal_;
};

struct OrderCase {
    const char* name;
    Fault fault;
    std::vector<std::string> steps;
    const char* outcome;  // "dump", "FileError" or "interrupted"
};

class ReadOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ReadOrder, DisablesOnEveryPathOnceEnabled) {
    const std::vector<uint8_t> rom = RomBuilder().build();
    RecordingPort port(GetParam().fault, rom);
    struct sigaction before {};
    ::sigaction(SIGINT, nullptr, &before);
    std::string outcome;
    try {
        const RomDump dump = card::readRom(port);
        outcome = "dump";
        EXPECT_EQ(dump.bytes, rom);
        EXPECT_FALSE(dump.truncated);
    } catch (const FileError&) {
        outcome = "FileError";
    } catch (const card::RomReadInterrupted& interrupted) {
        outcome = "interrupted";
        EXPECT_EQ(interrupted.signal(), SIGINT);
    }
    EXPECT_EQ(outcome, GetParam().outcome);
    EXPECT_EQ(port.steps, GetParam().steps);
    struct sigaction after {};
    ::sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler) << "the signal handler was not put back";
}

const std::vector<std::string> kAllSteps = {"write:1\n", "read", "write:0\n"};

INSTANTIATE_TEST_SUITE_P(
    RecordingPort, ReadOrder,
    ::testing::Values(
        OrderCase{"Valid", Fault::None, kAllSteps, "dump"},
        OrderCase{"EnableDenied", Fault::EnableDenied, {"write:1\n"}, "FileError"},
        OrderCase{"ReadFailsPartWay", Fault::ReadFailsPartWay, kAllSteps, "FileError"},
        OrderCase{"DisableFails", Fault::DisableFails, kAllSteps, "FileError"},
        OrderCase{"SignalDuringRead", Fault::SignalDuringRead, kAllSteps, "interrupted"}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return info.param.name; });

// Every signal that would end the program while the ROM is exposed is caught, the ROM hidden
// again, and the signal handed back; the program's own handler is put back afterwards.
class ReadSignal : public ::testing::TestWithParam<int> {};

TEST_P(ReadSignal, HidesTheRomAndHandsTheSignalBack) {
    const int signal = GetParam();
    struct sigaction before {};
    ::sigaction(signal, nullptr, &before);
    RecordingPort port(Fault::SignalDuringRead, RomBuilder().build(), signal);
    int caught = 0;
    try {
        card::readRom(port);
    } catch (const card::RomReadInterrupted& interrupted) {
        caught = interrupted.signal();
    }
    EXPECT_EQ(caught, signal);
    EXPECT_EQ(port.steps, kAllSteps);
    struct sigaction after {};
    ::sigaction(signal, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    sigset_t mask;
    ::pthread_sigmask(SIG_SETMASK, nullptr, &mask);
    EXPECT_FALSE(sigismember(&mask, signal)) << "the signal was left blocked";
}

INSTANTIATE_TEST_SUITE_P(Terminating, ReadSignal,
                         ::testing::Values(SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGALRM,
                                           SIGUSR1, SIGXFSZ, SIGRTMIN),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGRTMIN ? "RTMIN"
                                                                       : sigabbrev_np(info.param));
                         });

// A signal ignored by whoever started the program (nohup) stays ignored: it ends nothing.
TEST(ReadRom, AnIgnoredSignalStaysIgnored) {
    struct sigaction before {};
    ::sigaction(SIGHUP, nullptr, &before);
    std::signal(SIGHUP, SIG_IGN);
    RecordingPort port(Fault::SignalDuringRead, RomBuilder().build(), SIGHUP);
    EXPECT_NO_THROW(card::readRom(port));
    EXPECT_EQ(port.steps, kAllSteps);
    ::sigaction(SIGHUP, &before, nullptr);
}

TEST(ReadRom, StopsAtTheLimit) {
    RecordingPort port(Fault::None, std::vector<uint8_t>(5000, 0xAB));
    const RomDump longer = card::readRom(port, 4096);
    EXPECT_EQ(longer.bytes.size(), 4096u);
    EXPECT_TRUE(longer.truncated);
    RecordingPort exact(Fault::None, std::vector<uint8_t>(4096, 0xAB));
    EXPECT_FALSE(card::readRom(exact, 4096).truncated);
}

// Through real files: a regular file shows the order by what it ends up holding (the enable
// written over its start before the read, the disable after it), a pipe by the server's record.
TEST(SysfsRomPort, RegularFileIsEnabledReadUpToTheLimitAndDisabled) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    FakeDevice device;
    device.rom = std::vector<uint8_t>(card::kRomReadLimit + 4096, 0x5A);
    sysfs.add(device);
    card::SysfsRomPort port(sysfs.root(), device.address);
    const RomDump dump = card::readRom(port);
    ASSERT_EQ(dump.bytes.size(), card::kRomReadLimit);
    EXPECT_TRUE(dump.truncated);
    EXPECT_EQ(std::string(dump.bytes.begin(), dump.bytes.begin() + 3), "1\nZ");
    const auto after = readBytes(sysfs.romOf(device.address));
    EXPECT_EQ(after.size(), card::kRomReadLimit + 4096) << "the rom file was truncated";
    EXPECT_EQ(std::string(after.begin(), after.begin() + 3), "0\nZ");
}

TEST(SysfsRomPort, PipeServedLikeTheKernelSeesEnableReadDisable) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    sysfs.add(FakeDevice{});
    const std::vector<uint8_t> rom = RomBuilder().build();
    RomPipeServer server(sysfs.romOf("0000:01:00.0"), rom);
    card::SysfsRomPort port(sysfs.root(), "0000:01:00.0");
    EXPECT_EQ(card::readRom(port).bytes, rom);
    EXPECT_EQ(server.steps(), kAllSteps);
}

// Reads one control line written to the pipe at `path`, giving up after five seconds.
std::string readControlLine(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::string line;
    pollfd poll{fd, POLLIN, 0};
    while (fd >= 0 && !line.ends_with('\n') && ::poll(&poll, 1, 5000) > 0) {
        char c = 0;
        if (::read(fd, &c, 1) != 1) {
            break;
        }
        line += c;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return line.ends_with('\n') ? "write:" + line : "gave up";
}

// Ends the test program when a test outlives `limit`: a wait that a signal fails to end fails the
// test in seconds, not at CTest's timeout.
class Deadline {
  public:
    explicit Deadline(std::chrono::seconds limit)
        : watchdog_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!ended_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "still waiting after %lld s: the wait never ended\n",
                               static_cast<long long>(limit.count()));
                  std::_Exit(1);
              }
          }) {}
    ~Deadline() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        ended_.notify_all();
        watchdog_.join();
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

  private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread watchdog_;
};

// A card whose ROM gives nothing, and a hangup while the reader waits on it: the wait ends at
// once, the ROM is hidden again and the signal is handed back.
TEST(SysfsRomPort, ASignalEndsTheWaitOnARomThatGivesNothing) {
    const Deadline deadline(std::chrono::seconds(20));
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    sysfs.add(FakeDevice{});
    const std::string rom = sysfs.romOf("0000:01:00.0");
    std::filesystem::remove(rom);
    ASSERT_EQ(::mkfifo(rom.c_str(), 0600), 0);
    const pthread_t reader = ::pthread_self();
    std::vector<std::string> steps;
    std::thread kernel([&] {
        steps.push_back(readControlLine(rom));
        // Holds the ROM open without a byte in it, so that only the signal can end the wait.
        const int holding = ::open(rom.c_str(), O_WRONLY);
        ::pthread_kill(reader, SIGHUP);
        std::string disable = readControlLine(rom);
        ::close(holding);
        if (disable == "gave up") {
            // The wait outlived the signal; the end of the ROM lets the reader go on.
            steps.push_back(disable);
            disable = readControlLine(rom);
        }
        steps.push_back(disable);
    });
    card::SysfsRomPort port(sysfs.root(), "0000:01:00.0");
    int caught = 0;
    try {
        card::readRom(port);
    } catch (const card::RomReadInterrupted& interrupted) {
        caught = interrupted.signal();
    }
    kernel.join();
    EXPECT_EQ(caught, SIGHUP);
    EXPECT_EQ(steps, (std::vector<std::string>{"write:1\n", "write:0\n"}));
}

// Whether the thread `tid` of this process sleeps in openat(): the reader waiting for a writer
// to open the pipe that stands in for the ROM.
bool sleepsInOpen(pid_t tid) {
    const std::string task = "/proc/self/task/" + std::to_string(tid);
    long call = -1;
    std::ifstream(task + "/syscall") >> call;
    std::string stat;
    std::getline(std::ifstream(task + "/stat"), stat);
    const auto state = stat.rfind(") ");
    return call == SYS_openat && state != std::string::npos && stat[state + 2] == 'S';
}

// A pipe stands in for the kernel's file, which never makes an open wait; this one waits for
// data that never comes. An interrupt while the reader waits in the open ends it there.
TEST(SysfsRomPort, ASignalEndsTheOpenOfARomThatNeverOpens) {
    const Deadline deadline(std::chrono::seconds(20));
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    sysfs.add(FakeDevice{});
    const std::string rom = sysfs.romOf("0000:01:00.0");
    std::filesystem::remove(rom);
    ASSERT_EQ(::mkfifo(rom.c_str(), 0600), 0);
    const pthread_t reader = ::pthread_self();
    const pid_t readerTid = ::gettid();
    std::vector<std::string> steps;
    std::thread kernel([&] {
        steps.push_back(readControlLine(rom));
        // Seen twice in a row, so that no other open is taken for it.
        for (int i = 0, seen = 0; i < 500 && seen < 2; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            seen = sleepsInOpen(readerTid) ? seen + 1 : 0;
        }
        // Opened without waiting and never written, so that the disable has a reader at once.
        int control = ::open(rom.c_str(), O_RDONLY | O_NONBLOCK);
        ::pthread_kill(reader, SIGINT);
        const auto disable = [&control] {
            std::string line;
            pollfd poll{control, POLLIN, 0};
            while (!line.ends_with('\n') && ::poll(&poll, 1, 5000) > 0) {
                char c = 0;
                if (::read(control, &c, 1) != 1) {
                    break;
                }
                line += c;
            }
            return line.ends_with('\n') ? "write:" + line : "gave up";
        };
        std::string line = disable();
        if (line == "gave up") {
            // The open outlived the signal; a writer that comes and goes lets it go on. The
            // control end is opened anew, as the old one now reads the writer's end as the end.
            steps.push_back(line);
            ::close(::open(rom.c_str(), O_WRONLY | O_NONBLOCK));
            const int stale = std::exchange(control, ::open(rom.c_str(), O_RDONLY | O_NONBLOCK));
            ::close(stale);
            line = disable();
        }
        steps.push_back(line);
        ::close(control);
    });
    card::SysfsRomPort port(sysfs.root(), "0000:01:00.0");
    int caught = 0;
    try {
        card::readRom(port);
    } catch (const card::RomReadInterrupted& interrupted) {
        caught = interrupted.signal();
    }
    kernel.join();
    EXPECT_EQ(caught, SIGINT);
    EXPECT_EQ(steps, (std::vector<std::string>{"write:1\n", "write:0\n"}));
}

TEST(SysfsRomPort, RefusesARomThatIsALinkAndAnAddressThatIsAPath) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    const std::string folder = sysfs.add(FakeDevice{});
    const std::string outside = dir.file("outside.bin");
    writeBytes(outside, {1, 2, 3});
    std::filesystem::remove(folder + "/rom");
    std::filesystem::create_symlink(outside, folder + "/rom");
    card::SysfsRomPort port(sysfs.root(), "0000:01:00.0");
    EXPECT_THROW(card::readRom(port), FileError);
    EXPECT_EQ(readBytes(outside), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_THROW(card::SysfsRomPort(sysfs.root(), "../../../x"), std::invalid_argument);
}

}  // namespace
}  // namespace vorlane::test
