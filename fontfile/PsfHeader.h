// The headers of a PC Screen Font, versions 1 and 2, as declared structures: the reader parses
// them and the writer writes them, and neither spells out an offset of its own.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vorlane::fontfile {

namespace psf_detail {

inline uint32_t le32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
           uint32_t{bytes[at + 3]} << 24;
}

inline bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

}  // namespace psf_detail

// Version 1: magic, mode, bytes per glyph. Glyphs are 8 pixels wide and one byte per row.
struct Psf1Header {
    static constexpr uint8_t kMagic[2] = {0x36, 0x04};
    static constexpr size_t kSize = 4;
    static constexpr uint8_t kMode512 = 0x01;        // 512 glyphs, not 256
    static constexpr uint8_t kModeTable = 0x02;      // a Unicode table follows the glyphs
    static constexpr uint8_t kModeSequences = 0x04;  // the same, with sequences

    uint8_t mode = 0;
    uint8_t charSize = 0;  // bytes per glyph, which is its height

    static bool matches(std::span<const uint8_t> file) {
        return psf_detail::startsWith(file, kMagic);
    }
    // The header at the start of `file`, or nullopt when the file is shorter than a header.
    static std::optional<Psf1Header> parse(std::span<const uint8_t> file) {
        if (file.size() < kSize) {
            return std::nullopt;
        }
        return Psf1Header{file[2], file[3]};
    }
    uint32_t glyphCount() const { return (mode & kMode512) != 0 ? 512 : 256; }
    bool hasTable() const { return (mode & (kModeTable | kModeSequences)) != 0; }
};

// Version 2: magic and seven little-endian 32-bit fields.
struct Psf2Header {
    static constexpr uint8_t kMagic[4] = {0x72, 0xB5, 0x4A, 0x86};
    static constexpr size_t kSize = 32;
    static constexpr uint32_t kHasTable = 0x01;

    uint32_t version = 0;
    uint32_t headerSize = kSize;  // where the glyphs start
    uint32_t flags = 0;
    uint32_t length = 0;    // glyphs
    uint32_t charSize = 0;  // bytes per glyph
    uint32_t height = 0;
    uint32_t width = 0;

    static bool matches(std::span<const uint8_t> file) {
        return psf_detail::startsWith(file, kMagic);
    }
    // The header at the start of `file`, or nullopt when the file is shorter than a header.
    static std::optional<Psf2Header> parse(std::span<const uint8_t> file) {
        if (file.size() < kSize) {
            return std::nullopt;
        }
        Psf2Header h;
        uint32_t* fields[] = {&h.version,  &h.headerSize, &h.flags, &h.length,
                              &h.charSize, &h.height,     &h.width};
        size_t at = sizeof kMagic;
        for (uint32_t* field : fields) {
            *field = psf_detail::le32(file, at);
            at += 4;
        }
        return h;
    }
    void appendTo(std::vector<uint8_t>& out) const {
        // Byte by byte: g++ 12 at -O3 mistakes a range insert into a reserved vector for an
        // overflow (-Wstringop-overflow).
        for (const uint8_t b : kMagic) {
            out.push_back(b);
        }
        for (const uint32_t field : {version, headerSize, flags, length, charSize, height, width}) {
            for (int shift = 0; shift < 32; shift += 8) {
                out.push_back(static_cast<uint8_t>(field >> shift));
            }
        }
    }
    bool hasTable() const { return (flags & kHasTable) != 0; }
};

}  // namespace vorlane::fontfile
