#include <gtest/gtest.h>

#include <cstring>

#include "image/Clock.h"
#include "image/RomImage.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

using test::RomBuilder;

// Loads the bytes the way the editor does: reset, load, validate.
struct Loaded {
    CRomImage image;
    RomStatus status;
    explicit Loaded(const std::vector<uint8_t>& bytes, bool skipChecksum = false) {
        image.skipChecksum = skipChecksum;
        image.reset();
        image.loadBytes(bytes);
        status = image.validate();
    }
};

TEST(Validate, DefaultImageParsesEveryField) {
    Loaded l(RomBuilder().build());
    const CRomImage& im = l.image;
    ASSERT_EQ(l.status, kRomOk);
    EXPECT_EQ(im.length, 65536);
    EXPECT_EQ(im.pcirOffset, RomBuilder::kPcir);
    EXPECT_EQ(im.headerOffset, RomBuilder::kHeader);
    EXPECT_EQ(im.pllOffset, RomBuilder::kPll);
    EXPECT_EQ(im.tvOffset, RomBuilder::kTv);
    EXPECT_EQ(im.tvStandard, 1);
    EXPECT_EQ(im.clockScanStart, RomBuilder::kClockScan);
    EXPECT_EQ(im.referenceDividerOffset, RomBuilder::kClockRecord + 0x25);
    EXPECT_EQ(im.memoryFeedbackOffset, RomBuilder::kClockRecord + 0x26);
    EXPECT_EQ(im.engineFeedbackOffset, RomBuilder::kClockRecord + 0x27);
    EXPECT_EQ(im.engineFeedback(), 0x60);
    EXPECT_EQ(im.memoryFeedback(), 0x5A);
    EXPECT_EQ(im.referenceDivider(), 12);
    EXPECT_EQ(im.stepClock, 225.0f);
    EXPECT_EQ(im.vendorId, 0x1002);
    EXPECT_EQ(im.deviceId, 0x5159);
    EXPECT_EQ(im.subsystemVendorId, 0x1002);
    EXPECT_EQ(im.subsystemId, 0x0008);
    EXPECT_EQ(im.font8x8Offset, RomBuilder::kFont8x8);
    EXPECT_EQ(im.font8x16Offset, RomBuilder::kFont8x16);
    EXPECT_EQ(im.headText(), "VORLANE TEST BIOS R7000 64MB");
    EXPECT_STREQ(im.info(), "RADEON 7000 TEST BOARD 64MB DDR  400/400");
}

TEST(Validate, SizeBoundaries) {
    EXPECT_EQ(Loaded(RomBuilder().fileSize(16383).declaredBlocks(0x20).build()).status,
              kRomTooSmall);
    EXPECT_EQ(Loaded(RomBuilder().fileSize(0).build()).status, kRomTooSmall);
    // 16 KiB images are real; the fonts of the default layout lie outside, so none is found.
    Loaded small(RomBuilder().fileSize(16384).declaredBlocks(0x20).build());
    EXPECT_EQ(small.status, kRomOk);
    EXPECT_EQ(small.image.font8x8Offset, 0);
    EXPECT_EQ(Loaded(RomBuilder().fileSize(32768).declaredBlocks(0x80).build()).status,
              kRomTruncated);
}

