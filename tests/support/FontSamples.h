// Font files built in memory for the font-file tests: PC Screen Fonts of any shape (well formed or
// not), gzip, and Debian's console fonts when they are installed.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fontfile/Gzip.h"

namespace vorlane::test {

// Glyph g of a sample font: every row holds a byte that tells glyphs apart modulo 256 and the
// glyph number's high bits in the first row.
inline std::vector<uint8_t> sampleGlyphs(uint32_t count, uint32_t bytesPerGlyph) {
    std::vector<uint8_t> glyphs(size_t{count} * bytesPerGlyph);
    for (uint32_t g = 0; g < count; ++g) {
        for (uint32_t r = 0; r < bytesPerGlyph; ++r) {
            glyphs[size_t{g} * bytesPerGlyph + r] =
                static_cast<uint8_t>(r == 0 ? g >> 8 : (g * 7 + r * 13) & 0xFF);
        }
    }
    return glyphs;
}

// The entries of a Unicode table: for each glyph, its characters and its sequences.
struct TableEntry {
    std::vector<char32_t> characters;
    std::vector<std::vector<char32_t>> sequences;
};

inline void appendUtf8(std::vector<uint8_t>& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<uint8_t>(c));
    } else if (c < 0x800) {
        out.insert(out.end(), {uint8_t(0xC0 | c >> 6), uint8_t(0x80 | (c & 0x3F))});
    } else {
        out.insert(out.end(), {uint8_t(0xE0 | c >> 12), uint8_t(0x80 | (c >> 6 & 0x3F)),
                               uint8_t(0x80 | (c & 0x3F))});
    }
}

inline void appendLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

struct PsfShape {
    int version = 2;
    uint32_t count = 256;
    uint32_t height = 16;
    uint32_t width = 8;
    uint32_t headerSize = 32;  // version 2 only
    uint32_t psf2Version = 0;
    std::vector<TableEntry> table;  // empty: no table; else one entry per glyph
};

inline std::vector<uint8_t> psf(const PsfShape& s) {
    const uint32_t bytesPerGlyph = s.height * ((s.width + 7) / 8);
    std::vector<uint8_t> out;
    if (s.version == 1) {
        const uint8_t mode = (s.count == 512 ? 0x01 : 0) | (s.table.empty() ? 0 : 0x02);
        out = {0x36, 0x04, mode, static_cast<uint8_t>(s.height)};
    } else {
        out = {0x72, 0xB5, 0x4A, 0x86};
        for (uint32_t v : {s.psf2Version, s.headerSize, s.table.empty() ? 0u : 1u, s.count,
                           bytesPerGlyph, s.height, s.width}) {
            appendLe(out, v, 4);
        }
        out.resize(std::max<size_t>(out.size(), s.headerSize));
    }
    const auto glyphs = sampleGlyphs(s.count, bytesPerGlyph);
    out.insert(out.end(), glyphs.begin(), glyphs.end());
    for (const TableEntry& entry : s.table) {
        const auto put = [&](char32_t c) {
            s.version == 1 ? appendLe(out, c, 2) : appendUtf8(out, c);
        };
        for (char32_t c : entry.characters) {
            put(c);
        }
        for (const auto& sequence : entry.sequences) {
            s.version == 1 ? appendLe(out, 0xFFFE, 2) : out.push_back(0xFE);
            for (char32_t c : sequence) {
                put(c);
            }
        }
        s.version == 1 ? appendLe(out, 0xFFFF, 2) : out.push_back(0xFF);
    }
    return out;
}

// One gzip member, as Debian ships its console fonts.
inline std::vector<uint8_t> gzip(const std::vector<uint8_t>& bytes) {
    return fontfile::gzip(bytes);
}

// A Debian console font (console-setup-linux), or "" when it is not installed.
inline std::string consoleFont(const std::string& name) {
    const std::string path = "/usr/share/consolefonts/" + name;
    return std::filesystem::exists(path) ? path : "";
}

}  // namespace vorlane::test
