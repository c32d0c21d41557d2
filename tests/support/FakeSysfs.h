// A sysfs tree for tests, laid out as the kernel lays it out: each device's folder under
// devices/, reached through a link in bus/pci/devices. Its `rom` file can be a pipe served by a
// thread that plays the kernel's part and records what the program wrote.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vorlane::test {

struct FakeDevice {
    std::string address = "0000:01:00.0";
    std::string vendor = "0x1002\n";
    std::string device = "0x5159\n";
    std::string subsystemVendor = "0x1002\n";
    std::string subsystemDevice = "0x0008\n";
    std::string deviceClass = "0x030000\n";
    std::optional<std::string> bootVga = "0\n";                        // nullopt: no such file
    std::optional<std::vector<uint8_t>> rom = std::vector<uint8_t>{};  // nullopt: no rom file
    std::optional<std::string> resource = std::nullopt;                // nullopt: no such file
};

// A `resource` file as the kernel writes it for a display card: one line per resource, the ROM's
// seventh, given here as "0xSTART 0xEND 0xFLAGS".
std::string resourceFile(const std::string& romLine);
// The ROM resource lines the kernel showed: a ROM read through the card's own ROM BAR (behind a
// bridge), and the start-up copy it serves for a display card on the root bus.
inline const std::string kRomBarLine = "0x00000000fe800000 0x00000000fe80ffff 0x0000000000046200";
inline const std::string kStartupCopyLine =
    "0x00000000000c0000 0x00000000000dffff 0x0000000000000212";

class FakeSysfs {
  public:
    // Creates ROOT/bus/pci/devices (empty) below `root`.
    explicit FakeSysfs(std::string root);

    const std::string& root() const { return root_; }
    // Adds the device's folder and its link; returns the folder.
    std::string add(const FakeDevice& device);
    std::string folderOf(const std::string& address) const;
    std::string romOf(const std::string& address) const { return folderOf(address) + "/rom"; }

  private:
    std::string root_;
};

// Replaces a device's rom file with a pipe and serves it as the kernel serves its file: reads
// what the program writes to enable the ROM, hands out `bytes` to the next reader, then reads
// what the program writes to disable it. Every step is recorded in order.
class RomPipeServer {
  public:
    RomPipeServer(const std::string& romPath, std::vector<uint8_t> bytes);
    ~RomPipeServer();
    RomPipeServer(const RomPipeServer&) = delete;
    RomPipeServer& operator=(const RomPipeServer&) = delete;

    // Waits for the server to finish (or gives up after a few seconds) and returns its record:
    // "write:TEXT" for what the program wrote, "read" for a dump handed out.
    std::vector<std::string> steps();

  private:
    void serve();
    void record(std::string step);
    void release();

    std::string path_;
    std::vector<uint8_t> bytes_;
    std::mutex mutex_;
    std::vector<std::string> steps_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace vorlane::test
