// Whether an image file is fit to be written to a card's flash chip: what would brick a card or
// lose part of the image, found before anyone starts a flash tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// `image` as `validate` left it with `status`; `fileSize` is the size of the whole file, which
// may exceed what the image buffer holds. `moreThanSize`: the file was read no further than
// `fileSize` bytes and goes on (standard input has no size), so it is larger than that, by how
// much unknown. Errors come before warnings, each in a fixed order.
std::vector<CheckFinding> checkImage(const CRomImage& image, RomStatus status, uint64_t fileSize,
                                     const CheckRequest& request, bool moreThanSize = false);

inline bool hasError(const std::vector<CheckFinding>& findings) {
    for (const CheckFinding& finding : findings) {
        if (finding.level == CheckFinding::Level::Error) {
            return true;
        }
    }
    return false;
}

}  // namespace vorlane
