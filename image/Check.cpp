#include "image/Check.h"

#include <algorithm>

#include "image/FileIo.h"
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

// Bytes past `length` that a flash programmer would take for the image's own: anything but
// padding of erased bytes.
bool hasTrailingBytes(const CRomImage& image, uint64_t fileSize, const FileTail& fileTail) {
    const auto length = static_cast<uint64_t>(image.validLength());
    if (fileSize <= length) {
        return false;
    }
    const uint64_t inBuffer = std::min<uint64_t>(fileSize, CRomImage::kBufferSize);
    const std::span<const uint8_t> tail(image.data.data() + length, inBuffer - length);
    return !isErased(tail) ||
           (fileSize > inBuffer && (fileTail.moreThanSize || !fileTail.erasedPastBuffer));
}

}  // namespace

bool isErased(std::span<const uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == kErasedByte; });
}

std::vector<CheckFinding> checkImage(const CRomImage& image, RomStatus status, uint64_t fileSize,
                                     const CheckRequest& request, const FileTail& tail,
                                     const ReportTexts& texts) {
    using Level = CheckFinding::Level;
    const bool moreThanSize = tail.moreThanSize;
    std::vector<CheckFinding> findings;
    const auto add = [&](Level level, const char* code, std::string message) {
        findings.push_back({level, code, std::move(message)});
    };
    const std::string bytes = countText(texts, texts.sizeBytes, fileSize);
    const std::string size = moreThanSize ? fillPlaces(texts.moreThan, {bytes}) : bytes;
    const std::string chip = request.chipSize ? std::to_string(*request.chipSize) : "";
    const bool valid = status == kRomOk;
    // A file known only to be larger than `fileSize` is larger than a chip of that size too; it
    // is never known to be smaller than a chip.
    const bool tooBigForChip =
        request.chipSize &&
        (fileSize > *request.chipSize || (moreThanSize && fileSize >= *request.chipSize));
    const bool tooBigForAnyChip =
        fileSize > kLargestChipSize || (moreThanSize && fileSize >= kLargestChipSize);
    const bool smaller = request.chipSize && !moreThanSize && fileSize < *request.chipSize;

    if (!valid) {
        add(Level::Error, "status", texts.statusMessage(status));
    } else {
        if (image.vendorId != kAtiVendorId) {
            add(Level::Error, "vendor",
                fillPlaces(texts.vendorMessage, {formatPlain("%04x", image.vendorId)}));
        }
        if (request.deviceId && image.deviceId != *request.deviceId) {
            add(Level::Error, "device",
                fillPlaces(texts.deviceMessage, {formatPlain("%04x", image.deviceId),
                                                 formatPlain("%04x", *request.deviceId)}));
        }
        const uint8_t codeType = pciData(image).codeType;
        if (codeType != PciData::kCodeTypePc) {
            add(Level::Error, "code-type",
                fillPlaces(texts.codeTypeMessage,
                           {std::to_string(codeType), codeTypeName(codeType)}));
        }
    }
    if (tooBigForChip) {
        add(Level::Error, "too-big", fillPlaces(texts.tooBigMessage, {size, chip}));
    } else if (tooBigForAnyChip) {
        add(Level::Error, "too-big",
            fillPlaces(texts.tooBigForAnyChipMessage,
                       {size, countText(texts, texts.sizeBytes, kLargestChipSize)}));
    }
    if (valid) {
        if (hasTrailingBytes(image, fileSize, tail)) {
            const std::string declared = std::to_string(image.length);
            add(Level::Warning, "trailing-bytes",
                fillPlaces(texts.trailingBytesMessage,
                           {size, declared,
                            countText(texts, texts.sizeBytes,
                                      static_cast<uint64_t>(image.validLength()), declared)}));
        }
        if (!pciData(image).lastImage()) {
            add(Level::Warning, "more-images", texts.moreImagesMessage);
        }
    }
    if (smaller) {
        add(Level::Warning, "smaller-than-chip",
            fillPlaces(texts.smallerThanChipMessage, {size, chip}));
    }
    return findings;
}

std::string padRefusal(const CRomImage& image, RomStatus status, uint64_t fileSize,
                       uint64_t chipSize, bool moreThanSize) {
    if (fileSize > chipSize || (moreThanSize && fileSize >= chipSize)) {
        return formatPlain(moreThanSize ? "the file is more than %llu bytes, the chip holds %llu"
                                        : "the file is %llu bytes, the chip holds %llu",
                           static_cast<unsigned long long>(fileSize),
                           static_cast<unsigned long long>(chipSize));
    }
    // What may not be saved may not be padded either: dressed up to a chip's size, a file that
    // is no BIOS of this family would look ready to flash.
    if (const char* refusal = saveRefusal(status, image.length)) {
        if (status < kRomTooSmall || status > kRomNotAti) {
            return refusal;
        }
        return formatPlain("status %d, ", status) + oneLine(CRomImage::statusMessage(status)) +
               ": not a BIOS of this family";
    }
    return {};
}

void writePadded(const std::string& path, std::span<const uint8_t> bytes, uint64_t chipSize,
                 WriteTo to) {
    const std::vector<uint8_t> padding(chipSize > bytes.size() ? chipSize - bytes.size() : 0,
                                       kErasedByte);
    writeFileAtomically(path, {bytes, padding}, to);
}

}  // namespace vorlane
