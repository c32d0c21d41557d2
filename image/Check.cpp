#include "image/Check.h"

#include <algorithm>

#include "image/FileIo.h"
#include "image/Text.h"

namespace vorlane {

namespace {

constexpr uint16_t kAtiVendorId = 0x1002;
constexpr uint32_t kCodeTypeOffset = 0x14;   // in the PCI data structure
constexpr uint32_t kIndicatorOffset = 0x15;  // bit 7 set: the last image of the ROM
constexpr uint8_t kCodeTypePc = 0;

// A byte of the PCI data structure; one that would lie past the buffer reads as erased flash.
uint8_t pcirByte(const CRomImage& image, uint32_t offset) {
    const uint32_t at = image.pcirOffset + offset;
    return at < static_cast<uint32_t>(CRomImage::kBufferSize) ? image.data[at] : 0xFF;
}

const char* codeTypeName(uint8_t type) {
    switch (type) {
        case 1:
            return " (Open Firmware)";
        case 2:
            return " (PA-RISC)";
        case 3:
            return " (EFI)";
        default:
            return "";
    }
}

// Bytes past `length` that a flash programmer would take for the image's own: anything but
// padding of erased bytes.
bool hasTrailingBytes(const CRomImage& image, uint64_t fileSize, bool erasedPastBuffer) {
    const auto length = static_cast<uint64_t>(image.validLength());
    if (fileSize <= length) {
        return false;
    }
    const uint64_t inBuffer = std::min<uint64_t>(fileSize, CRomImage::kBufferSize);
    const std::span<const uint8_t> tail(image.data.data() + length, inBuffer - length);
    return !isErased(tail) || (fileSize > inBuffer && !erasedPastBuffer);
}

}  // namespace

bool isErased(std::span<const uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == kErasedByte; });
}

std::vector<CheckFinding> checkImage(const CRomImage& image, RomStatus status, uint64_t fileSize,
                                     const CheckRequest& request, bool erasedPastBuffer) {
    using Level = CheckFinding::Level;
    std::vector<CheckFinding> findings;
    const auto add = [&](Level level, const char* code, std::string message) {
        findings.push_back({level, code, std::move(message)});
    };
    const auto size = static_cast<unsigned long long>(fileSize);
    const bool valid = status == kRomOk;

    if (!valid) {
        add(Level::Error, "status", CRomImage::statusMessage(status));
    } else {
        if (image.vendorId != kAtiVendorId) {
            add(Level::Error, "vendor",
                formatPlain("the PCI vendor ID is %04x, not ATI's 1002", image.vendorId));
        }
        if (request.deviceId && image.deviceId != *request.deviceId) {
            add(Level::Error, "device",
                formatPlain("the image is for device %04x, not %04x", image.deviceId,
                            *request.deviceId));
        }
        const uint8_t codeType = pcirByte(image, kCodeTypeOffset);
        if (codeType != kCodeTypePc) {
            add(Level::Error, "code-type",
                formatPlain("the PCI data structure's code type is %u%s, not 0: not a PC image",
                            codeType, codeTypeName(codeType)));
        }
    }
    if (request.chipSize && fileSize > *request.chipSize) {
        add(Level::Error, "too-big",
            formatPlain("the file is %llu bytes, the chip holds %llu", size,
                        static_cast<unsigned long long>(*request.chipSize)));
    }
    if (valid) {
        if (hasTrailingBytes(image, fileSize, erasedPastBuffer)) {
            add(Level::Warning, "trailing-bytes",
                formatPlain(
                    "the file is %llu bytes, the image declares %d: the editor and edit save "
                    "only those %d bytes",
                    size, image.length, image.length));
        }
        if ((pcirByte(image, kIndicatorOffset) & 0x80) == 0) {
            add(Level::Warning, "more-images",
                "another image follows this one (its PCI data structure does not mark it the "
                "last)");
        }
    }
    if (request.chipSize && fileSize < *request.chipSize) {
        add(Level::Warning, "smaller-than-chip",
            formatPlain("the file is %llu bytes, the chip holds %llu: the rest of the chip is not "
                        "part of the image",
                        size, static_cast<unsigned long long>(*request.chipSize)));
    }
    return findings;
}

std::string padRefusal(RomStatus status, uint64_t fileSize, uint64_t chipSize) {
    if (fileSize > chipSize) {
        return formatPlain("the file is %llu bytes, the chip holds %llu",
                           static_cast<unsigned long long>(fileSize),
                           static_cast<unsigned long long>(chipSize));
    }
    // The statuses that leave no BIOS of this family: padding would dress up a file that is
    // none as one ready to flash.
    if (status >= kRomTooSmall && status <= kRomNotAti) {
        return formatPlain("status %d, ", status) + oneLine(CRomImage::statusMessage(status)) +
               ": not a BIOS of this family";
    }
    return {};
}

void writePadded(const std::string& path, std::span<const uint8_t> bytes, uint64_t chipSize) {
    const std::vector<uint8_t> padding(chipSize > bytes.size() ? chipSize - bytes.size() : 0,
                                       kErasedByte);
    writeFileAtomically(path, {bytes, padding});
}

}  // namespace vorlane
