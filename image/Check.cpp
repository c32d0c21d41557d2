#include "image/Check.h"

#include "image/PciData.h"
#include "image/Text.h"

namespace vorlane {

namespace {

// The image's PCI data structure, its fields past the buffer reading as erased flash.
PciData pciData(const CRomImage& image) {
    return PciData::read(image.data, image.pcirOffset);
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

}  // namespace

std::vector<CheckFinding> checkImage(const CRomImage& image, RomStatus status, uint64_t fileSize,
                                     const CheckRequest& request) {
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
        const uint8_t codeType = pciData(image).codeType;
        if (codeType != PciData::kCodeTypePc) {
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
        if (fileSize > static_cast<uint64_t>(image.length)) {
            add(Level::Warning, "trailing-bytes",
                formatPlain(
                    "the file is %llu bytes, the image declares %d: the editor and edit save "
                    "only those %d bytes",
                    size, image.length, image.length));
        }
        if (!pciData(image).lastImage()) {
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

}  // namespace vorlane
