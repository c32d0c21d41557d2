// vorlane-cli with the fonts people have: --font-8x16, --font-8x8, --codepage and the formats of
// font-export, on Debian's console fonts where they are installed and on fonts made here.
#include <gtest/gtest.h>

#include "tests/cli/CliRunner.h"
#include "tests/support/FontSamples.h"

namespace vorlane::test {
namespace {

using B = RomBuilder;

std::vector<uint8_t> slice(const std::vector<uint8_t>& bytes, size_t at, size_t count) {
    return {bytes.begin() + at, bytes.begin() + at + count};
}

std::vector<uint8_t> glyph16(const std::vector<uint8_t>& image, int code) {
    return slice(image, B::kFont8x16 + code * 16, 16);
}

TEST(CliFont, CyrillicConsoleFontLandsInCodePage866Order) {
    const std::string font = consoleFont("CyrSlav-VGA16.psf.gz");
    if (font.empty()) {
        GTEST_SKIP() << "console-setup-linux is not installed (tools/install-deps)";
    }
    TempDir dir;
    B().writeTo(dir.file("in.rom"));
    const auto before = readBytes(dir.file("in.rom"));
    const CliResult r = runCli({"edit", dir.file("in.rom"), "-o", dir.file("ru.rom"), "--font-8x16",
                                font, "--codepage", "866"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto ru = readBytes(dir.file("ru.rom"));
    // А, О and а look like A, O and a; Я does not look like what 437 has there (ƒ).
    EXPECT_EQ(glyph16(ru, 0x80), glyph16(ru, 'A'));
    EXPECT_EQ(glyph16(ru, 0x8E), glyph16(ru, 'O'));
    EXPECT_EQ(glyph16(ru, 0xA0), glyph16(ru, 'a'));
    EXPECT_NE(glyph16(ru, 0x9F), glyph16(before, 0x9F));
    // ☺ is not in the font: the image keeps its glyph; the 8x8 font is not touched.
    EXPECT_EQ(glyph16(ru, 0x01), glyph16(before, 0x01));
    EXPECT_EQ(slice(ru, B::kFont8x8, 2048), slice(before, B::kFont8x8, 2048));
    EXPECT_EQ(infoOf(dir.file("ru.rom"))["status"], 0);

    // Without --codepage the same file gives code page 437: Ç is no А.
    ASSERT_EQ(runCli({"edit", dir.file("in.rom"), "-o", dir.file("lat.rom"), "--font-8x16", font})
                  .exitCode,
              0);
    EXPECT_NE(glyph16(readBytes(dir.file("lat.rom")), 0x80), glyph16(ru, 0x80));
}

struct ExportCase {
    std::vector<std::string> options;
    const char* out;
    const char* importOption;  // --font-8x16 or --font-8x8
    std::vector<std::string> importExtra;
    bool gzipped = false;  // as the editor's font dialog writes a .psf.gz or .psfu.gz name
};

// Each font exported as a PC Screen Font and imported into an image with other fonts comes back
// byte for byte.
TEST(CliFont, ExportedFontsImportToTheSameBytes) {
    TempDir dir;
    B().writeTo(dir.file("a.rom"));
    B().poke(B::kFont8x8, std::vector<uint8_t>(6144, 0x5A)).writeTo(dir.file("b.rom"));
    const auto a = readBytes(dir.file("a.rom"));
    const ExportCase cases[] = {
        {{}, "f.psf", "--font-8x16", {}},
        {{"--codepage", "866"}, "f.psfu", "--font-8x16", {"--codepage", "866"}},
        {{"--size", "8x8", "--format", "psf"}, "f.fnt", "--font-8x8", {}},
        {{}, "f.psf.gz", "--font-8x16", {}, true},
        {{"--size", "8x8"}, "F.PSFU.GZ", "--font-8x8", {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        std::vector<std::string> args = {"font-export", dir.file("a.rom"), dir.file(c.out)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(runCli(args).exitCode, 0);
        EXPECT_EQ(readBytes(dir.file(c.out))[0] == 0x1F, c.gzipped);
        args = {"edit",         dir.file("b.rom"), "-o", dir.file("c.rom"),
                c.importOption, dir.file(c.out)};
        args.insert(args.end(), c.importExtra.begin(), c.importExtra.end());
        const CliResult r = runCli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const bool small = std::string(c.importOption) == "--font-8x8";
        const size_t at = small ? B::kFont8x8 : B::kFont8x16;
        EXPECT_EQ(slice(readBytes(dir.file("c.rom")), at, small ? 2048 : 4096),
                  slice(a, at, small ? 2048 : 4096));
    }
}

TEST(CliFont, PngIsAsLargeAsTheGridAndFntStaysAsItWas) {
    TempDir dir;
    B().writeTo(dir.file("a.rom"));
    const std::pair<std::vector<std::string>, std::pair<uint32_t, uint32_t>> cases[] = {
        {{dir.file("a.png"), "--scale", "1"}, {128, 256}},
        {{dir.file("a.PNG")}, {256, 512}},
        {{dir.file("a.img"), "--format", "png", "--size", "8x8", "--scale", "3"}, {384, 384}},
    };
    for (const auto& [options, size] : cases) {
        std::vector<std::string> args = {"font-export", dir.file("a.rom")};
        args.insert(args.end(), options.begin(), options.end());
        ASSERT_EQ(runCli(args).exitCode, 0) << options[0];
        const auto png = readBytes(options[0]);
        ASSERT_GE(png.size(), 24u);
        EXPECT_EQ(slice(png, 1, 3), (std::vector<uint8_t>{'P', 'N', 'G'}));
        const auto be32 = [&](size_t at) {
            return uint32_t{png[at]} << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        };
        EXPECT_EQ(std::pair(be32(16), be32(20)), size) << options[0];
    }
    // Raw fonts are the editor's alone: on the command line their name is no format's.
    ASSERT_EQ(runCli({"font-export", dir.file("a.rom"), dir.file("a.f16")}).exitCode, 0);
    const auto rom = readBytes(dir.file("a.rom"));
    auto fnt = slice(rom, B::kFont8x8, 2048);
    const auto f16 = slice(rom, B::kFont8x16, 4096);
    fnt.insert(fnt.end(), f16.begin(), f16.end());
    EXPECT_EQ(readBytes(dir.file("a.f16")), fnt);
}

TEST(CliFont, BadFontsAndOptionsChangeNothing) {
    TempDir dir;
    const auto f = [&](const std::string& name) { return dir.file(name); };
    B().writeTo(f("ok.rom"));
    B().fontSequences({{B::kFontSequence, {B::kFont8x8, 0xFFFF}}}).writeTo(f("no16.rom"));
    writeBytes(f("odd.f08"), std::vector<uint8_t>(1952));
    writeBytes(f("raw.f16"), std::vector<uint8_t>(4096));
    writeBytes(f("wide.psf"), psf({.width = 9}));
    writeBytes(f("cut.psf.gz"), [] {
        auto bytes = gzip(psf({}));
        bytes.resize(bytes.size() - 9);
        return bytes;
    }());
    const std::string out = f("out.rom");
    const auto before = folderState(dir.path());
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    };
    const auto edit = [&](std::vector<std::string> more) {
        std::vector<std::string> args = {"edit", f("ok.rom"), "-o", out};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const Case cases[] = {
        {edit({"--font-8x8", f("odd.f08")}), 1,
         f("odd.f08") + ": refused: 1952 bytes: neither a raw 8x8 font nor a PC Screen Font"},
        {edit({"--font-8x8", f("raw.f16")}), 1, "4096 bytes: neither a raw 8x8 font"},
        {edit({"--font-16x8", f("raw.f16")}), 2, "--font-16x8"},
        {edit({"--font-8x16", f("wide.psf")}), 1, "glyphs are 9 pixels wide, need 8"},
        {edit({"--font-8x8", f("raw.f08"), "--font-8x16", f("cut.psf.gz")}), 3, "raw.f08: No such"},
        {edit({"--font-8x16", f("cut.psf.gz")}), 1, "gzip data is truncated"},
        {{"edit", f("no16.rom"), "-o", out, "--font-8x16", f("raw.f16")}, 1, "not located"},
        {edit({"--codepage", "866"}), 2, "--codepage needs --font-8x16 or --font-8x8"},
        {edit({"--font-8x16", f("raw.f16"), "--codepage", "850"}), 2, "'850' is not 437 or 866"},
        {edit({"--font-8x16", f("raw.f16"), "--builtin-font", "standard"}), 2, "together"},
        {edit({"--font-8x8", f("odd.f08"), "--font-file", f("raw.f16")}), 2, "together"},
        {{"font-export", f("ok.rom"), f("x.fnt"), "--size", "8x8"}, 2, "--size"},
        {{"font-export", f("ok.rom"), f("x.png"), "--codepage", "437"}, 2, "--codepage"},
        {{"font-export", f("ok.rom"), f("x.psf"), "--scale", "2"}, 2, "--scale"},
        {{"font-export", f("ok.rom"), f("x.png"), "--scale", "9"}, 2, "from 1 to 8"},
        {{"font-export", f("ok.rom"), f("x.png"), "--size", "16x8"}, 2, "'16x8'"},
        {{"font-export", f("ok.rom"), f("x.png"), "--format", "bmp"}, 2, "'bmp'"},
        {{"font-export", f("no16.rom"), f("x.psf")}, 1, "fonts are not located"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(folderState(dir.path()), before);
}

}  // namespace
}  // namespace vorlane::test
