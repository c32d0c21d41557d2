// The pre-flash check: which findings each kind of image file gets, on synthetic images and on
// real option ROMs of other ATI families.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/Check.h"
#include "tests/support/ImageBytes.h"

namespace vorlane {
namespace {

using test::RomBuilder;

std::vector<std::string> codesOf(const std::vector<CheckFinding>& findings) {
    std::vector<std::string> codes;
    for (const CheckFinding& finding : findings) {
        codes.push_back((finding.level == CheckFinding::Level::Error ? "E:" : "W:") + finding.code);
    }
    return codes;
}

struct CheckCase {
    const char* name;
    RomBuilder builder;
    uint64_t fileSize;
    CheckRequest request;
    std::vector<std::string> codes;
    bool erasedPastBuffer = false;
    bool moreThanSize = false;
};

class CheckFindings : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckFindings, AreExactlyTheExpectedOnes) {
    const CheckCase& c = GetParam();
    CRomImage image;
    image.loadBytes(c.builder.build());
    const RomStatus status = image.validate();
    const auto findings =
        checkImage(image, status, c.fileSize, c.request, {c.moreThanSize, c.erasedPastBuffer});
    EXPECT_EQ(codesOf(findings), c.codes);
    EXPECT_EQ(hasError(findings), !c.codes.empty() && c.codes.front().starts_with("E:"));
    for (const CheckFinding& finding : findings) {
        EXPECT_FALSE(finding.message.empty()) << finding.code;
    }
}

constexpr uint64_t k64K = 65536;
// A 32 KiB image followed by 32 KiB of erased bytes.
const RomBuilder kPadded =
    RomBuilder().declaredBlocks(64).poke(0x8000, std::vector<uint8_t>(0x8000, 0xFF));

INSTANTIATE_TEST_SUITE_P(
    Synthetic, CheckFindings,
    ::testing::Values(
        CheckCase{"Fit", RomBuilder(), k64K, {}, {}},
        CheckCase{"FitOnItsChip", RomBuilder(), k64K, {k64K, 0x5159}, {}},
        CheckCase{"OtherVendor", RomBuilder().vendorId(0x10DE), k64K, {}, {"E:vendor"}},
        CheckCase{"OtherDevice", RomBuilder(), k64K, {std::nullopt, 0x5144}, {"E:device"}},
        CheckCase{"EfiImage", RomBuilder().codeType(3), k64K, {}, {"E:code-type"}},
        CheckCase{"TooBig",
                  RomBuilder(),
                  131072,
                  {k64K, std::nullopt},
                  {"E:too-big", "W:trailing-bytes"}},
        CheckCase{"SmallerThanChip",
                  RomBuilder().fileSize(32768).declaredBlocks(64),
                  32768,
                  {131072, std::nullopt},
                  {"W:smaller-than-chip"}},
        CheckCase{"Trailing", RomBuilder().declaredBlocks(64), k64K, {}, {"W:trailing-bytes"}},
        // Erased bytes past the image are padding up to the chip's size, as pad writes it; one
        // byte that is not, in the buffer or past it, makes them trailing bytes again.
        CheckCase{"Padded", kPadded, k64K, {}, {}},
        CheckCase{"PaddedButOneByte",
                  RomBuilder(kPadded).poke(0xFFF0, {0}),
                  k64K,
                  {},
                  {"W:trailing-bytes"}},
        CheckCase{"PaddedPastTheBuffer", RomBuilder(), 131072, {131072, {}}, {}, true},
        CheckCase{"NotErasedPastTheBuffer", RomBuilder(), 131072, {}, {"W:trailing-bytes"}},
        // Standard input read no further than fileSize is known only to be larger than that.
        CheckCase{"LargerThanWhatWasReadIsTooBigForAChipThatSize",
                  RomBuilder(),
                  1048576,
                  {1048576, {}},
                  {"E:too-big", "W:trailing-bytes"},
                  false,
                  true},
        CheckCase{"LargerThanWhatWasReadIsNeverSmallerThanAChip",
                  RomBuilder(),
                  1048576,
                  {16777216, {}},
                  {"W:trailing-bytes"},
                  false,
                  true},
        CheckCase{"AnotherImageFollows", RomBuilder().indicator(0x00), k64K, {}, {"W:more-images"}},
        CheckCase{"EverythingAtOnce",
                  RomBuilder().vendorId(0x1234).codeType(1).indicator(0).declaredBlocks(64),
                  k64K,
                  {32768, 0x5144},
                  {"E:vendor", "E:device", "E:code-type", "E:too-big", "W:trailing-bytes",
                   "W:more-images"}},
        // A failed image reports its status and the sizes only: its other fields mean nothing.
        CheckCase{"FailedStatus",
                  RomBuilder().vendorId(0x1234).indicator(0).pllOffset(0),
                  k64K,
                  {131072, 0x5144},
                  {"E:status", "W:smaller-than-chip"}},
        CheckCase{"FailedAndTooBig",
                  RomBuilder().checksum(RomBuilder::Checksum::Broken),
                  k64K,
                  {32768, std::nullopt},
                  {"E:status", "E:too-big"}}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

TEST(CheckMessages, NameTheNumbersAPersonNeeds) {
    CRomImage image = test::validated(RomBuilder());
    const auto big = checkImage(image, kRomOk, 131072, {65536, std::nullopt});
    ASSERT_EQ(big.size(), 2u);
    EXPECT_EQ(big[0].message, "the file is 131072 bytes, the chip holds 65536");
    CRomImage other = test::validated(RomBuilder().vendorId(0x10DE));
    const auto vendor = checkImage(other, kRomOk, 65536, {});
    ASSERT_FALSE(vendor.empty());
    EXPECT_EQ(vendor[0].message, "the PCI vendor ID is 10de, not ATI's 1002");
    CRomImage broken;
    broken.loadBytes(RomBuilder().checksum(RomBuilder::Checksum::Broken).build());
    const RomStatus status = broken.validate();
    const auto failed = checkImage(broken, status, 65536, {});
    ASSERT_FALSE(failed.empty());
    EXPECT_EQ(failed[0].message, CRomImage::statusMessage(kRomBadChecksum));
}

struct RealCheck {
    const char* file;
    RomStatus status;
};

class RealRomCheck : public ::testing::TestWithParam<RealCheck> {};

// None of these is of the family the editor knows: each must be refused for its status, the
// reason a person sees first, and never for a field read out of an image that failed.
TEST_P(RealRomCheck, IsNotFitBecauseOfItsStatus) {
    const std::string path = std::string(VORLANE_SHARED_ROMS) + "/" + GetParam().file;
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "no real ROM images beside the project";
    }
    CRomImage image;
    image.loadFile(path);
    const RomStatus status = image.validate();
    ASSERT_EQ(status, GetParam().status);
    const auto size = std::filesystem::file_size(path);
    const auto findings = checkImage(image, status, size, {size, std::nullopt});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "status");
    EXPECT_EQ(findings[0].message, CRomImage::statusMessage(status));
    EXPECT_TRUE(hasError(findings));
}

INSTANTIATE_TEST_SUITE_P(
    SharedRoms, RealRomCheck,
    ::testing::Values(RealCheck{"ati_rage128-Rage128progl_zerostate.VBI", kRomNoClockRecord},
                      RealCheck{"ati_rage128-Rage128proIIpci_zerostate.VBI", kRomNoClockRecord},
                      RealCheck{"mach64-atimach64vt2pci.bin", kRomNoPll},
                      RealCheck{"mach64-bios.bin", kRomNoPll},
                      RealCheck{"mach64-mach64vt-660c60c135839345779942.bin", kRomNoPll},
                      RealCheck{"mach64-M64-1994.VBI", kRomNotAti}),
    [](const ::testing::TestParamInfo<RealCheck>& info) {
        std::string name = info.param.file;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

}  // namespace
}  // namespace vorlane
