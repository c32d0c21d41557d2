#include <gtest/gtest.h>
#include <png.h>

#ifndef _WIN32
#include <malloc.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <new>

#include "fontfile/FontFiles.h"
#include "fontfile/FontReader.h"
#include "fontfile/FontWriter.h"
#include "fontfile/Gzip.h"
#include "tests/support/FontSamples.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/RomBuilder.h"
#include "tests/support/RunningOutOfMemory.h"

namespace vorlane::fontfile {
namespace {

using test::RomBuilder;

uint16_t offsetFor(int height) {
    return height == 8 ? RomBuilder::kFont8x8 : RomBuilder::kFont8x16;
}

struct PsfCase {
    int height;
    CodePage page;
    bool compressed = false;
};

class PsfExport : public testing::TestWithParam<PsfCase> {};

TEST_P(PsfExport, ImportsBackToTheSameBytes) {
    const auto [height, page, compressed] = GetParam();
    test::TempDir dir;
    const CRomImage source = test::validated(RomBuilder());
    exportPsf(source, dir.file("a.psf"), height, page, compressed);

    // Into an image whose fonts are blank, so that every glyph must come from the file.
    std::vector<uint8_t> blank(6144);
    CRomImage target = test::validated(
        RomBuilder().poke(RomBuilder::kFont8x8, blank).checksum(RomBuilder::Checksum::Fixed));
    ASSERT_EQ(importFont(target, dir.file("a.psf"), height, page), height);
    const size_t at = offsetFor(height);
    EXPECT_EQ(test::bytesAt(target, at, 256u * height), test::bytesAt(source, at, 256u * height));

    const auto file = test::readBytes(dir.file("a.psf"));
    EXPECT_EQ(file[0] == 0x1F && file[1] == 0x8B, compressed);
    exportPsf(target, dir.file("b.psf"), height, page, compressed);
    EXPECT_EQ(test::readBytes(dir.file("b.psf")), file);
}

INSTANTIATE_TEST_SUITE_P(Fonts, PsfExport,
                         testing::Values(PsfCase{16, CodePage::Cp437}, PsfCase{16, CodePage::Cp866},
                                         PsfCase{8, CodePage::Cp437}, PsfCase{8, CodePage::Cp866},
                                         PsfCase{16, CodePage::Cp866, true}),
                         [](const testing::TestParamInfo<PsfCase>& info) {
                             return "8x" + std::to_string(info.param.height) + "_" +
                                    std::to_string(static_cast<int>(info.param.page)) +
                                    (info.param.compressed ? "_gzip" : "");
                         });

// kbd's own table reader lists every glyph's character, so console tools take the file.
TEST(PsfExport, KbdReadsTheTable) {
    if (std::system("command -v psfgettable >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "psfgettable (kbd) is not installed";
    }
    test::TempDir dir;
    exportPsf(test::validated(RomBuilder()), dir.file("a.psf"), 16, CodePage::Cp866);
    const std::string command =
        "psfgettable " + dir.file("a.psf") + " " + dir.file("table.txt") + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto text = test::readBytes(dir.file("table.txt"));
    const std::string table(text.begin(), text.end());
    for (const char* line : {"0x041\tU+0041", "0x080\tU+0410", "0x0ef\tU+044f", "0x0ff\tU+00a0"}) {
        EXPECT_NE(table.find(line), std::string::npos) << line;
    }
}

struct PngCase {
    int height;
    int scale;
    uint32_t width;
    uint32_t rows;
};

class PngExport : public testing::TestWithParam<PngCase> {};

TEST_P(PngExport, HasTheSizeAndPixelsOfTheGrid) {
    const PngCase c = GetParam();
    test::TempDir dir;
    const CRomImage image = test::validated(RomBuilder());
    exportPng(image, dir.file("a.png"), c.height, c.scale);
    const auto file = test::readBytes(dir.file("a.png"));
    ASSERT_GT(file.size(), 26u);
    EXPECT_EQ(file[24], 8) << "bit depth";
    EXPECT_EQ(file[25], PNG_COLOR_TYPE_GRAY);

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&png, file.data(), file.size()));
    ASSERT_EQ(png.width, c.width);
    ASSERT_EQ(png.height, c.rows);
    png.format = PNG_FORMAT_GRAY;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr));

    const auto font = test::bytesAt(image, offsetFor(c.height), 256u * c.height);
    size_t wrong = 0;
    for (uint32_t y = 0; y < c.rows; ++y) {
        for (uint32_t x = 0; x < c.width; ++x) {
            const uint32_t px = x / c.scale, py = y / c.scale;
            const uint32_t glyph = py / c.height * 16 + px / 8;
            const uint8_t bits = font[glyph * c.height + py % c.height];
            const uint8_t expected = (bits >> (7 - px % 8) & 1) != 0 ? 255 : 0;
            wrong += pixels[size_t{y} * c.width + x] != expected;
        }
    }
    EXPECT_EQ(wrong, 0u);
}

INSTANTIATE_TEST_SUITE_P(Fonts, PngExport,
                         testing::Values(PngCase{16, 1, 128, 256}, PngCase{16, 2, 256, 512},
                                         PngCase{8, 3, 384, 384}),
                         [](const testing::TestParamInfo<PngCase>& info) {
                             return "8x" + std::to_string(info.param.height) + "_scale" +
                                    std::to_string(info.param.scale);
                         });

}  // namespace

// Open descriptors are counted in /proc and the heap with glibc's mallinfo2: Linux only.
#ifndef _WIN32
size_t openDescriptors() {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

// Memory that runs out in the middle of reading a font file or of compressing one must not take
// the descriptor or the zlib stream with it: each allocation fails in turn, and afterwards no
// descriptor is open and no compressor's state (a quarter of a megabyte each) is left on the heap.
TEST(FontFiles, RunningOutOfMemoryLeaksNoDescriptorAndNoStream) {
    test::TempDir dir;
    const std::vector<uint8_t> bytes(100000, 0x5A);
    const std::string path = dir.file("big.f16");
    test::writeBytes(path, bytes);
    const size_t descriptors = openDescriptors();
    const size_t heap = mallinfo2().uordblks;
    int failures = 0;
    for (int allocations = 0; allocations < 6; ++allocations) {
        for (const auto& step : std::vector<std::function<void()>>{
                 [&] { fontfile::readFontBytes(path); }, [&] { fontfile::gzip(bytes); }}) {
            test::runOutOfMemoryAfter(allocations);
            try {
                step();
            } catch (const std::bad_alloc&) {
                ++failures;
            }
            test::runOutOfMemoryAfter(-1);
        }
    }
    EXPECT_GE(failures, 3);  // each read and each compression, where its state is held
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_LT(mallinfo2().uordblks, heap + 64 * 1024);
}
#endif

}  // namespace vorlane::fontfile
