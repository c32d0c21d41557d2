// Reading the font files people have into the 256 glyphs of one VGA font: raw VGA fonts and
// PC Screen Fonts (versions 1 and 2), either of them possibly gzip-compressed.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <span>

#include "image/CodePages.h"

namespace vorlane::fontfile {

// The glyphs of one font in code page order, `height` bytes each, bit 7 the leftmost pixel.
// A code whose character the file lacks is not `present`; its glyph bytes are zero.
struct CodePageFont {
    int height = 0;  // 8 or 16
    std::array<uint8_t, 256 * 16> glyphs{};
    std::bitset<256> present;

    std::span<const uint8_t> bytes() const {
        return {glyphs.data(), static_cast<size_t>(256 * height)};
    }
};

// Reads `file`, the whole content of a font file. `height` is the font wanted, 8 or 16, or 0 for
// either (a raw font then by its size, a PC Screen Font by its own height). A PC Screen Font with
// a Unicode table is mapped to `page`; one without gives its first 256 glyphs in order. Throws
// FontError saying what is wrong with anything else.
CodePageFont readFont(std::span<const uint8_t> file, int height, CodePage page);

}  // namespace vorlane::fontfile