TEST(Validate, StatusForEachMissingPiece) {
    EXPECT_EQ(Loaded(RomBuilder().signature(0x55, 0xAB).build()).status, kRomNoSignature);
    EXPECT_EQ(Loaded(RomBuilder().signature(0xAA, 0x55).build()).status, kRomNoSignature);
    EXPECT_EQ(Loaded(RomBuilder().headerOffset(0).build()).status, kRomNotAti);
    EXPECT_EQ(Loaded(RomBuilder().pcirOffset(0).build()).status, kRomNotAti);
    EXPECT_EQ(Loaded(RomBuilder().pcirMagic("PCIX").build()).status, kRomNotAti);
    EXPECT_EQ(Loaded(RomBuilder().atiText(" 761295521").build()).status, kRomNotAti);
    EXPECT_EQ(Loaded(RomBuilder().atiText(" 761295520", 'X').build()).status, kRomNotAti);
    EXPECT_EQ(Loaded(RomBuilder().pllOffset(0).build()).status, kRomNoPll);
    // The PLL check comes before the checksum.
    EXPECT_EQ(
        Loaded(RomBuilder().pllOffset(0).checksum(RomBuilder::Checksum::Broken).build()).status,
        kRomNoPll);
    EXPECT_EQ(Loaded(RomBuilder().checksum(RomBuilder::Checksum::Broken).build()).status,
              kRomBadChecksum);
    EXPECT_EQ(Loaded(RomBuilder().clockRecordAt(std::nullopt).build()).status, kRomNoClockRecord);
    EXPECT_EQ(Loaded(RomBuilder().referenceDivider(0).build()).status, kRomNoClockRecord);
    // Byte 2 of 0 clamps the length to nothing, so every table offset fails its bound.
    Loaded zero(RomBuilder().declaredBlocks(0).build());
    EXPECT_EQ(zero.status, kRomNotAti);
    EXPECT_EQ(zero.image.length, 0);
}

TEST(Validate, SkipChecksumLetsABadSumPass) {
    const auto bytes = RomBuilder().checksum(RomBuilder::Checksum::Broken).build();
    EXPECT_EQ(Loaded(bytes, true).status, kRomOk);
    EXPECT_EQ(Loaded(bytes, false).status, kRomBadChecksum);
}

TEST(Validate, FailureKeepsWhatWasParsedAndNoFonts) {
    Loaded l(RomBuilder().checksum(RomBuilder::Checksum::Broken).build());
    ASSERT_EQ(l.status, kRomBadChecksum);
    EXPECT_EQ(l.image.pllOffset, RomBuilder::kPll);
    EXPECT_EQ(l.image.font8x8Offset, 0);
    EXPECT_EQ(l.image.font8x16Offset, 0);
    EXPECT_EQ(l.image.stepClock, 2.25f);
}

TEST(Validate, ResetKeepsIdsWhenValidationStopsBeforeParsing) {
    CRomImage image;
    image.loadBytes(RomBuilder().subsystemId(0x4242).build());
    ASSERT_EQ(image.validate(), kRomOk);
    image.reset();
    image.loadBytes(RomBuilder().fileSize(100).build());
    EXPECT_EQ(image.validate(), kRomTooSmall);
    EXPECT_EQ(image.subsystemId, 0x4242);
    EXPECT_EQ(image.subsystemVendorId, 0x1002);
    EXPECT_EQ(image.pllOffset, 0);
    EXPECT_EQ(image.length, 100);
}

TEST(Validate, DeclaredSizeShorterThanFile) {
    // 64 KiB read, 32 KiB declared: the checksum covers 32 KiB; tables past it are out of bounds.
    Loaded l(RomBuilder().declaredBlocks(0x40).build());
    EXPECT_EQ(l.status, kRomOk);
    EXPECT_EQ(l.image.length, 32768);
    EXPECT_EQ(l.image.font8x8Offset, 0);
    EXPECT_EQ(l.image.font8x16Offset, 0);

    // The clock record scan is not bounded by the length: a record past 32 KiB is still found.
    Loaded far(
        RomBuilder().declaredBlocks(0x40).clockScanStart(0x9000).clockRecordAt(0x9000).build());
    EXPECT_EQ(far.status, kRomOk);
    EXPECT_EQ(far.image.engineFeedbackOffset, 0x9027);
}

TEST(Validate, TableOffsetsAreBoundedBySignedLength) {
    // A header word just inside the bound is taken; one byte further is not.
    const uint16_t lastHeader = 65536 - 0x56;
    Loaded inside(RomBuilder().headerOffset(lastHeader).build());
    EXPECT_EQ(inside.image.headerOffset, lastHeader);
    Loaded outside(RomBuilder().headerOffset(lastHeader + 1).build());
    EXPECT_EQ(outside.image.headerOffset, 0);
    EXPECT_EQ(outside.status, kRomNotAti);

    EXPECT_EQ(Loaded(RomBuilder().pllOffset(65536 - 0x1F).build()).status, kRomNoPll);
    Loaded tvFar(RomBuilder().tvOffset(65536 - 0x0F).build());
    EXPECT_EQ(tvFar.status, kRomOk);
    EXPECT_EQ(tvFar.image.tvOffset, 0);
    EXPECT_EQ(tvFar.image.tvStandard, 0);
}

