// The PCI data structure of an option ROM image, which the ROM header points to at 0x18: its
// fields declared once, for the parser and the pre-flash check alike.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>

namespace vorlane {

// The PCI vendor ID of ATI, whose cards these images are for.
inline constexpr uint16_t kAtiVendorId = 0x1002;

struct PciData {
    static constexpr uint32_t kPointerAt = 0x18;  // in the ROM header: where the structure is
    static constexpr char kSignature[4] = {'P', 'C', 'I', 'R'};
    static constexpr uint32_t kVendorIdAt = 0x04;
    static constexpr uint32_t kDeviceIdAt = 0x06;
    static constexpr uint32_t kImageLengthAt = 0x10;  // in units of 512 bytes
    static constexpr uint32_t kCodeTypeAt = 0x14;
    static constexpr uint32_t kIndicatorAt = 0x15;
    static constexpr uint8_t kCodeTypePc = 0;    // x86, the BIOS's own
    static constexpr uint8_t kLastImage = 0x80;  // in the indicator: no image follows

    uint16_t vendorId = 0;
    uint16_t deviceId = 0;
    uint16_t imageLength = 0;
    uint8_t codeType = 0;
    uint8_t indicator = 0;

    // The structure at `offset` of `bytes`; a byte that would lie past them reads as erased
    // flash (0xFF).
    static PciData read(std::span<const uint8_t> bytes, uint32_t offset) {
        const auto byte = [&](uint32_t at) -> uint8_t {
            const uint64_t where = uint64_t{offset} + at;
            return where < bytes.size() ? bytes[where] : 0xFF;
        };
        const auto word = [&](uint32_t at) {
            return static_cast<uint16_t>(byte(at) | byte(at + 1) << 8);
        };
        return {word(kVendorIdAt), word(kDeviceIdAt), word(kImageLengthAt), byte(kCodeTypeAt),
                byte(kIndicatorAt)};
    }

    // Whether "PCIR" stands at `offset` of `bytes`.
    static bool signedAt(std::span<const uint8_t> bytes, uint32_t offset) {
        return uint64_t{offset} + sizeof kSignature <= bytes.size() &&
               std::memcmp(bytes.data() + offset, kSignature, sizeof kSignature) == 0;
    }

    bool lastImage() const { return (indicator & kLastImage) != 0; }
};

}  // namespace vorlane
