// Which card an image is for, as the machine's firmware sees it, and the older ATI families whose
// images Vorlane reads but does not edit.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/ReportTexts.h"
#include "image/RomImage.h"

namespace vorlane {

struct PciIds {
    uint16_t vendorId = 0;
    uint16_t deviceId = 0;
};

// The vendor and device IDs of the PCI data structure that the word at 0x18 points to, in raw ROM
// bytes (the firmware runs an option ROM only when these match the card); nullopt without a
// 0x55 0xAA signature or a "PCIR" structure inside the bytes.
std::optional<PciIds> pciDataIds(std::span<const uint8_t> bytes);
// The same for the first `length` bytes of a loaded image.
std::optional<PciIds> pciDataIds(const CRomImage& image);

// The device ID the image is for: its PCI data structure's, or the ATI header's when it has no
// PCI data structure; nullopt when it has neither.
std::optional<uint16_t> firmwareDeviceId(const CRomImage& image);

enum class OlderFamily { None, Radeon7000, Radeon8500, Rage128, Mach64 };

// The older family of an ATI device ID, after the names in the PCI ID database.
OlderFamily olderFamilyOf(uint16_t deviceId);

// One plain sentence for a person when a failed image (status 4 or 7) is an intact BIOS of an
// older family; "" otherwise.
std::string olderFamilyNote(const CRomImage& image, RomStatus status,
                            const ReportTexts& texts = englishReportTexts());

}  // namespace vorlane
