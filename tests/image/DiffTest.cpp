#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>

#include "image/Diff.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

using test::RomBuilder;
using Bytes = std::vector<uint8_t>;

// A validated image and the count of bytes it was loaded from, as diff compares it.
struct Side {
    std::unique_ptr<CRomImage> image = std::make_unique<CRomImage>();
    RomStatus status = kRomOk;
    size_t loaded = 0;

    explicit Side(const Bytes& bytes, bool skipChecksum = false) {
        image->loadBytes(bytes);
        loaded = static_cast<size_t>(image->length);
        image->skipChecksum = skipChecksum ? 1 : 0;
        status = image->validate();
    }
    ComparedImage compared() const { return {*image, status, loaded}; }
};

// The bytes of the builder's image after an edit and a save, as the editor writes them.
Bytes savedAfter(const RomBuilder& builder, const std::function<void(CRomImage&)>& edit) {
    Side side(builder.build());
    edit(*side.image);
    side.image->fixChecksum();
    return Bytes(side.image->data.begin(), side.image->data.begin() + side.image->validLength());
}

Bytes flipped(Bytes bytes, size_t at) {
    bytes[at] ^= 0xFF;
    return bytes;
}

Bytes firstBytes(const Bytes& bytes, size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(count));
}

constexpr uint16_t kEngine = RomBuilder::kClockRecord + 0x27;

struct DiffCase {
    const char* name;
    Bytes a, b;
    bool skipChecksum;
    std::vector<ByteRange> ranges;
    std::vector<std::string_view> fields = {};
    std::vector<int> glyphs8x16 = {};
    std::vector<int> glyphs8x8 = {};
};

TEST(CompareImages, RangesFieldsAndGlyphs) {
    const Bytes base = RomBuilder().build();
    // 64 KiB files of a 32 KiB image, valid whatever follows the declared size.
    const Bytes half = RomBuilder().declaredBlocks(64).build();
    const Bytes noise = {0x13, 0x55, 0xAA, 0x00, 0x7E};
    // Both images hold a second copy of the 8x16 font at 0x8000; B uses it, and its first copy
    // lost glyph 0x41, which B's font therefore still has.
    Bytes font8x16(4096);
    for (size_t i = 0; i < font8x16.size(); ++i) {
        font8x16[i] = RomBuilder::defaultFont8x16Byte(i);
    }
    const RomBuilder twoFonts = RomBuilder().poke(0x8000, font8x16);
    const Bytes movedFont =
        RomBuilder(twoFonts)
            .fontSequences({{RomBuilder::kFontSequence, {RomBuilder::kFont8x8, 0x8000}}})
            .poke(RomBuilder::kFont8x16 + 0x41 * 16, Bytes(16, 0))
            .build();
    const std::vector<DiffCase> cases = {
        {"identical", base, base, false, {}, {}, {}, {}},
        {"one raw byte", base, flipped(base, 0x9000), true, {{0x9000, 1}}, {"byteSum"}},
        // A saved edit also changes the checksum byte at the end.
        {"engine clock",
         base,
         savedAfter(RomBuilder(), [](CRomImage& i) { i.writeClocks(0x70, i.memoryFeedback()); }),
         false,
         {{kEngine, 1}, {0xFFFF, 1}},
         {"engineFeedback", "engineClock"}},
        {"step clock",
         base,
         RomBuilder().referenceFrequency(2800).build(),
         false,
         {{RomBuilder::kPll + 0x0E, 1}, {0xFFFF, 1}},
         {"engineClock", "memoryClock", "stepClock"}},
        {"two glyphs",
         base,
         savedAfter(RomBuilder(),
                    [](CRomImage& i) {
                        i.data[RomBuilder::kFont8x16 + 0x41 * 16 + 15] ^= 1;
                        i.data[RomBuilder::kFont8x16 + 0xC9 * 16] ^= 0x80;
                        i.data[RomBuilder::kFont8x8 + 0x30 * 8 + 3] ^= 4;
                    }),
         false,
         {{RomBuilder::kFont8x8 + 0x30 * 8 + 3, 1},
          {RomBuilder::kFont8x16 + 0x41 * 16 + 15, 1},
          {RomBuilder::kFont8x16 + 0xC9 * 16, 1},
          {0xFFFF, 1}},
         {},
         {0x41, 0xC9},
         {0x30}},
        // Bytes only one file has differ, and join a differing range that touches them.
        {"shorter B",
         half,
         flipped(firstBytes(half, 40000), 39999),
         false,
         {{39999, 65536 - 39999}}},
        {"shorter A", firstBytes(half, 40000), half, false, {{40000, 65536 - 40000}}},
        // Failed validations compare as they are: an empty file against a few bytes of noise.
        {"empty and noise", {}, noise, false, {{0, 5}}, {"length", "byteSum"}},
        // Each image's glyphs are read where its own font sits.
        {"font at another offset",
         twoFonts.build(),
         movedFont,
         false,
         {{RomBuilder::kFont8x16 + 0x41 * 16, 16},
          {RomBuilder::kFontSequence + 15, 1},
          {0xFFFF, 1}},
         {"font8x16Offset"}},
    };
    for (const DiffCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Side a(c.a, c.skipChecksum), b(c.b, c.skipChecksum);
        const ImageDiff diff = compareImages(a.compared(), b.compared());
        EXPECT_EQ(diff.byteRanges, c.ranges);
        size_t total = 0;
        for (const ByteRange& r : c.ranges) {
            total += r.length;
        }
        EXPECT_EQ(diff.bytesDiffering, total);
        EXPECT_EQ(diff.identical(), c.ranges.empty());
        std::vector<std::string_view> keys;
        for (const FieldChange& f : diff.fields) {
            keys.push_back(f.key);
            EXPECT_FALSE(sameInfoValue(f.a, f.b)) << f.key;
        }
        EXPECT_EQ(keys, c.fields);
        EXPECT_EQ(diff.glyphs8x16, c.glyphs8x16);
        EXPECT_EQ(diff.glyphs8x8, c.glyphs8x8);
    }
}

