#include "fontfile/FontReader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fontfile/FontError.h"
#include "fontfile/Gzip.h"
#include "fontfile/PsfHeader.h"

namespace vorlane::fontfile {

namespace {

// The parts of a PC Screen Font that matter here, after its header has been checked.
struct Psf {
    int version = 0;
    uint32_t count = 0;
    uint32_t height = 0;
    std::span<const uint8_t> glyphs;  // count x height bytes
    std::optional<std::span<const uint8_t>> table;
};

std::string wantedHeights(int height) {
    return height == 0 ? "16 or 8" : std::to_string(height);
}

std::string rawNames(int height) {
    return height == 16  ? "a raw 8x16 font"
           : height == 8 ? "a raw 8x8 font"
                         : "a raw 8x16 or 8x8 font";
}

// Checks what both versions share and cuts out the glyphs; `headerSize` bytes precede them.
Psf checkedPsf(std::span<const uint8_t> file, int version, size_t headerSize, uint32_t width,
               uint32_t height, uint32_t count, uint64_t glyphSize, bool hasTable,
               int wantedHeight) {
    if (width != 8) {
        throw FontError("glyphs are " + std::to_string(width) + " pixels wide, need 8");
    }
    if (wantedHeight == 0 ? height != 8 && height != 16 : height != uint32_t(wantedHeight)) {
        throw FontError("glyphs are " + std::to_string(height) + " pixels high, need " +
                        wantedHeights(wantedHeight));
    }
    if (glyphSize != height) {
        throw FontError("glyphs take " + std::to_string(glyphSize) + " bytes, but " +
                        std::to_string(height) + " rows of 8 pixels take " +
                        std::to_string(height));
    }
    if (count < 256) {
        throw FontError("has " + std::to_string(count) + " glyphs, need at least 256");
    }
    const uint64_t glyphBytes = uint64_t{count} * glyphSize;
    if (headerSize + glyphBytes > file.size()) {
        throw FontError("its glyphs run past the end of the file (" + std::to_string(count) +
                        " glyphs need " + std::to_string(headerSize + glyphBytes) +
                        " bytes, the file has " + std::to_string(file.size()) + ")");
    }
    Psf psf;
    psf.version = version;
    psf.count = count;
    psf.height = height;
    psf.glyphs = file.subspan(headerSize, glyphBytes);
    if (hasTable) {
        psf.table = file.subspan(headerSize + glyphBytes);
    }
    return psf;
}

Psf parsePsf1(std::span<const uint8_t> file, int wantedHeight) {
    const auto h = Psf1Header::parse(file);
    if (!h) {
        throw FontError("its PC Screen Font header is cut short");
    }
    return checkedPsf(file, 1, Psf1Header::kSize, 8, h->charSize, h->glyphCount(), h->charSize,
                      h->hasTable(), wantedHeight);
}

Psf parsePsf2(std::span<const uint8_t> file, int wantedHeight) {
    const auto h = Psf2Header::parse(file);
    if (!h) {
        throw FontError("its PC Screen Font header is cut short");
    }
    if (h->version != 0) {
        throw FontError("PC Screen Font version 2." + std::to_string(h->version) + " is unknown");
    }
    if (h->headerSize < Psf2Header::kSize || h->headerSize > file.size()) {
        throw FontError("its header size " + std::to_string(h->headerSize) +
                        (h->headerSize < Psf2Header::kSize ? " is too small"
                                                           : " points past the end of the file"));
    }
    return checkedPsf(file, 2, h->headerSize, h->width, h->height, h->length, h->charSize,
                      h->hasTable(), wantedHeight);
}

// Collects the glyphs of the characters the code page needs, the lowest glyph for a character
// listed more than once.
class Mapper {
  public:
    Mapper(const Psf& psf, CodePage page, CodePageFont& out) : psf_(psf), page_(page), out_(out) {}

    void add(uint32_t glyph, char32_t character) {
        const auto code = codeOf(page_, character);
        if (code && !out_.present.test(*code)) {
            std::memcpy(out_.glyphs.data() + *code * psf_.height,
                        psf_.glyphs.data() + size_t{glyph} * psf_.height, psf_.height);
            out_.present.set(*code);
        }
    }

