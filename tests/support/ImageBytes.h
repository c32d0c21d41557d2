// Helpers shared by the core's tests: an image loaded and validated the way the editor does it,
// and slices of its bytes.
#pragma once

#include <vector>

#include "image/RomImage.h"
#include "tests/support/RomBuilder.h"

namespace vorlane::test {

inline CRomImage validated(const RomBuilder& builder) {
    CRomImage image;
    image.loadBytes(builder.build());
    image.validate();
    return image;
}

inline std::vector<uint8_t> bytesAt(const CRomImage& image, size_t at, size_t count) {
    return {image.data.begin() + at, image.data.begin() + at + count};
}

}  // namespace vorlane::test
