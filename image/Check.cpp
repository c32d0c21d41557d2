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
                                     const CheckRequest& request, bool moreThanSize) {
    using Level = CheckFinding::Level;
    std::vector<CheckFinding> findings;
    const auto add = [&](Level level, const char* code, std::string message) {
        findings.push_back({level, code, std::move(message)});
    };
    const std::string size = formatPlain(moreThanSize ? "more than %llu" : "%llu",
                                         static_cast<unsigned long long>(fileSize));
    const bool valid = status == kRomOk;
    // A file known only to be larger than `fileSize` is larger than a chip of that size too; it
    // is never known to be smaller than a chip.
    const bool tooBig = request.chipSize && (fileSize > *request.chipSize ||
                                             (moreThanSize && fileSize >= *request.chipSize));
    const bool smaller = request.chipSize && !moreThanSize && fileSize < *request.chipSize;

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
    if (tooBig) {
        add(Level::Error, "too-big",
            formatPlain("the file is %s bytes, the chip holds %llu", size.c_str(),
                        static_cast<unsigned long long>(*request.chipSize)));
    }
    if (valid) {
        if (fileSize > static_cast<uint64_t>(image.length)) {
            add(Level::Warning, "trailing-bytes",
                formatPlain("the file is %s bytes, the image declares %d: the editor and edit save "
                            "only those %d bytes",
                            size.c_str(), image.length, image.length));
        }
        if (!pciData(image).lastImage()) {
            add(Level::Warning, "more-images",
                "another image follows this one (its PCI data structure does not mark it the "
                "last)");
        }
    }
    if (smaller) {
        add(Level::Warning, "smaller-than-chip",
            formatPlain("the file is %s bytes, the chip holds %llu: the rest of the chip is not "
                        "part of the image",
                        size.c_str(), static_cast<unsigned long long>(*request.chipSize)));
    }
    return findings;
}

}  // namespace vorlane
