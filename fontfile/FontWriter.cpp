#include "fontfile/FontWriter.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <new>
#include <stdexcept>
#include <string>

#include "fontfile/PsfHeader.h"
#include "image/Text.h"

namespace vorlane::fontfile {

namespace {

void appendToVector(png_structp png, png_bytep data, size_t size) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    // An exception must not cross libpng's C frames; libpng's own error path unwinds them.
    bool grown = true;
    try {
        out->insert(out->end(), data, data + size);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

// libpng reports failure by longjmp; the frame it jumps over holds nothing to destroy. Returns
// false when libpng gave up.
bool writePng(png_structp png, png_infop info, std::vector<uint8_t>& out,
              std::vector<png_bytep>& rows, uint32_t width, uint32_t height) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_write_fn(png, &out, appendToVector, flushNothing);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

}  // namespace

std::vector<uint8_t> encodePsf2(std::span<const uint8_t> glyphs, int height, CodePage page) {
    std::vector<uint8_t> out;
    out.reserve(Psf2Header::kSize + glyphs.size() + 256 * 4);
    Psf2Header header;
    header.flags = Psf2Header::kHasTable;
    header.length = 256;
    header.charSize = static_cast<uint32_t>(height);
    header.height = static_cast<uint32_t>(height);
    header.width = 8;
    header.appendTo(out);
    out.insert(out.end(), glyphs.begin(), glyphs.begin() + 256 * height);
    std::string table;
    for (const char32_t c : codePageTable(page)) {
        appendUtf8(table, c);
        table += '\xFF';  // ends the glyph's entry
    }
    out.insert(out.end(), table.begin(), table.end());
    return out;
}

std::vector<uint8_t> encodePng(std::span<const uint8_t> glyphs, int height, int scale) {
    if (scale < kMinPngScale || scale > kMaxPngScale) {
        throw std::invalid_argument("PNG scale out of range");
    }
    const uint32_t width = 16 * 8 * scale;
    const uint32_t rowsHigh = 16 * height * scale;
    std::vector<uint8_t> pixels(size_t{width} * rowsHigh);
    for (int g = 0; g < 256; ++g) {
        for (int r = 0; r < height; ++r) {
            const uint8_t bits = glyphs[g * height + r];
            for (int c = 0; c < 8; ++c) {
                if ((bits & 0x80 >> c) == 0) {
                    continue;
                }
                const size_t x = size_t(g % 16 * 8 + c) * scale;
                const size_t y = size_t(g / 16 * height + r) * scale;
                for (int dy = 0; dy < scale; ++dy) {
                    std::fill_n(pixels.begin() + (y + dy) * width + x, scale, uint8_t{255});
                }
            }
        }
    }
    std::vector<png_bytep> rows(rowsHigh);
    for (uint32_t y = 0; y < rowsHigh; ++y) {
        rows[y] = pixels.data() + size_t{y} * width;
    }

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> out;
    const bool written = info != nullptr && writePng(png, info, out, rows, width, rowsHigh);
    png_destroy_write_struct(&png, &info);
    if (!written) {
        // Memory is all libpng can run out of while writing to memory.
        throw std::bad_alloc();
    }
    return out;
}

}  // namespace vorlane::fontfile