TEST(CompareImages, FieldValuesAndFontsComparedOnlyWhenBothAreLocated) {
    const Side a(RomBuilder().build());
    const Side b(RomBuilder().deviceId(0x5446).noFontSequence().build());
    const ImageDiff diff = compareImages(a.compared(), b.compared());
    EXPECT_FALSE(diff.fonts8x16Compared);
    EXPECT_FALSE(diff.fonts8x8Compared);
    EXPECT_TRUE(diff.glyphs8x16.empty());
    const auto device = std::ranges::find(diff.fields, "deviceId", &FieldChange::key);
    ASSERT_NE(device, diff.fields.end());
    EXPECT_EQ(device->a, InfoValue(int64_t{0x5159}));
    EXPECT_EQ(device->b, InfoValue(int64_t{0x5446}));
    EXPECT_TRUE(compareImages(a.compared(), a.compared()).fonts8x16Compared);
}

TEST(InfoValues, FloatsCompareAsTheyArePrinted) {
    struct Case {
        InfoValue a, b;
        bool same;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<Case> cases = {
        {225.0f, 225.0f, true},
        {0.0f, -0.0f, false},
        {nan, -nan, true},
        {int64_t{1}, true, false},
        {nullptr, int64_t{0}, false},
        {std::string("1"), int64_t{1}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sameInfoValue(c.a, c.b), c.same) << c.a.index() << " " << c.b.index();
    }
    EXPECT_EQ(float32Text(225.0f), "225.000000");
    EXPECT_EQ(float32Text(static_cast<float>(2700.0 / 7.0)), "385.71429443359375");
    EXPECT_EQ(float32Text(0.1f), "0.10000000149011612");
}

}  // namespace
}  // namespace vorlane
