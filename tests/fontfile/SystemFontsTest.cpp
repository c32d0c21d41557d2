// Debian's own console fonts (console-setup-linux), as people have them.
#include <gtest/gtest.h>

#include "fontfile/FontError.h"
#include "fontfile/FontFiles.h"
#include "fontfile/FontReader.h"
#include "tests/support/FontSamples.h"

namespace vorlane::fontfile {
namespace {

CodePageFont readConsoleFont(const std::string& name, int height, CodePage page) {
    const std::string path = test::consoleFont(name);
    if (path.empty()) {
        throw std::runtime_error(name + " is not installed");
    }
    return readFont(readFontBytes(path), height, page);
}

#define REQUIRE_FONTS(...)                                                    \
    for (const char* name : {__VA_ARGS__}) {                                  \
        if (test::consoleFont(name).empty()) {                                \
            GTEST_SKIP() << name << " is not installed (tools/install-deps)"; \
        }                                                                     \
    }

std::span<const uint8_t> glyphOf(const CodePageFont& font, int code) {
    return font.bytes().subspan(size_t(code) * font.height, font.height);
}

bool sameGlyph(const CodePageFont& a, int codeA, const CodePageFont& b, int codeB) {
    return std::ranges::equal(glyphOf(a, codeA), glyphOf(b, codeB));
}

// The Cyrillic letters of code page 866 and the Latin letters drawn the same in VGA fonts.
constexpr std::pair<int, char> kLookAlikes[] = {
    {0x80, 'A'}, {0x82, 'B'}, {0x85, 'E'}, {0x8C, 'M'}, {0x8D, 'H'}, {0x8E, 'O'},
    {0x90, 'P'}, {0x91, 'C'}, {0x92, 'T'}, {0x95, 'X'}, {0xA0, 'a'}, {0xA5, 'e'},
    {0xAE, 'o'}, {0xE0, 'p'}, {0xE1, 'c'}, {0xE5, 'x'},
};

std::vector<int> cyrillicCodes() {
    std::vector<int> codes;
    for (int c = 0x80; c < 0xF2; ++c) {
        if (c < 0xB0 || c >= 0xE0) {
            codes.push_back(c);
        }
    }
    return codes;
}

struct CyrillicCase {
    const char* name;
    const char* file;
    int height;
};

class CyrillicFont : public testing::TestWithParam<CyrillicCase> {};

// The fonts below keep their glyphs in other orders (KOI8-R, Unicode blocks, 512 glyphs); mapped
// to code page 866, each letter must land on its code.
TEST_P(CyrillicFont, EndsUpInCodePage866Order) {
    const CyrillicCase& c = GetParam();
    REQUIRE_FONTS(c.file);
    const CodePageFont font = readConsoleFont(c.file, c.height, CodePage::Cp866);
    EXPECT_EQ(font.height, c.height);
    for (const int code : cyrillicCodes()) {
        EXPECT_TRUE(font.present.test(code)) << code;
    }
    for (const auto& [code, latin] : kLookAlikes) {
        EXPECT_TRUE(sameGlyph(font, code, font, latin)) << code;
    }
    // Ж, Я and я have no Latin look-alike and differ from what code page 437 puts there.
    const CodePageFont latin = readConsoleFont(c.file, c.height, CodePage::Cp437);
    for (const int code : {0x86, 0x9F, 0xEF}) {
        EXPECT_FALSE(latin.present.test(code) && sameGlyph(font, code, latin, code)) << code;
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, CyrillicFont,
                         testing::Values(CyrillicCase{"Slav16", "CyrSlav-VGA16.psf.gz", 16},
                                         CyrillicCase{"Koi16", "CyrKoi-VGA16.psf.gz", 16},
                                         CyrillicCase{"Full512x16", "FullCyrSlav-VGA16.psf.gz", 16},
                                         CyrillicCase{"Uni512x8", "Uni2-VGA8.psf.gz", 8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DebianFonts, TwoOrdersOfOneDesignGiveTheSameLetters) {
    REQUIRE_FONTS("CyrSlav-VGA16.psf.gz", "CyrKoi-VGA16.psf.gz");
    const CodePageFont slav = readConsoleFont("CyrSlav-VGA16.psf.gz", 16, CodePage::Cp866);
    const CodePageFont koi = readConsoleFont("CyrKoi-VGA16.psf.gz", 16, CodePage::Cp866);
    for (const int code : cyrillicCodes()) {
        EXPECT_TRUE(sameGlyph(slav, code, koi, code)) << code;
    }
}

TEST(DebianFonts, ShapesOtherThanVgaAreRefused) {
    REQUIRE_FONTS("CyrSlav-Terminus18x10.psf.gz", "CyrSlav-VGA14.psf.gz");
    const std::pair<const char*, const char*> cases[] = {
        {"CyrSlav-Terminus18x10.psf.gz", "glyphs are 10 pixels wide, need 8"},
        {"CyrSlav-VGA14.psf.gz", "glyphs are 14 pixels high, need 16"},
    };
    for (const auto& [file, reason] : cases) {
        try {
            readConsoleFont(file, 16, CodePage::Cp437);
            ADD_FAILURE() << file << " accepted";
        } catch (const FontError& error) {
            EXPECT_STREQ(error.what(), reason);
        }
    }
}

}  // namespace
}  // namespace vorlane::fontfile