TEST(Validate, TvTable) {
    Loaded pal(RomBuilder().tvByte7(0x32).build());
    EXPECT_EQ(pal.image.tvStandard, 2);  // only the low four bits
    Loaded wrong(RomBuilder().tvMagic("$TW").build());
    EXPECT_EQ(wrong.status, kRomOk);
    EXPECT_EQ(wrong.image.tvOffset, 0);
    EXPECT_EQ(wrong.image.tvStandard, 0);
}

TEST(Validate, ClockRecordScan) {
    // The carriage return may be anywhere in the 15 bytes; the first one wins.
    Loaded at14(RomBuilder().clockRecordAt(RomBuilder::kClockScan + 14).build());
    EXPECT_EQ(at14.status, kRomOk);
    EXPECT_EQ(at14.image.engineFeedbackOffset, RomBuilder::kClockScan + 14 + 0x27);

    Loaded first(RomBuilder().poke(RomBuilder::kClockScan + 1, {0x0D}).build());
    EXPECT_EQ(first.status, kRomNoClockRecord);  // no line feed 0x24 after the earlier CR

    // Without a carriage return the last byte examined is still tested for the line feed.
    const uint16_t p = RomBuilder::kClockScan + 14;
    Loaded noCr(
        RomBuilder().clockRecordAt(std::nullopt).poke(p + 0x24, {0x0A, 7, 0x20, 0x30}).build());
    EXPECT_EQ(noCr.status, kRomOk);
    EXPECT_EQ(noCr.image.referenceDividerOffset, p + 0x25);
    EXPECT_EQ(noCr.image.engineFeedback(), 0x30);

    // A scan that starts near the end of the buffer wraps its start but never reads past it.
    Loaded wrapped(RomBuilder().clockScanStart(0xFFFA).build());
    EXPECT_EQ(wrapped.status, kRomNoClockRecord);
    // ... and finds a carriage return at the start of the buffer (0xFFFA + 14 wraps to 8).
    Loaded wrappedRecord(RomBuilder().clockScanStart(0xFFFA).clockRecordAt(0x08).build());
    EXPECT_EQ(wrappedRecord.status, kRomOk);
    EXPECT_EQ(wrappedRecord.image.referenceDividerOffset, 0x2D);
    Loaded tail(RomBuilder().clockScanStart(0xFFD0).clockRecordAt(0xFFD8).build());
    EXPECT_EQ(tail.image.engineFeedbackOffset, 0xFFFF);
    EXPECT_EQ(tail.status, kRomOk);
}

TEST(Validate, InfoTextCompaction) {
    Loaded l(RomBuilder().infoBytes("  ABC\x01 DEF  G").build());
    EXPECT_STREQ(l.image.info(), "ABC DEF  G");
    Loaded high(RomBuilder().infoBytes("\x80\x81 \x7F\x1F x").build());
    EXPECT_STREQ(high.image.info(), "\x7F x");
    // At most 1024 source bytes, whatever follows.
    Loaded longText(RomBuilder().poke(0x80, std::vector<uint8_t>(1500, 'A')).build());
    EXPECT_EQ(std::strlen(longText.image.info()), 1024u);
}

TEST(Validate, HeadTextEndsAtNulOrBufferEnd) {
    CRomImage image;
    image.data.fill('A');
    EXPECT_EQ(image.headText().size(), 65536u - 0x50);
    Loaded l(RomBuilder().headText("").build());
    EXPECT_EQ(l.image.headText(), "");
}

