#include "image/Diff.h"

#include <algorithm>
#include <cstring>

namespace vorlane {

namespace {

void compareBytes(const ComparedImage& a, const ComparedImage& b, ImageDiff& diff) {
    const size_t sizeA = std::min<size_t>(a.loadedSize, CRomImage::kBufferSize);
    const size_t sizeB = std::min<size_t>(b.loadedSize, CRomImage::kBufferSize);
    const size_t common = std::min(sizeA, sizeB);
    const uint8_t* pa = a.image.data.data();
    const uint8_t* pb = b.image.data.data();
    // Edited images share nearly all their bytes: mismatch skips the equal stretches quickly.
    size_t at = 0;
    while (at < common) {
        at = static_cast<size_t>(std::mismatch(pa + at, pa + common, pb + at).first - pa);
        if (at == common) {
            break;
        }
        const size_t first = at;
        while (at < common && pa[at] != pb[at]) {
            ++at;
        }
        diff.byteRanges.push_back(
            {static_cast<uint32_t>(first), static_cast<uint32_t>(at - first)});
    }
    const size_t longer = std::max(sizeA, sizeB);
    if (longer > common) {
        // The tail that only one file has joins a range that ends where it starts.
        if (!diff.byteRanges.empty() &&
            diff.byteRanges.back().first + diff.byteRanges.back().length == common) {
            diff.byteRanges.back().length += static_cast<uint32_t>(longer - common);
        } else {
            diff.byteRanges.push_back(
                {static_cast<uint32_t>(common), static_cast<uint32_t>(longer - common)});
        }
    }
    for (const ByteRange& range : diff.byteRanges) {
        diff.bytesDiffering += range.length;
    }
}

void compareFields(const ComparedImage& a, const ComparedImage& b, ImageDiff& diff) {
    InfoRecord recordA = infoRecord(a.image, a.status);
    InfoRecord recordB = infoRecord(b.image, b.status);
    // Both records come from the one builder, so their keys match position by position.
    for (size_t i = 0; i < recordA.size() && i < recordB.size(); ++i) {
        if (!sameInfoValue(recordA[i].value, recordB[i].value)) {
            diff.fields.push_back(
                {recordA[i].key, std::move(recordA[i].value), std::move(recordB[i].value)});
        }
    }
}

// True when both fonts were located (and so compared); the differing codes go to `codes`.
bool compareGlyphs(const CRomImage& a, uint16_t offsetA, const CRomImage& b, uint16_t offsetB,
                   int glyphSize, std::vector<int>& codes) {
    if (offsetA == 0 || offsetB == 0) {
        return false;
    }
    const auto fontA = a.fontBytes(offsetA, glyphSize * 256);
    const auto fontB = b.fontBytes(offsetB, glyphSize * 256);
    for (int code = 0; code < 256; ++code) {
        const size_t at = static_cast<size_t>(code * glyphSize);
        if (std::memcmp(fontA.data() + at, fontB.data() + at, static_cast<size_t>(glyphSize)) !=
            0) {
            codes.push_back(code);
        }
    }
    return true;
}

}  // namespace

ImageDiff compareImages(const ComparedImage& a, const ComparedImage& b) {
    ImageDiff diff;
    compareBytes(a, b, diff);
    compareFields(a, b, diff);
    diff.fonts8x16Compared = compareGlyphs(a.image, a.image.font8x16Offset, b.image,
                                           b.image.font8x16Offset, 16, diff.glyphs8x16);
    diff.fonts8x8Compared = compareGlyphs(a.image, a.image.font8x8Offset, b.image,
                                          b.image.font8x8Offset, 8, diff.glyphs8x8);
    return diff;
}

}  // namespace vorlane
