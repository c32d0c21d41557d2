// What a paint handler draws with: a few primitives in client coordinates over the backend's
// drawing surface, so dialog code that paints names no toolkit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "dialogkit/Types.h"

namespace vorlane::dk {

class Icon;
// What the backend paints on, and what it keeps for the context while a paint lasts.
class PaintSurface;

// For each byte, the pixel mask of each of its 8 bits, bit 7 first: all ones where the bit is set.
inline constexpr auto kBitMasks = [] {
    std::array<std::array<uint32_t, 8>, 256> masks{};
    for (unsigned bits = 0; bits < 256; ++bits) {
        for (unsigned j = 0; j < 8; ++j) {
            masks[bits][j] = (bits & (0x80u >> j)) != 0 ? 0xFFFFFFFFu : 0u;
        }
    }
    return masks;
}();

class PaintContext {
  public:
    explicit PaintContext(PaintSurface& surface);
    ~PaintContext();
    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;

    // Painted once something else is drawn or the paint ends. Pixels set on it meanwhile are
    // written into an image of the filled area, and the fill with all its pixels reaches the
    // screen in one call: tens of thousands of pixels set one call at a time stay fast. Nothing
    // of it is kept from one paint to the next.
    void FillSolidRect(const Rect& rect, Rgb colour);

    // Sets the pixels (x + j, y), j = 0 to 7, whose bit 7 - j is set in `bits`; the others stay
    // as they were. Pixels off a pending fill are gathered and drawn in batches of one colour. The
    // order of drawing is kept throughout.
    void SetPixelRow(int x, int y, uint8_t bits, Rgb colour) {
        if (bits == 0) {
            return;
        }
        if (!onCanvas(x, y, 8)) {
            setPixelsSlowly(x, y, bits, colour);
            return;
        }
        // Without a branch per pixel: each is either kept or replaced through its mask. Worked on
        // in a copy, which the compiler knows overlaps nothing, so the row is done in vectors.
        uint32_t* at = canvasRow(y) + (x - canvas_.left);
        const uint32_t value = opaque(colour);
        const std::array<uint32_t, 8>& mask = kBitMasks[bits];
        std::array<uint32_t, 8> row;
        std::memcpy(row.data(), at, sizeof row);
        for (size_t j = 0; j < row.size(); ++j) {
            row[j] = (row[j] & ~mask[j]) | (value & mask[j]);
        }
        std::memcpy(at, row.data(), sizeof row);
    }

    void DrawIcon(int x, int y, const Icon& icon);

  private:
    static constexpr uint32_t opaque(Rgb c) {
        return 0xFF000000u | uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
    }
    bool onCanvas(int x, int y, int count) const {
        return pixels_ != nullptr && x >= canvas_.left && x + count <= canvas_.right &&
               y >= canvas_.top && y < canvas_.bottom;
    }
    uint32_t* canvasRow(int y) const {
        return pixels_ + static_cast<ptrdiff_t>(y - canvas_.top) * stride_;
    }
    void setPixelsSlowly(int x, int y, uint8_t bits, Rgb colour);
    bool makeCanvas();
    void flush();

    PaintSurface& surface_;
    // The fill not yet painted, and the image of it once a pixel has been set on it.
    bool fillPending_ = false;
    bool canvasRefused_ = false;  // too large, or no memory for it
    Rect fill_;
    Rgb fillColour_;
    Rect canvas_;
    uint32_t* pixels_ = nullptr;
    ptrdiff_t stride_ = 0;  // in pixels
    // Single pixels elsewhere (held by the surface), all of one colour.
    Rgb pointColour_;
};

}  // namespace vorlane::dk