TEST(LocateFonts, LastMatchWinsAndBoundsEachWord) {
    Loaded none(RomBuilder().noFontSequence().build());
    EXPECT_EQ(none.status, kRomOk);
    EXPECT_EQ(none.image.font8x8Offset, 0);
    EXPECT_EQ(none.image.font8x16Offset, 0);

    Loaded two(RomBuilder()
                   .fontSequences({{0x1000, {0x2000, 0x3000}}, {0x1100, {0x4000, 0x5000}}})
                   .build());
    EXPECT_EQ(two.image.font8x8Offset, 0x4000);
    EXPECT_EQ(two.image.font8x16Offset, 0x5000);

    // An out-of-range word in the last match clears its offset despite a good earlier match.
    Loaded late(RomBuilder()
                    .fontSequences({{0x1000, {0x2000, 0x3000}}, {0x1100, {0x4000, 65536 - 4095}}})
                    .build());
    EXPECT_EQ(late.image.font8x8Offset, 0x4000);
    EXPECT_EQ(late.image.font8x16Offset, 0);
    Loaded edge(RomBuilder().fontSequences({{0x1000, {65536 - 2048, 65536 - 4096}}}).build());
    EXPECT_EQ(edge.image.font8x8Offset, 65536 - 2048);
    EXPECT_EQ(edge.image.font8x16Offset, 65536 - 4096);
}

TEST(LocateFonts, SearchWindowRunsFrom0xFBToLengthMinus38) {
    EXPECT_EQ(
        Loaded(RomBuilder().fontSequences({{0xFA, {0x2000, 0x3000}}}).build()).image.font8x8Offset,
        0);
    EXPECT_EQ(
        Loaded(RomBuilder().fontSequences({{0xFB, {0x2000, 0x3000}}}).build()).image.font8x8Offset,
        0x2000);
    EXPECT_EQ(Loaded(RomBuilder().fontSequences({{65536 - 38, {0x2000, 0x3000}}}).build())
                  .image.font8x8Offset,
              0x2000);
    // A first byte of the sequence just before the last start must not end the search early.
    EXPECT_EQ(Loaded(RomBuilder()
                         .fontSequences({{65536 - 38, {0x2000, 0x3000}}})
                         .poke(65536 - 39, {0xB9})
                         .build())
                  .image.font8x8Offset,
              0x2000);
    EXPECT_EQ(Loaded(RomBuilder().fontSequences({{65536 - 37, {0x2000, 0x3000}}}).build())
                  .image.font8x8Offset,
              0);
}

TEST(ClockText, SinglePrecisionStepAndFactor) {
    // 2700 / 8 = 337.5: double arithmetic with a float 0.01 gives 3.37, not 3.38.
    EXPECT_EQ(clockText(1, 337.5f), "3.37");
    EXPECT_EQ(clockText(0x64, 225.0f), "225.00");
    EXPECT_EQ(clockText(0, 225.0f), "0.00");
    EXPECT_EQ(clockText(255, 6553.5f), "16711.42");
    // Products in float would give 3.37 here.
    EXPECT_EQ(clockText(7, static_cast<float>(2700.0 / 56.0)), "3.38");
    Loaded l(RomBuilder().referenceDivider(8).build());
    EXPECT_EQ(l.image.stepClock, 337.5f);
    // A step that a float cannot hold exactly is rounded once, from the double quotient.
    Loaded third(RomBuilder().referenceFrequency(2700).referenceDivider(7).build());
    EXPECT_EQ(third.image.stepClock, static_cast<float>(2700.0 / 7.0));
}

TEST(StatusMessage, TextsAreExact) {
    EXPECT_STREQ(CRomImage::statusMessage(1), "Error N1 \n Error size of file");
    EXPECT_STREQ(CRomImage::statusMessage(2), "Error N2 \n Bios non ATI");
    EXPECT_STREQ(CRomImage::statusMessage(3), "Error N3 \n Bios non ATI");
    EXPECT_STREQ(CRomImage::statusMessage(4), "Error N4 \n Bios non ATI");
    EXPECT_STREQ(CRomImage::statusMessage(5), "Error N5 \n Error CLK");
    EXPECT_STREQ(CRomImage::statusMessage(6), "Error N6 \n CheckSum Error!");
    EXPECT_STREQ(CRomImage::statusMessage(7), "Error N7 \n Bios non ATI");
}

}  // namespace
}  // namespace vorlane
