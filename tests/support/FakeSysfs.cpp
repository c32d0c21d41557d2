#include "tests/support/FakeSysfs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <stdexcept>

#include "tests/support/RomBuilder.h"

namespace vorlane::test {

namespace fs = std::filesystem;

namespace {

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace

std::string resourceFile(const std::string& romLine) {
    // As Debian's 6.1 kernel showed it for QEMU's emulated Radeon: three BARs (memory, I/O,
    // registers), the ROM, and the six lines of resources the card does not have.
    const std::string unused = "0x0000000000000000 0x0000000000000000 0x0000000000000000\n";
    std::string text =
        "0x00000000f8000000 0x00000000f8ffffff 0x0000000000042208\n"
        "0x000000000000c000 0x000000000000c0ff 0x0000000000040101\n"
        "0x00000000fe838000 0x00000000fe83bfff 0x0000000000040200\n" +
        unused + unused + unused + romLine + "\n";
    for (int i = 0; i < 6; ++i) {
        text += unused;
    }
    return text;
}

FakeSysfs::FakeSysfs(std::string root) : root_(std::move(root)) {
    fs::create_directories(root_ + "/bus/pci/devices");
    fs::create_directories(root_ + "/devices/pci0000:00");
}

std::string FakeSysfs::folderOf(const std::string& address) const {
    return root_ + "/devices/pci0000:00/" + address;
}

std::string FakeSysfs::add(const FakeDevice& device) {
    const std::string folder = folderOf(device.address);
    fs::create_directories(folder);
    writeText(folder + "/vendor", device.vendor);
    writeText(folder + "/device", device.device);
    writeText(folder + "/subsystem_vendor", device.subsystemVendor);
    writeText(folder + "/subsystem_device", device.subsystemDevice);
    writeText(folder + "/class", device.deviceClass);
    if (device.bootVga) {
        writeText(folder + "/boot_vga", *device.bootVga);
    }
    if (device.resource) {
        writeText(folder + "/resource", *device.resource);
    }
    if (device.rom) {
        writeBytes(folder + "/rom", *device.rom);
        ::chmod((folder + "/rom").c_str(), 0600);  // as the kernel makes it
    }
    fs::create_directory_symlink("../../../devices/pci0000:00/" + device.address,
                                 root_ + "/bus/pci/devices/" + device.address);
    return folder;
}

RomPipeServer::RomPipeServer(const std::string& romPath, std::vector<uint8_t> bytes)
    : path_(romPath), bytes_(std::move(bytes)) {
    fs::remove(path_);
    if (::mkfifo(path_.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make a pipe at " + path_);
    }
    // A reader that stops early must not end the test program.
    std::signal(SIGPIPE, SIG_IGN);
    thread_ = std::thread([this] { serve(); });
}

RomPipeServer::~RomPipeServer() {
    stopping_ = true;
    while (!finished_) {
        release();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    thread_.join();
}

void RomPipeServer::record(std::string step) {
    const std::lock_guard lock(mutex_);
    steps_.push_back(std::move(step));
}

// Opening a pipe for both ends never waits, and it wakes a server waiting for its partner.
void RomPipeServer::release() {
    const int fd = ::open(path_.c_str(), O_RDWR | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
    }
}

void RomPipeServer::serve() {
    const auto readControl = [this] {
        const int fd = ::open(path_.c_str(), O_RDONLY);
        if (fd < 0 || stopping_) {
            if (fd >= 0) {
                ::close(fd);
            }
            return false;
        }
        std::string text;
        char buffer[64];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<size_t>(n));
        }
        ::close(fd);
        record("write:" + text);
        return true;
    };
    const auto serveDump = [this] {
        const int fd = ::open(path_.c_str(), O_WRONLY);
        if (fd < 0 || stopping_) {
            if (fd >= 0) {
                ::close(fd);
            }
            return false;
        }
        size_t done = 0;
        while (done < bytes_.size()) {
            const ssize_t n = ::write(fd, bytes_.data() + done, bytes_.size() - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        ::close(fd);
        record("read");
        return true;
    };
    if (readControl() && serveDump()) {
        readControl();
    }
    finished_ = true;
}

std::vector<std::string> RomPipeServer::steps() {
    for (int i = 0; i < 500 && !finished_; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::lock_guard lock(mutex_);
    return steps_;
}

}  // namespace vorlane::test
