#include <gtest/gtest.h>

#include <functional>

#include "fontfile/FontError.h"
#include "fontfile/FontFiles.h"
#include "fontfile/FontReader.h"
#include "tests/support/FontSamples.h"
#include "tests/support/ImageBytes.h"

namespace vorlane::fontfile {
namespace {

using test::PsfShape;
using test::RomBuilder;
using test::TableEntry;

struct Refusal {
    const char* name;
    std::function<std::vector<uint8_t>()> file;
    int height;
    const char* reason;
};

std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t drop) {
    bytes.resize(bytes.size() - drop);
    return bytes;
}

std::vector<TableEntry> asciiTable(uint32_t count) {
    std::vector<TableEntry> table(count);
    for (uint32_t g = 0; g < count; ++g) {
        table[g].characters = {g < 128 ? char32_t(g) : char32_t(0xE000 + g)};
    }
    return table;
}

const Refusal kRefusals[] = {
    {"NoMagicOddSize", [] { return std::vector<uint8_t>(1952); }, 8,
     "1952 bytes: neither a raw 8x8 font nor a PC Screen Font"},
    {"RawOfTheOtherSize", [] { return std::vector<uint8_t>(4096); }, 8,
     "4096 bytes: neither a raw 8x8 font"},
    {"NineWide", [] { return test::psf({.width = 9}); }, 16, "glyphs are 9 pixels wide, need 8"},
    {"FourteenHigh", [] { return test::psf({.version = 1, .height = 14}); }, 16,
     "glyphs are 14 pixels high, need 16"},
    {"FourteenHighEither", [] { return test::psf({.height = 14}); }, 0,
     "glyphs are 14 pixels high, need 16 or 8"},
    {"TooFewGlyphs", [] { return test::psf({.count = 255}); }, 16,
     "has 255 glyphs, need at least 256"},
    {"HeaderPastEnd",
     [] {
         auto bytes = test::psf({});
         bytes[10] = 0x01;  // 65568 bytes of header
         return bytes;
     },
     16, "header size 65568 points past the end"},
    {"GlyphCountPastEnd",
     [] {
         auto bytes = test::psf({});
         bytes[19] = 0x10;  // 0x10000100 glyphs
         return bytes;
     },
     16, "glyphs run past the end of the file"},
    {"Psf1Cut", [] { return cut(test::psf({.version = 1}), 1); }, 16,
     "glyphs run past the end of the file"},
    {"Psf1TableCut", [] { return cut(test::psf({.version = 1, .table = asciiTable(256)}), 3); }, 16,
     "Unicode table ends before the entry of glyph 255"},
    {"Psf2TableCut", [] { return cut(test::psf({.table = asciiTable(256)}), 1); }, 16,
     "Unicode table ends before the entry of glyph 255"},
    {"Psf2BadUtf8",
     [] {
         auto bytes = test::psf({.table = asciiTable(256)});
         bytes[32 + 4096 + 2 * 65] = 0xC0;  // an overlong lead byte in the entry of glyph 65
         return bytes;
     },
     16, "malformed UTF-8 in the entry of glyph 65"},
    {"Psf2UnknownVersion", [] { return test::psf({.psf2Version = 1}); }, 16, "version 2.1"},
    {"NoCharacterOfThePage",
     [] {
         return test::psf({.table = std::vector<TableEntry>(256, {{0x4E00}, {}})});
     },
     16, "none of the characters of code page 437"},
    {"GzipTruncated", [] { return cut(test::gzip(test::psf({})), 9); }, 16, "truncated"},
    {"GzipCorrupt",
     [] {
         auto bytes = test::gzip(test::psf({}));
         bytes[12] ^= 0xFF;
         return bytes;
     },
     16, "gzip data is corrupt"},
    {"GzipBomb", [] { return test::gzip(std::vector<uint8_t>((5 << 20) + 1)); }, 16,
     "decompresses to more than 4 MiB"},
    {"GzipTrailingGarbage",
     [] {
         auto bytes = test::gzip(test::psf({}));
         bytes.push_back(0);
         return bytes;
     },
     16, "bytes after the end of its gzip data"},
};

class Refused : public testing::TestWithParam<Refusal> {};

TEST_P(Refused, SaysWhyAndLeavesTheImageAsItWas) {
    const Refusal& c = GetParam();
    const auto bytes = c.file();
    try {
        readFont(bytes, c.height, CodePage::Cp437);
        ADD_FAILURE() << "accepted";
    } catch (const FontError& error) {
        EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
    }
    test::TempDir dir;
    test::writeBytes(dir.file("font"), bytes);
    CRomImage image = test::validated(RomBuilder());
    const auto before = image.data;
    EXPECT_THROW(importFont(image, dir.file("font"), c.height, CodePage::Cp437), FontError);
    EXPECT_EQ(image.data, before);
}

INSTANTIATE_TEST_SUITE_P(Fonts, Refused, testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// A 512-glyph font whose table puts characters where a naive reader would go wrong.
std::vector<TableEntry> trickyTable() {
    std::vector<TableEntry> table(512);
    table[2].characters = {0x0416};         // Ж, 866 code 0x86
    table[300].characters = {'A', 0x0411};  // A and Б share a glyph past 255
    table[400].characters = {'A'};          // a later glyph for A: not taken
    table[7].sequences = {{'B', 0x0301}};   // B only in a sequence: not a character of glyph 7
    table[9].characters = {0x263A};         // ☺, code 0x01 in both pages
    return table;
}

std::span<const uint8_t> glyphOf(const CodePageFont& font, int code) {
    return font.bytes().subspan(size_t(code) * font.height, font.height);
}

std::span<const uint8_t> sampleGlyph(const std::vector<uint8_t>& glyphs, uint32_t g) {
    return std::span(glyphs).subspan(g * 16, 16);
}

class TableMapping : public testing::TestWithParam<int> {};

TEST_P(TableMapping, TakesTheLowestGlyphOfEachCharacterOfThePage) {
    const auto file = test::psf({.version = GetParam(), .count = 512, .table = trickyTable()});
    const auto glyphs = test::sampleGlyphs(512, 16);
    for (const bool compressed : {false, true}) {
        const CodePageFont font =
            readFont(compressed ? test::gzip(file) : file, 0, CodePage::Cp866);
        ASSERT_EQ(font.height, 16);
        EXPECT_EQ(font.present.count(), 4u);
        for (const auto& [code, glyph] :
             {std::pair{0x41, 300}, {0x81, 300}, {0x86, 2}, {0x01, 9}}) {
            ASSERT_TRUE(font.present.test(code)) << code;
            EXPECT_TRUE(std::ranges::equal(glyphOf(font, code), sampleGlyph(glyphs, glyph)))
                << code;
        }
    }
    // In code page 437 Б and Ж stand for nothing.
    EXPECT_EQ(readFont(file, 16, CodePage::Cp437).present.count(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Fonts, TableMapping, testing::Values(1, 2));

struct Whole {
    const char* name;
    std::vector<uint8_t> file;
    int height;
    int expectedHeight;
};

class WholeFont : public testing::TestWithParam<Whole> {};

// Raw fonts and fonts without a table give their first 256 glyphs in order.
TEST_P(WholeFont, GivesTheFirstGlyphsInOrder) {
    const Whole& c = GetParam();
    const CodePageFont font = readFont(c.file, c.height, CodePage::Cp866);
    ASSERT_EQ(font.height, c.expectedHeight);
    EXPECT_TRUE(font.present.all());
    const auto glyphs = test::sampleGlyphs(256, c.expectedHeight);
    EXPECT_TRUE(std::ranges::equal(font.bytes(), glyphs));
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, WholeFont,
    testing::Values(Whole{"Raw16", test::sampleGlyphs(256, 16), 16, 16},
                    Whole{"Raw16Either", test::sampleGlyphs(256, 16), 0, 16},
                    Whole{"Raw8", test::sampleGlyphs(256, 8), 8, 8},
                    Whole{"Psf1Of512", test::psf({.version = 1, .count = 512, .height = 8}), 8, 8},
                    Whole{"Psf2", test::psf({.count = 300}), 16, 16},
                    // The header size says where the glyphs start; the format allows more than 32.
                    Whole{"Psf2LongHeader", test::psf({.headerSize = 48}), 16, 16},
                    Whole{"TwoGzipMembers",
                          [] {
                              const auto file = test::psf({});
                              auto a = test::gzip({file.begin(), file.begin() + 100});
                              const auto b = test::gzip({file.begin() + 100, file.end()});
                              a.insert(a.end(), b.begin(), b.end());
                              return a;
                          }(),
                          16, 16}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlane::fontfile
