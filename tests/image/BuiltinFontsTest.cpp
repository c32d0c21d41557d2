// The built-in font sets are generated data, so these tests look for the faults a generator can
// make: a glyph taken from the wrong position or font, rows upside down, bits mirrored, and a
// Cyrillic set that strays from the standard set where it should not.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BuiltinFonts.h"

namespace vorlane {
namespace {

using Glyph = std::vector<uint8_t>;

template <std::size_t N>
Glyph glyph(const std::array<uint8_t, N>& font, int code) {
    constexpr std::size_t height = N / 256;
    const auto first = font.begin() + static_cast<std::ptrdiff_t>(code * height);
    return Glyph(first, first + height);
}

bool isCyrillicLetter(int code) {
    return (code >= 0x80 && code <= 0xAF) || (code >= 0xE0 && code <= 0xF1);
}

int topRow(const Glyph& g) {
    for (std::size_t row = 0; row < g.size(); ++row) {
        if (g[row] != 0) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

int bottomRow(const Glyph& g) {
    for (std::size_t row = g.size(); row-- > 0;) {
        if (g[row] != 0) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

// Two separate runs of lit pixels in one row: the dots of a diaeresis.
bool hasTwoDots(uint8_t row) {
    int runs = 0;
    for (int bit = 7; bit >= 0; --bit) {
        const bool lit = (row >> bit) & 1;
        const bool litBefore = bit < 7 && ((row >> (bit + 1)) & 1);
        runs += lit && !litBefore;
    }
    return runs == 2;
}

template <std::size_t N>
void expectSameOutsideCyrillicLetters(const std::array<uint8_t, N>& standard,
                                      const std::array<uint8_t, N>& cyrillic) {
    for (int code = 0; code < 256; ++code) {
        if (isCyrillicLetter(code)) {
            EXPECT_NE(glyph(standard, code), glyph(cyrillic, code)) << "glyph " << code;
        } else {
            EXPECT_EQ(glyph(standard, code), glyph(cyrillic, code)) << "glyph " << code;
        }
    }
}

TEST(BuiltinFonts, CyrillicSetDiffersFromStandardExactlyAtTheCyrillicLetters) {
    expectSameOutsideCyrillicLetters(kStandardFont8x8, kCyrillicFont8x8);
    expectSameOutsideCyrillicLetters(kStandardFont8x16, kCyrillicFont8x16);
}

template <std::size_t N>
void expectBlockElements(const std::array<uint8_t, N>& font) {
    constexpr std::size_t height = N / 256;
    for (int code : {0x00, 0x20, 0xFF}) {
        EXPECT_EQ(glyph(font, code), Glyph(height, 0x00)) << "glyph " << code;
    }
    EXPECT_EQ(glyph(font, 0xDB), Glyph(height, 0xFF));
    // Bit 7 is the leftmost pixel: a mirrored table swaps these two.
    EXPECT_EQ(glyph(font, 0xDD), Glyph(height, 0xF0));
    EXPECT_EQ(glyph(font, 0xDE), Glyph(height, 0x0F));
    // The upper and lower half blocks tile the cell, the upper one from the first row.
    const Glyph upper = glyph(font, 0xDF);
    const Glyph lower = glyph(font, 0xDC);
    EXPECT_EQ(upper.front(), 0xFF);
    EXPECT_EQ(lower.back(), 0xFF);
    for (std::size_t row = 0; row < height; ++row) {
        EXPECT_TRUE(upper[row] == 0xFF || upper[row] == 0x00) << "row " << row;
        EXPECT_EQ(upper[row] ^ lower[row], 0xFF) << "row " << row;
        if (row > 0 && upper[row] == 0xFF) {
            EXPECT_EQ(upper[row - 1], 0xFF) << "row " << row;
        }
    }
}

TEST(BuiltinFonts, BlankAndBlockGlyphsFillTheRightPixels) {
    expectBlockElements(kStandardFont8x8);
    expectBlockElements(kStandardFont8x16);
    expectBlockElements(kCyrillicFont8x8);
    expectBlockElements(kCyrillicFont8x16);
}

// Capitals reach the cap height of 'H', small letters stay below it, and every letter reaches
// the baseline. A case range in the wrong place or a glyph from the line-drawing block fails.
template <std::size_t N>
void expectCyrillicLetterHeights(const std::array<uint8_t, N>& font) {
    const int capTop = topRow(glyph(font, 'H'));
    const int baseline = bottomRow(glyph(font, 'H'));
    for (int code = 0x80; code <= 0xF1; ++code) {
        if (!isCyrillicLetter(code) || code == 0xF1) {
            continue;  // the dots of the small yo reach up as far as a capital in 8x8
        }
        const Glyph g = glyph(font, code);
        const bool capital = code <= 0x9F || code == 0xF0;
        if (capital) {
            EXPECT_LE(topRow(g), capTop) << "glyph " << code;
        } else {
            EXPECT_GT(topRow(g), capTop) << "glyph " << code;
        }
        EXPECT_GE(bottomRow(g), baseline) << "glyph " << code;
    }
}

TEST(BuiltinFonts, CyrillicCapitalsAndSmallLettersHaveTheirHeights) {
    expectCyrillicLetterHeights(kCyrillicFont8x8);
    expectCyrillicLetterHeights(kCyrillicFont8x16);
}

// Yo is Ye with a diaeresis: its first lit row holds two dots and it ends in Ye's last row.
template <std::size_t N>
void expectYoIsYeWithDots(const std::array<uint8_t, N>& font, int ye, int yo) {
    const Glyph e = glyph(font, ye);
    const Glyph o = glyph(font, yo);
    ASSERT_GE(topRow(o), 0);
    EXPECT_TRUE(hasTwoDots(o[static_cast<std::size_t>(topRow(o))])) << "glyph " << yo;
    ASSERT_GE(topRow(e), 0);
    EXPECT_FALSE(hasTwoDots(e[static_cast<std::size_t>(topRow(e))])) << "glyph " << ye;
    ASSERT_EQ(bottomRow(o), bottomRow(e)) << "glyph " << yo;
    EXPECT_EQ(o[static_cast<std::size_t>(bottomRow(o))], e[static_cast<std::size_t>(bottomRow(e))]);
}

TEST(BuiltinFonts, YoFollowsAtF0AndF1) {
    expectYoIsYeWithDots(kCyrillicFont8x8, 0x85, 0xF0);
    expectYoIsYeWithDots(kCyrillicFont8x8, 0xA5, 0xF1);
    expectYoIsYeWithDots(kCyrillicFont8x16, 0x85, 0xF0);
    expectYoIsYeWithDots(kCyrillicFont8x16, 0xA5, 0xF1);
}

// A PSF1 console font with its Unicode table, read through gzip as Debian ships it.
struct ConsoleFont {
    std::vector<Glyph> glyphs;
    std::map<char32_t, std::size_t> byChar;

    Glyph of(char32_t c) const {
        const auto it = byChar.find(c);
        return it == byChar.end() ? Glyph{} : glyphs[it->second];
    }
};

std::optional<ConsoleFont> loadConsoleFont(const std::string& name) {
    const std::string path = "/usr/share/consolefonts/" + name;
    if (!std::filesystem::exists(path)) {
        return std::nullopt;
    }
    std::vector<uint8_t> raw;
    if (FILE* pipe = popen(("gzip -dc " + path).c_str(), "r")) {
        for (int c; (c = std::fgetc(pipe)) != EOF;) {
            raw.push_back(static_cast<uint8_t>(c));
        }
        pclose(pipe);
    }
    if (raw.size() < 4 || raw[0] != 0x36 || raw[1] != 0x04 || (raw[2] & 0x06) == 0) {
        ADD_FAILURE() << name << " is not a PSF1 font with a Unicode table";
        return std::nullopt;
    }
    const std::size_t count = (raw[2] & 0x01) ? 512 : 256;
    const std::size_t height = raw[3];
    ConsoleFont font;
    for (std::size_t i = 0; i < count; ++i) {
        const auto first = raw.begin() + static_cast<std::ptrdiff_t>(4 + i * height);
        font.glyphs.emplace_back(first, first + static_cast<std::ptrdiff_t>(height));
    }
    std::size_t current = 0;
    bool inSequence = false;
    for (std::size_t pos = 4 + count * height; pos + 1 < raw.size() && current < count; pos += 2) {
        const char32_t value = raw[pos] | (raw[pos + 1] << 8);
        if (value == 0xFFFF) {
            ++current;
            inSequence = false;
        } else if (value == 0xFFFE) {
            inSequence = true;
        } else if (!inSequence) {
            font.byChar.emplace(value, current);
        }
    }
    return font;
}

struct Letter {
    int code;
    char32_t character;
};

template <std::size_t N, std::size_t M>
void expectLetters(const std::array<uint8_t, N>& table, const ConsoleFont& font,
                   const std::array<Letter, M>& letters) {
    for (const Letter& letter : letters) {
        EXPECT_EQ(glyph(table, letter.code), font.of(letter.character))
            << "glyph " << letter.code << " against U+" << std::hex
            << static_cast<uint32_t>(letter.character);
    }
}

// default8x16 maps its glyphs to Unicode itself, so the code page 437 layout is checked by
// character rather than by position.
TEST(BuiltinFonts, Standard8x16HasTheCodePage437Characters) {
    const auto vga = loadConsoleFont("default8x16.psf.gz");
    if (!vga) {
        GTEST_SKIP() << "console-data fonts not installed";
    }
    expectLetters(kStandardFont8x16, *vga,
                  std::array<Letter, 10>{{{0x01, U'☺'},
                                          {0x41, U'A'},
                                          {0x82, U'é'},
                                          {0x9E, U'₧'},
                                          {0x9F, U'ƒ'},
                                          {0xB3, U'│'},
                                          {0xC9, U'╔'},
                                          {0xE0, U'α'},
                                          {0xF0, U'≡'},
                                          {0xFE, U'■'}}});
}

// The Uni1 VGA fonts are not sources of the tables, but they share these glyphs bit for bit with
// the fonts that are, and they name their characters: a glyph at the wrong code fails here.
TEST(BuiltinFonts, LettersAreTheOnesTheCodePagesName) {
    const auto vga8 = loadConsoleFont("Uni1-VGA8.psf.gz");
    const auto vga16 = loadConsoleFont("Uni1-VGA16.psf.gz");
    if (!vga8 || !vga16) {
        GTEST_SKIP() << "console-setup-linux fonts not installed";
    }
    expectLetters(kStandardFont8x8, *vga8,
                  std::array<Letter, 13>{{{0x41, U'A'},
                                          {0x67, U'g'},
                                          {0x82, U'é'},
                                          {0x9B, U'¢'},
                                          {0x9C, U'£'},
                                          {0x9D, U'¥'},
                                          {0xAB, U'½'},
                                          {0xAF, U'»'},
                                          {0xB0, U'░'},
                                          {0xC5, U'┼'},
                                          {0xE1, U'ß'},
                                          {0xF1, U'±'},
                                          {0xFD, U'²'}}});
    expectLetters(kCyrillicFont8x8, *vga8,
                  std::array<Letter, 3>{{{0x8C, U'М'}, {0xA0, U'а'}, {0xA4, U'д'}}});
    expectLetters(kCyrillicFont8x16, *vga16,
                  std::array<Letter, 11>{{{0x84, U'Д'},
                                          {0x8D, U'Н'},
                                          {0x8F, U'П'},
                                          {0x97, U'Ч'},
                                          {0x9E, U'Ю'},
                                          {0xA4, U'д'},
                                          {0xA6, U'ж'},
                                          {0xAB, U'л'},
                                          {0xAD, U'н'},
                                          {0xAF, U'п'},
                                          {0xEE, U'ю'}}});
}

}  // namespace
}  // namespace vorlane
