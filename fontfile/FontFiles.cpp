#include "fontfile/FontFiles.h"

#include <algorithm>

#include "fontfile/FontError.h"
#include "fontfile/FontWriter.h"
#include "fontfile/Gzip.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::fontfile {

namespace {

uint16_t offsetOf(const CRomImage& image, int height) {
    return height == 8 ? image.font8x8Offset : image.font8x16Offset;
}

std::span<const uint8_t> fontOf(const CRomImage& image, int height) {
    return image.fontBytes(offsetOf(image, height), 256 * height);
}

std::string sizeName(int height) {
    return height == 8 ? "8x8" : "8x16";
}

}  // namespace

std::vector<uint8_t> readFontBytes(const std::string& path) {
    // One byte past the ceiling tells a file that is too large from one that just fits.
    std::vector<uint8_t> bytes = readFileUpTo(path, kMaxFontBytes + 1, Dash::FileName);
    if (bytes.size() > kMaxFontBytes) {
        throw FontError("larger than any font file (over " + std::to_string(kMaxFontBytes >> 20) +
                        " MiB)");
    }
    return bytes;
}

bool hasFont(const CRomImage& image, int height) {
    return (height == 8 || height == 16) && offsetOf(image, height) != 0;
}

void storeFont(CRomImage& image, const CodePageFont& font) {
    if (!hasFont(image, font.height)) {
        return;
    }
    const std::span<uint8_t> target =
        image.fontBytes(offsetOf(image, font.height), 256 * font.height);
    const size_t h = static_cast<size_t>(font.height);
    for (size_t code = 0; code < 256; ++code) {
        if (font.present.test(code)) {
            std::copy_n(font.glyphs.begin() + code * h, h, target.begin() + code * h);
        }
    }
}

int importFont(CRomImage& image, const std::string& path, int height, CodePage page) {
    const CodePageFont font = readFont(readFontBytes(path), height, page);
    if (!hasFont(image, font.height)) {
        throw FontError("the image has no " + sizeName(font.height) + " font to replace");
    }
    storeFont(image, font);
    return font.height;
}

void exportRaw(const CRomImage& image, const std::string& path, int height, WriteTo to) {
    writeFileAtomically(path, {fontOf(image, height)}, to);
}

void exportPsf(const CRomImage& image, const std::string& path, int height, CodePage page,
               bool compressed, WriteTo to) {
    const std::vector<uint8_t> bytes = encodePsf2(fontOf(image, height), height, page);
    writeFileAtomically(path, {compressed ? gzip(bytes) : bytes}, to);
}

void exportPng(const CRomImage& image, const std::string& path, int height, int scale, WriteTo to) {
    const std::vector<uint8_t> bytes = encodePng(fontOf(image, height), height, scale);
    writeFileAtomically(path, {bytes}, to);
}

}  // namespace vorlane::fontfile
