// The two font sets the program carries: the standard set (PC code page 437 layout) and the
// Cyrillic set (code page 866 letters, code page 437 elsewhere). Each set is an 8x8 font of
// 2048 bytes and an 8x16 font of 4096 bytes, glyph n at n x height, bit 7 the leftmost pixel.
#pragma once

#include <array>
#include <cstdint>

namespace vorlane {

struct BuiltinFontSet {
    const std::array<uint8_t, 2048>& font8x8;
    const std::array<uint8_t, 4096>& font8x16;
};

extern const std::array<uint8_t, 2048> kStandardFont8x8;
extern const std::array<uint8_t, 4096> kStandardFont8x16;
extern const std::array<uint8_t, 2048> kCyrillicFont8x8;
extern const std::array<uint8_t, 4096> kCyrillicFont8x16;

inline BuiltinFontSet builtinFontSet(bool cyrillic) {
    return cyrillic ? BuiltinFontSet{kCyrillicFont8x8, kCyrillicFont8x16}
                    : BuiltinFontSet{kStandardFont8x8, kStandardFont8x16};
}

}  // namespace vorlane
