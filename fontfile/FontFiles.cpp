#include "fontfile/FontFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "fontfile/FontError.h"
#include "fontfile/FontWriter.h"
#include "fontfile/Gzip.h"
#include "image/Descriptor.h"
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
    // Held by the guard, so that a failed allocation below does not leak it; a FIFO or a
    // terminal is refused rather than read, which could wait for ever.
    const Descriptor fd = openForReading(path);
    std::vector<uint8_t> bytes(64 * 1024);
    size_t done = 0;
    int error = 0;
    // One byte past the ceiling tells a file that is too large from one that just fits.
    while (done <= kMaxFontBytes) {
        if (done == bytes.size()) {
            bytes.resize(std::min(bytes.size() * 2, kMaxFontBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (error != 0) {
        throwFileError(path, "read", error);
    }
    if (done > kMaxFontBytes) {
        throw FontError("larger than any font file (over " + std::to_string(kMaxFontBytes >> 20) +
                        " MiB)");
    }
    bytes.resize(done);
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

void exportRaw(const CRomImage& image, const std::string& path, int height) {
    writeFileAtomically(path, {fontOf(image, height)});
}

void exportPsf(const CRomImage& image, const std::string& path, int height, CodePage page,
               bool compressed) {
    const std::vector<uint8_t> bytes = encodePsf2(fontOf(image, height), height, page);
    writeFileAtomically(path, {compressed ? gzip(bytes) : bytes});
}

void exportPng(const CRomImage& image, const std::string& path, int height, int scale) {
    const std::vector<uint8_t> bytes = encodePng(fontOf(image, height), height, scale);
    writeFileAtomically(path, {bytes});
}

}  // namespace vorlane::fontfile
