#include "card/RomReader.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <exception>
#include <system_error>
#include <utility>
#include <vector>

#include "card/Cards.h"
#include "image/Descriptor.h"
#include "image/FileError.h"
#include "image/posix/TerminatingSignals.h"

namespace vorlane::card {

namespace {

volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void recordSignal(int signal) {
    caughtSignal = signal;
}

// The mask to wait under while a catcher lives: the caller's, so that the caught signals are let
// in only inside ppoll and none lands unseen between a check and a wait.
const sigset_t* waitMask = nullptr;

// Catches the terminating signals while it lives and holds them blocked, so that none can end
// the program with the ROM exposed; they are let in only while the reader waits (ppoll) and when
// `finish` looks for them. A signal ignored when it starts stays ignored.
class SignalCatcher {
  public:
    SignalCatcher() {
        caughtSignal = 0;
        struct sigaction action {};
        action.sa_handler = recordSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigset_t blocked;
        sigemptyset(&blocked);
        for (const int signal : terminatingSignals()) {
            struct sigaction old {};
            if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) {
                continue;
            }
            sigaddset(&action.sa_mask, signal);
            sigaddset(&blocked, signal);
            replaced_.push_back({signal, old});
        }
        ::pthread_sigmask(SIG_BLOCK, &blocked, &callerMask_);
        for (const auto& [signal, old] : replaced_) {
            ::sigaction(signal, &action, nullptr);
        }
        waitMask = &callerMask_;
    }
    ~SignalCatcher() {
        finish();
        for (const auto& [signal, old] : replaced_) {
            ::sigaction(signal, &old, nullptr);
        }
    }
    SignalCatcher(const SignalCatcher&) = delete;
    SignalCatcher& operator=(const SignalCatcher&) = delete;

    int caught() const { return caughtSignal; }

    // Lets in what came while the signals were held, with this catcher's handler still in place,
    // and returns the signal caught, or 0.
    int finish() {
        if (waitMask != nullptr) {
            waitMask = nullptr;
            ::pthread_sigmask(SIG_SETMASK, &callerMask_, nullptr);
        }
        return caughtSignal;
    }

  private:
    std::vector<std::pair<int, struct sigaction>> replaced_;
    sigset_t callerMask_{};
};

// Lets the caught signals in while it lives (they are held blocked otherwise).
class SignalsLetIn {
  public:
    SignalsLetIn() {
        if (waitMask != nullptr) {
            ::pthread_sigmask(SIG_SETMASK, waitMask, &held_);
        }
    }
    ~SignalsLetIn() {
        if (waitMask != nullptr) {
            ::pthread_sigmask(SIG_SETMASK, &held_, nullptr);
        }
    }
    SignalsLetIn(const SignalsLetIn&) = delete;
    SignalsLetIn& operator=(const SignalsLetIn&) = delete;

  private:
    sigset_t held_{};
};

// Waits until `fd` can be read or a caught signal comes; false for the signal. Without a catcher
// it waits under the mask in force.
bool waitReadable(int fd) {
    pollfd poll{fd, POLLIN, 0};
    if (::ppoll(&poll, 1, nullptr, waitMask) >= 0) {
        return true;
    }
    // Anything but a signal: read() reports what is wrong with the file.
    return errno != EINTR;
}

}  // namespace

SysfsRomPort::SysfsRomPort(const std::string& sysfsRoot, const std::string& address) {
    const auto normal = normalizeAddress(address);
    if (!normal || *normal != address) {
        throw std::invalid_argument("not a PCI address: " + address);
    }
    folder_ = devicesFolder(sysfsRoot) + "/" + address;
    path_ = folder_ + "/rom";
}

int SysfsRomPort::openRom(int flags, const char* operation,
                          const std::function<bool()>& stop) const {
    // The device's entry is the kernel's link to its folder, and is followed; the rom file
    // inside it never is.
    const Descriptor folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        throwFileError(folder_, "open", errno);
    }
    for (;;) {
        // A pipe stands in for the kernel's file in tests; opening it waits for the other end.
        const int fd = ::openat(folder.get(), "rom", flags | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
        if (fd >= 0) {
            struct stat info {};
            if (::fstat(fd, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
                ::close(fd);
                throwFileError(path_, operation, ENXIO);
            }
            return fd;
        }
        if (errno != EINTR || stop()) {
            throwFileError(path_, operation, errno);
        }
    }
}

void SysfsRomPort::writeControl(std::string_view text) {
    // Never created, never truncated: the kernel's file is written at its start and that is all.
    const Descriptor fd(openRom(O_WRONLY, "open for writing", [] { return false; }));
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throwFileError(path_, "write", errno);
        }
        done += static_cast<size_t>(n);
    }
}

size_t SysfsRomPort::read(std::span<uint8_t> into, const std::function<bool()>& stop) {
    int raw = -1;
    try {
        // Opening a pipe that stands in for the kernel's file waits for its writer, and a signal
        // must be able to end that wait.
        const SignalsLetIn letIn;
        raw = openRom(O_RDONLY, "open", stop);
    } catch (const FileError& error) {
        if (stop()) {
            return 0;
        }
        throw;
    }
    const Descriptor fd(raw);
    size_t done = 0;
    while (done < into.size() && !stop()) {
        if (!waitReadable(fd.get())) {
            continue;  // a signal: stop() says so
        }
        const ssize_t n = ::read(fd.get(), into.data() + done, into.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throwFileError(path_, "read", errno);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

RomDump readRom(RomPort& port, size_t limit) {
    SignalCatcher signals;
    // Nothing was exposed when this fails, so there is nothing to hide either.
    port.writeControl(kRomEnable);

    RomDump dump;
    std::exception_ptr failure;
    size_t count = 0;
    try {
        // One byte more than the limit tells a ROM of exactly `limit` bytes from a longer one.
        dump.bytes.resize(limit + 1);
        if (signals.caught() == 0) {
            count = port.read(dump.bytes, [&signals] { return signals.caught() != 0; });
        }
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        port.writeControl(kRomDisable);
    } catch (...) {
        if (!failure) {
            failure = std::current_exception();
        }
    }
    if (const int signal = signals.finish(); signal != 0) {
        throw RomReadInterrupted(signal);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    dump.truncated = count > limit;
    dump.bytes.resize(std::min(count, limit));
    return dump;
}

}  // namespace vorlane::card
