// What differs between two images: their bytes, the fields of their info records and the glyphs
// of their fonts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/Info.h"
#include "image/RomImage.h"

namespace vorlane {

// An image as it was compared: loaded, then validated with `status`. Validation shortens
// `length` to the declared size, so the count of bytes the file supplied is kept beside it.
struct ComparedImage {
    const CRomImage& image;
    RomStatus status;
    size_t loadedSize;  // at most CRomImage::kBufferSize
};

struct ByteRange {
    uint32_t first;
    uint32_t length;
    bool operator==(const ByteRange&) const = default;
};

struct FieldChange {
    std::string_view key;
    InfoValue a;
    InfoValue b;
};

struct ImageDiff {
    // Consecutive differing offsets over the longer of the two loaded sizes; an offset that only
    // one image has differs.
    std::vector<ByteRange> byteRanges;
    size_t bytesDiffering = 0;
    // The info fields whose values differ, in record order.
    std::vector<FieldChange> fields;
    // Glyph codes whose bytes differ, ascending; compared only when both images located that font.
    bool fonts8x16Compared = false;
    bool fonts8x8Compared = false;
    std::vector<int> glyphs8x16;
    std::vector<int> glyphs8x8;

    bool identical() const { return bytesDiffering == 0; }
};

ImageDiff compareImages(const ComparedImage& a, const ComparedImage& b);

}  // namespace vorlane
