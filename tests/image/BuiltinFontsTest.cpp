// The built-in font sets are generated data, so these tests look for the faults a generator can
// make: a glyph taken from the wrong position or font, rows upside down, bits mirrored, and a
// Cyrillic set that strays from the standard set where it should not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "image/BuiltinFonts.h"

namespace vorlane {
namespace {

using Glyph = std::vector<uint8_t>;
using Table = std::span<const uint8_t>;

Glyph glyph(Table font, int code) {
    return Glyph(font.begin() + code * (font.size() / 256),
                 font.begin() + (code + 1) * (font.size() / 256));
}

bool isCyrillicLetter(int code) {
    return (code >= 0x80 && code <= 0xAF) || (code >= 0xE0 && code <= 0xF1);
}

// The first and the last row of a glyph with a lit pixel.
std::pair<long, long> litRows(const Glyph& g) {
    const auto lit = [](uint8_t row) { return row != 0; };
    return {std::find_if(g.begin(), g.end(), lit) - g.begin(),
            g.rend() - std::find_if(g.rbegin(), g.rend(), lit) - 1};
}

// Capitals reach the cap height of 'H', small letters stay below it, and every letter reaches the
// baseline: a case range in the wrong place or a glyph from the line-drawing block fails.
TEST(BuiltinFonts, CyrillicSetDiffersFromStandardExactlyAtItsLettersOfTheirHeights) {
    for (const auto& [standard, cyrillic] :
         {std::pair<Table, Table>{kStandardFont8x8, kCyrillicFont8x8},
          {kStandardFont8x16, kCyrillicFont8x16}}) {
        const auto [capTop, baseline] = litRows(glyph(cyrillic, 'H'));
        for (int code = 0; code < 256; ++code) {
            SCOPED_TRACE("glyph " + std::to_string(code) + ", height " +
                         std::to_string(standard.size() / 256));
            EXPECT_EQ(glyph(standard, code) != glyph(cyrillic, code), isCyrillicLetter(code));
            // The dots of the small yo at 0xF1 reach up as far as a capital in 8x8.
            if (isCyrillicLetter(code) && code != 0xF1) {
                const auto [top, bottom] = litRows(glyph(cyrillic, code));
                EXPECT_EQ(top <= capTop, code <= 0x9F || code == 0xF0);
                EXPECT_GE(bottom, baseline);
            }
        }
    }
}

TEST(BuiltinFonts, BlankAndBlockGlyphsFillTheRightPixels) {
    for (const Table font : {Table(kStandardFont8x8), Table(kStandardFont8x16),
                             Table(kCyrillicFont8x8), Table(kCyrillicFont8x16)}) {
        const std::size_t height = font.size() / 256;
        EXPECT_EQ(glyph(font, 0x20), Glyph(height, 0x00));
        EXPECT_EQ(glyph(font, 0xDB), Glyph(height, 0xFF));
        // Bit 7 is the leftmost pixel: a mirrored table swaps these two.
        EXPECT_EQ(glyph(font, 0xDD), Glyph(height, 0xF0));
        EXPECT_EQ(glyph(font, 0xDE), Glyph(height, 0x0F));
        // The upper half block starts at the top row and the lower one fills the rest: flipped
        // rows swap them.
        const Glyph upper = glyph(font, 0xDF), lower = glyph(font, 0xDC);
        EXPECT_EQ(upper.front(), 0xFF);
        for (std::size_t row = 0; row < height; ++row) {
            EXPECT_EQ(upper[row] ^ lower[row], 0xFF) << "row " << row;
        }
    }
}

// The characters of a PSF1 console font with a Unicode table, read through gzip as Debian ships
// it. Empty when the font is not installed.
std::map<char32_t, Glyph> consoleFont(const std::string& name) {
    std::vector<uint8_t> raw;
    const std::string command = "gzip -dc /usr/share/consolefonts/" + name + " 2>/dev/null";
    if (FILE* pipe = popen(command.c_str(), "r")) {
        for (int c; (c = std::fgetc(pipe)) != EOF;) {
            raw.push_back(static_cast<uint8_t>(c));
        }
        pclose(pipe);
    }
    std::map<char32_t, Glyph> byChar;
    const bool psf = raw.size() >= 4 && raw[0] == 0x36 && raw[1] == 0x04 && (raw[2] & 0x06) != 0;
    EXPECT_TRUE(psf || raw.empty()) << name << " is not a PSF1 font with a Unicode table";
    if (!psf) {
        return byChar;
    }
    const std::size_t count = (raw[2] & 0x01) ? 512 : 256, height = raw[3];
    std::size_t current = 0;
    bool inSequence = false;
    for (std::size_t pos = 4 + count * height; pos + 1 < raw.size() && current < count; pos += 2) {
        const char32_t value = raw[pos] | (raw[pos + 1] << 8);
        if (value == 0xFFFF || value == 0xFFFE) {
            current += value == 0xFFFF;
            inSequence = value == 0xFFFE;
        } else if (!inSequence) {
            const auto first = raw.begin() + static_cast<std::ptrdiff_t>(4 + current * height);
            byChar.emplace(value, Glyph(first, first + static_cast<std::ptrdiff_t>(height)));
        }
    }
    return byChar;
}

// default8x16 is the source of the standard 8x16 font. The Uni1 VGA fonts are not sources, but
// they share these glyphs bit for bit with the fonts that are, and they name their characters.
TEST(BuiltinFonts, LettersAreTheOnesTheCodePagesName) {
    std::map<std::string, std::map<char32_t, Glyph>> fonts;
    for (const std::string name : {"default8x16", "Uni1-VGA8", "Uni1-VGA16"}) {
        if ((fonts[name] = consoleFont(name + ".psf.gz")).empty()) {
            GTEST_SKIP() << name << " is not installed";
        }
    }
    // clang-format off
    const std::vector<std::tuple<Table, std::string, std::vector<std::pair<int, char32_t>>>> sets = {
        {kStandardFont8x16, "default8x16", {{0x01, U'☺'}, {0x41, U'A'}, {0x82, U'é'}, {0x9E, U'₧'},
                                            {0xC9, U'╔'}, {0xE0, U'α'}, {0xF0, U'≡'}}},
        {kStandardFont8x8, "Uni1-VGA8", {{0x67, U'g'}, {0x82, U'é'}, {0x9B, U'¢'}, {0xAF, U'»'},
                                         {0xB0, U'░'}, {0xE1, U'ß'}, {0xF1, U'±'}}},
        {kCyrillicFont8x8, "Uni1-VGA8", {{0x8C, U'М'}, {0xA0, U'а'}, {0xA4, U'д'}}},
        {kCyrillicFont8x16, "Uni1-VGA16", {{0x84, U'Д'}, {0x97, U'Ч'}, {0x9E, U'Ю'}, {0xA6, U'ж'},
                                           {0xAF, U'п'}, {0xEE, U'ю'}}}};
    // clang-format on
    for (const auto& [table, font, letters] : sets) {
        for (const auto& [code, character] : letters) {
            EXPECT_EQ(glyph(table, code), fonts[font][character])
                << "glyph " << code << " " << font;
        }
    }
}

}  // namespace
}  // namespace vorlane