  private:
    const Psf& psf_;
    CodePage page_;
    CodePageFont& out_;
};

[[noreturn]] void tableEndsEarly(uint32_t glyph) {
    throw FontError("its Unicode table ends before the entry of glyph " + std::to_string(glyph));
}

// Version 1: 16-bit characters, 0xFFFE starts the entry's sequences, 0xFFFF ends the entry.
void mapPsf1Table(const Psf& psf, Mapper& mapper) {
    const std::span<const uint8_t> t = *psf.table;
    size_t at = 0;
    for (uint32_t glyph = 0; glyph < psf.count; ++glyph) {
        bool inSequences = false;
        for (;;) {
            if (at + 2 > t.size()) {
                tableEndsEarly(glyph);
            }
            const char32_t value = t[at] | t[at + 1] << 8;
            at += 2;
            if (value == 0xFFFF) {
                break;
            }
            if (value == 0xFFFE) {
                inSequences = true;
            } else if (!inSequences) {
                mapper.add(glyph, value);
            }
        }
    }
}

// One UTF-8 character from `t` at `at`, advancing `at`; nullopt when malformed.
std::optional<char32_t> nextUtf8(std::span<const uint8_t> t, size_t& at) {
    const uint8_t lead = t[at];
    int extra = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        extra = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        extra = 2;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        extra = 3;
        value = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (at + extra >= t.size()) {
        return std::nullopt;
    }
    for (int i = 1; i <= extra; ++i) {
        const uint8_t b = t[at + i];
        if ((b & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = value << 6 | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[extra] || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) {
        return std::nullopt;
    }
    at += 1 + extra;
    return value;
}

// Version 2: UTF-8, 0xFE starts the entry's sequences, 0xFF ends the entry.
void mapPsf2Table(const Psf& psf, Mapper& mapper) {
    const std::span<const uint8_t> t = *psf.table;
    size_t at = 0;
    for (uint32_t glyph = 0; glyph < psf.count; ++glyph) {
        bool inSequences = false;
        for (;;) {
            if (at >= t.size()) {
                tableEndsEarly(glyph);
            }
            if (t[at] == 0xFF) {
                ++at;
                break;
            }
            if (t[at] == 0xFE || inSequences) {
                inSequences = true;
                ++at;
                continue;
            }
            const auto character = nextUtf8(t, at);
            if (!character) {
                throw FontError("its Unicode table has malformed UTF-8 in the entry of glyph " +
                                std::to_string(glyph));
            }
            mapper.add(glyph, *character);
        }
    }
}

CodePageFont fromPsf(const Psf& psf, CodePage page) {
    CodePageFont out;
    out.height = static_cast<int>(psf.height);
    if (!psf.table) {
        std::copy_n(psf.glyphs.begin(), 256 * psf.height, out.glyphs.begin());
        out.present.set();
        return out;
    }
    Mapper mapper(psf, page, out);
    if (psf.version == 1) {
        mapPsf1Table(psf, mapper);
    } else {
        mapPsf2Table(psf, mapper);
    }
    if (out.present.none()) {
        throw FontError("it has none of the characters of code page " +
                        std::to_string(static_cast<int>(page)));
    }
    return out;
}

CodePageFont readUncompressed(std::span<const uint8_t> file, int height, CodePage page) {
    if (Psf1Header::matches(file)) {
        return fromPsf(parsePsf1(file, height), page);
    }
    if (Psf2Header::matches(file)) {
        return fromPsf(parsePsf2(file, height), page);
    }
    for (const int rawHeight : {16, 8}) {
        if ((height == 0 || height == rawHeight) && file.size() == size_t{256} * rawHeight) {
            CodePageFont out;
            out.height = rawHeight;
            std::ranges::copy(file, out.glyphs.begin());
            out.present.set();
            return out;
        }
    }
    throw FontError(std::to_string(file.size()) + " bytes: neither " + rawNames(height) +
                    " nor a PC Screen Font");
}

}  // namespace

CodePageFont readFont(std::span<const uint8_t> file, int height, CodePage page) {
    if (height != 0 && height != 8 && height != 16) {
        throw FontError("a font " + std::to_string(height) + " pixels high is not a VGA font");
    }
    if (isGzip(file)) {
        const std::vector<uint8_t> inflated = gunzip(file);
        return readUncompressed(inflated, height, page);
    }
    return readUncompressed(file, height, page);
}

}  // namespace vorlane::fontfile
