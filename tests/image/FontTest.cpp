#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "image/BuiltinFonts.h"
#include "image/FileError.h"
#include "image/RomImage.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

using test::bytesAt;
using test::RomBuilder;
using test::TempDir;
using test::validated;

std::vector<uint8_t> pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 31 + seed);
    }
    return bytes;
}

TEST(FontFile, WriteThenReadRoundTrips) {
    TempDir dir;
    CRomImage image = validated(RomBuilder());
    image.writeFontFile(dir.file("a.fnt"));
    const auto file = test::readBytes(dir.file("a.fnt"));
    ASSERT_EQ(file.size(), 6144u);
    EXPECT_TRUE(
        std::equal(file.begin(), file.begin() + 2048, image.data.begin() + RomBuilder::kFont8x8));
    EXPECT_TRUE(
        std::equal(file.begin() + 2048, file.end(), image.data.begin() + RomBuilder::kFont8x16));

    const auto before = image.data;
    image.readFontFile(dir.file("a.fnt"));
    EXPECT_EQ(image.data, before);
}

TEST(FontFile, ShortAndLongFilesReplaceOnlyWhatTheyHold) {
    TempDir dir;
    CRomImage image = validated(RomBuilder());
    const auto old16 = bytesAt(image, RomBuilder::kFont8x16, 4096);

    const auto shortFile = pattern(3000, 9);
    test::writeBytes(dir.file("short.fnt"), shortFile);
    image.readFontFile(dir.file("short.fnt"));
    EXPECT_EQ(bytesAt(image, RomBuilder::kFont8x8, 2048),
              std::vector<uint8_t>(shortFile.begin(), shortFile.begin() + 2048));
    const auto new16 = bytesAt(image, RomBuilder::kFont8x16, 4096);
    EXPECT_TRUE(std::equal(shortFile.begin() + 2048, shortFile.end(), new16.begin()));
    EXPECT_TRUE(std::equal(new16.begin() + 952, new16.end(), old16.begin() + 952));

    auto longFile = pattern(7000, 3);
    test::writeBytes(dir.file("long.fnt"), longFile);
    const auto beforeLong = image.data;
    image.readFontFile(dir.file("long.fnt"));
    EXPECT_TRUE(std::equal(longFile.begin() + 2048, longFile.begin() + 6144,
                           image.data.begin() + RomBuilder::kFont8x16));
    // Nothing past the two fonts changed.
    for (size_t i = 0; i < image.data.size(); ++i) {
        const bool inFonts = (i >= RomBuilder::kFont8x8 && i < RomBuilder::kFont8x8 + 2048u) ||
                             (i >= RomBuilder::kFont8x16 && i < RomBuilder::kFont8x16 + 4096u);
        if (!inFonts && image.data[i] != beforeLong[i]) {
            ADD_FAILURE() << "byte " << i << " changed";
            break;
        }
    }
}

TEST(FontFile, NothingHappensWithoutLocatedFontsOrWithAMissingFile) {
    TempDir dir;
    test::writeBytes(dir.file("f.fnt"), pattern(6144, 1));

    CRomImage none = validated(RomBuilder().noFontSequence());
    const auto before = none.data;
    none.readFontFile(dir.file("f.fnt"));
    none.applyBuiltinSet(true);
    none.writeFontFile(dir.file("out.fnt"));
    EXPECT_EQ(none.data, before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.fnt")));

    CRomImage image = validated(RomBuilder());
    const auto kept = image.data;
    EXPECT_THROW(image.readFontFile(dir.file("absent.fnt")), FileError);
    EXPECT_EQ(image.data, kept);
    EXPECT_THROW(image.writeFontFile(dir.file("no/such/folder.fnt")), FileError);
}

TEST(BuiltinSets, ApplyAndRecognise) {
    CRomImage image = validated(RomBuilder());
    EXPECT_FALSE(image.isCyrillicSet());
    image.applyBuiltinSet(true);
    EXPECT_TRUE(image.isCyrillicSet());
    EXPECT_EQ(bytesAt(image, RomBuilder::kFont8x16, 4096),
              std::vector<uint8_t>(kCyrillicFont8x16.begin(), kCyrillicFont8x16.end()));
    image.applyBuiltinSet(false);
    EXPECT_FALSE(image.isCyrillicSet());
    EXPECT_EQ(bytesAt(image, RomBuilder::kFont8x8, 2048),
              std::vector<uint8_t>(kStandardFont8x8.begin(), kStandardFont8x8.end()));

    // Only the 8x8 font decides: a Cyrillic 8x16 font beside another 8x8 font is not the set.
    image.applyBuiltinSet(true);
    image.data[RomBuilder::kFont8x8 + 0x41 * 8] ^= 0x01;
    EXPECT_FALSE(image.isCyrillicSet());

    // Without a located 8x8 font the first 2048 bytes of the image are compared.
    CRomImage bare;
    std::copy(kCyrillicFont8x8.begin(), kCyrillicFont8x8.end(), bare.data.begin());
    EXPECT_TRUE(bare.isCyrillicSet());
}

TEST(BuiltinSets, OverlappingFontsTakeThe8x16CopyLast) {
    // The 8x16 font starting inside the 8x8 one: its copy, made second, wins where they meet.
    CRomImage image = validated(RomBuilder().fontSequences({{0xFA00, {0xE000, 0xE400}}}));
    image.applyBuiltinSet(true);
    EXPECT_EQ(bytesAt(image, 0xE400, 4096),
              std::vector<uint8_t>(kCyrillicFont8x16.begin(), kCyrillicFont8x16.end()));
    EXPECT_FALSE(image.isCyrillicSet());
}

}  // namespace
}  // namespace vorlane
