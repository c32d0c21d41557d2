// Font files made from one VGA font (256 glyphs, 8 pixels wide, `height` bytes each): a PC Screen
// Font 2 with a Unicode table, and a PNG picture of the glyphs.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/CodePages.h"

namespace vorlane::fontfile {

// A PC Screen Font 2 whose Unicode table gives each glyph the character its code stands for in
// `page`, so that reading it back with the same page returns the same glyphs.
std::vector<uint8_t> encodePsf2(std::span<const uint8_t> glyphs, int height, CodePage page);

// Scale factors of the picture.
inline constexpr int kMinPngScale = 1;
inline constexpr int kMaxPngScale = 8;

// An 8-bit greyscale PNG of the glyphs in a 16 x 16 grid (glyph g at column g mod 16, row
// g div 16, no spacing), each font pixel a `scale` x `scale` block, lit pixels 255, others 0.
std::vector<uint8_t> encodePng(std::span<const uint8_t> glyphs, int height, int scale);

}  // namespace vorlane::fontfile
