// Reading a card's option ROM through its sysfs `rom` file, read-only towards the card: the file
// is only ever told to expose the ROM and, on every path afterwards, to hide it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane::card {

// No option ROM comes near this; a file that goes on is read no further.
constexpr size_t kRomReadLimit = 1024 * 1024;

// What the kernel understands on a `rom` file: "0\n" at its start hides the ROM, and anything
// else exposes it, so the two are written exactly as `echo` would.
constexpr std::string_view kRomEnable = "1\n";
constexpr std::string_view kRomDisable = "0\n";

// The `rom` file of one device, behind an interface so that tests can record the order of the
// calls and make them fail.
class RomPort {
  public:
    virtual ~RomPort() = default;
    // Writes `text` at the start of the rom file. Throws FileError.
    virtual void writeControl(std::string_view text) = 0;
    // Reads the rom file from its start until it ends or `into` is full, and returns the count;
    // returns early, with what it has, once `stop()` is true. Throws FileError.
    virtual size_t read(std::span<uint8_t> into, const std::function<bool()>& stop) = 0;
};

// The real thing: DEVICE/rom below ROOT/bus/pci/devices. Nothing but that one file is opened,
// and never through a link.
class SysfsRomPort : public RomPort {
  public:
    // Throws std::invalid_argument for an address not in the kernel's form.
    SysfsRomPort(const std::string& sysfsRoot, const std::string& address);
    const std::string& path() const { return path_; }

    void writeControl(std::string_view text) override;
    size_t read(std::span<uint8_t> into, const std::function<bool()>& stop) override;

  private:
    int openRom(int flags, const char* operation, const std::function<bool()>& stop) const;

    std::string folder_;
    std::string path_;
};

// A terminating signal (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE and every other that can be
// caught) came while the ROM was exposed; it has been hidden again, and the caller
// decides how to end (usually by raising the signal again).
class RomReadInterrupted : public std::runtime_error {
  public:
    explicit RomReadInterrupted(int signal) : std::runtime_error("interrupted"), signal_(signal) {}
    int signal() const { return signal_; }

  private:
    int signal_;
};

struct RomDump {
    std::vector<uint8_t> bytes;
    bool truncated = false;  // the file went on past `limit` bytes
};

// Exposes the ROM, reads at most `limit` bytes and hides it again, also when the read fails or
// a signal comes. Throws FileError (nothing was read, or the ROM could not be hidden again) or
// RomReadInterrupted.
RomDump readRom(RomPort& port, size_t limit = kRomReadLimit);

}  // namespace vorlane::card
