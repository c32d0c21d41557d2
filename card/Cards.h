// The ATI display cards of this machine, as the kernel lists PCI devices under sysfs. Reads only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/PciData.h"

namespace vorlane::card {

// What showed a ROM resource to be the start-up copy in memory; the messages name what was seen.
enum class StartupCopyMark {
    None = 0,
    Address = 1,     // the resource starts at 0xC0000
    ShadowFlag = 2,  // the kernel flagged it as a shadow copy (0x2)
    Both = 3,
};

struct DisplayCard {
    std::string address;  // as the device's folder is named, "0000:01:00.0"
    uint16_t vendorId = 0;
    uint16_t deviceId = 0;
    uint16_t subsystemVendorId = 0;
    uint16_t subsystemId = 0;
    bool bootVga = false;  // the card the firmware initialised at boot
    bool hasRom = false;   // the kernel offers its option ROM as a `rom` file
    // The kernel's `rom` file serves the copy of a video BIOS that the boot firmware left in
    // memory at 0xC0000, not the card's ROM chip: the ROM resource (the seventh line of the
    // `resource` file) starts there or carries the shadow flag.
    bool romIsStartupCopy = false;
    StartupCopyMark startupCopyMark = StartupCopyMark::None;
};

// A device folder that could not be understood, and why; it is left out of the listing.
struct SkippedDevice {
    std::string path;
    std::string reason;
};

struct CardListing {
    std::vector<DisplayCard> cards;  // in address order
    std::vector<SkippedDevice> skipped;
};

// ROOT/bus/pci/devices, where ROOT is where sysfs is mounted ("/sys").
std::string devicesFolder(const std::string& sysfsRoot);

// Every device whose vendor is ATI and whose class is a display controller. Throws FileError
// when the devices folder itself cannot be read.
CardListing listAtiCards(const std::string& sysfsRoot);

// Whether the seventh line of a device's `resource` file, its ROM resource as "0xSTART 0xEND
// 0xFLAGS", marks the copy in memory: it starts at 0xC0000 or has the shadow flag (0x2). Anything
// else, a missing or malformed line too, is the card's own ROM.
bool resourceMarksStartupCopy(std::string_view resourceFile);
// The same, saying which of the two marks it carries.
StartupCopyMark startupCopyMarkOf(std::string_view resourceFile);

// "0000:01:00.0", or "01:00.0" in domain 0, hexadecimal digits in either case, as the kernel
// names the folder (lower case, with the domain); nullopt for anything else.
std::optional<std::string> normalizeAddress(std::string_view text);

}  // namespace vorlane::card
