#include "card/RomReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <exception>
#include <system_error>

#include "card/Cards.h"
#include "image/Descriptor.h"
#include "image/FileError.h"

namespace vorlane::card {

namespace {

volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void recordSignal(int signal) {
    caughtSignal = signal;
}

// Catches SIGINT and SIGTERM while it lives, without restarting system calls, so that a read
// blocked on the card returns and the ROM can be hidden before the program ends.
class SignalCatcher {
  public:
    SignalCatcher() {
        caughtSignal = 0;
        struct sigaction action {};
        action.sa_handler = recordSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        ::sigaction(SIGINT, &action, &oldInt_);
        ::sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~SignalCatcher() {
        ::sigaction(SIGINT, &oldInt_, nullptr);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    SignalCatcher(const SignalCatcher&) = delete;
    SignalCatcher& operator=(const SignalCatcher&) = delete;

    int caught() const { return caughtSignal; }

  private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

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
    const SignalCatcher signals;
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
    if (signals.caught() != 0) {
        throw RomReadInterrupted(signals.caught());
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    dump.truncated = count > limit;
    dump.bytes.resize(std::min(count, limit));
    return dump;
}

}  // namespace vorlane::card
