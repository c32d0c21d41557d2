// Whether an image file is fit to be written to a card's flash chip: what would brick a card or
// lose part of the image, found before anyone starts a flash tool.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/ReportTexts.h"
#include "image/RomImage.h"

namespace vorlane {

struct CheckFinding {
    enum class Level { Error, Warning };
    Level level = Level::Error;
    std::string code;     // "status", "vendor", "device", "code-type", "too-big", ...
    std::string message;  // a sentence for a person
};

struct CheckRequest {
    std::optional<uint64_t> chipSize;  // bytes the flash chip holds
    std::optional<uint16_t> deviceId;  // the device ID of the card the image is meant for
};

// The largest flash chip of these cards, with room to spare: none comes near 16 MiB. `pad` builds
// no chip larger, and `check` reads a file this far and one byte more, so that all `pad` writes
// is seen and anything longer is too big for any chip.
inline constexpr uint64_t kLargestChipSize = 16 * 1024 * 1024;

// The erased state of a flash chip: what programmers fill a chip with past the image.
inline constexpr uint8_t kErasedByte = 0xFF;

// True when every byte is kErasedByte (and for none at all).
bool isErased(std::span<const uint8_t> bytes);

// What is known of the file past the bytes that the image buffer holds.
struct FileTail {
    // The file was read no further than `fileSize` bytes and goes on (standard input has no
    // size), so it is larger than that, by how much unknown.
    bool moreThanSize = false;
    // Every byte of the file past the image buffer is erased; unknown counts as not.
    bool erasedPastBuffer = false;
};

// `image` as `validate` left it with `status`, its buffer holding the first bytes of a file of
// `fileSize` bytes, which may exceed what the buffer holds. Bytes past `length` that are all
// erased are padding, not trailing bytes. Errors come before warnings, each in a fixed order.
// The messages are in the words of `texts`.
std::vector<CheckFinding> checkImage(const CRomImage& image, RomStatus status, uint64_t fileSize,
                                     const CheckRequest& request, const FileTail& tail = {},
                                     const ReportTexts& texts = englishReportTexts());

inline bool hasError(const std::vector<CheckFinding>& findings) {
    for (const CheckFinding& finding : findings) {
        if (finding.level == CheckFinding::Level::Error) {
            return true;
        }
    }
    return false;
}

// Why a file of `fileSize` bytes whose image (`image`, validated with `status`) may not be
// padded to a chip of `chipSize` bytes: larger than the chip, or what saveRefusal refuses (no
// BIOS of this family, status 1 to 4). Empty when it may. With `moreThanSize` the file was read
// no further than `fileSize` bytes and goes on (standard input).
std::string padRefusal(const CRomImage& image, RomStatus status, uint64_t fileSize,
                       uint64_t chipSize, bool moreThanSize = false);

// Writes `bytes` followed by erased bytes up to `chipSize`, atomically; `bytes` themselves are
// written as they are. Throws FileError. `to` as for writeFileAtomically.
void writePadded(const std::string& path, std::span<const uint8_t> bytes, uint64_t chipSize,
                 WriteTo to = WriteTo::AnyFile);

}  // namespace vorlane
