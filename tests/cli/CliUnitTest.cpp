// The parts of vorlane-cli that are easier to reach directly: the strict value parsers and
// refusals that no validated image can trigger.
#include <gtest/gtest.h>

#include "cli/EditCommand.h"
#include "cli/Values.h"
#include "tests/support/RomBuilder.h"

namespace vorlane::cli {
namespace {

TEST(CliValues, NumbersAreStrictDecimalAndHexadecimal) {
    EXPECT_EQ(parseFeedbackByte("-", "0"), 0);
    EXPECT_EQ(parseFeedbackByte("-", "255"), 255);
    EXPECT_EQ(parseFeedbackByte("-", "007"), 7);
    for (const char* bad : {"", "256", "-1", "+1", "1.0", "0x10", " 1", "99999999999999999999"}) {
        EXPECT_THROW(parseFeedbackByte("-", bad), UsageError) << bad;
    }
    EXPECT_EQ(parseMegahertz("-", ".5"), 0.5);
    EXPECT_EQ(parseMegahertz("-", "7."), 7.0);
    for (const std::string& bad : std::vector<std::string>{
             "", ".", "0.000", "-1", "+1", "1e3", "inf", "nan", "0x1p3", "1.2.3", "3,5",
             std::string(400, '9')}) {  // the last beyond any double
        EXPECT_THROW(parseMegahertz("-", bad), UsageError) << bad;
    }
    EXPECT_EQ(parseHexId("-", "ffff"), 0xFFFF);
    EXPECT_EQ(parseHexId("-", "0xBeEf"), 0xBEEF);
    EXPECT_EQ(parseHexId("-", "0X12"), 0x12);
    for (const char* bad : {"", "0x", "12345", "0x12345", "g", "-1", " 1", "x12"}) {
        EXPECT_THROW(parseHexId("-", bad), UsageError) << bad;
    }
    EXPECT_EQ(printableText("A\xE9\x85\x01\x7F"), "A\u00E9...");
}

// Hand-made states of an image that a successful validation never leaves: the plan must still
// refuse rather than write through a zero offset.
TEST(CliEditPlan, GatesHoldEvenWhereValidationWouldHaveStoppedFirst) {
    CRomImage image;
    image.loadBytes(test::RomBuilder().build());
    ASSERT_EQ(image.validate(), kRomOk);
    EditRequest clocks, mhz, tv;
    clocks.engineFeedback = 5;
    mhz.memoryMHz = 300.0;
    tv.tvStandard = 2;
    EXPECT_EQ(planEdits(image, clocks).refusal, "");
    EXPECT_EQ(planEdits(image, tv).refusal, "");

    CRomImage noRecord = image;
    noRecord.memoryFeedbackOffset = 0;
    EXPECT_NE(planEdits(noRecord, clocks).refusal.find("clock record"), std::string::npos);
    EXPECT_NE(planEdits(noRecord, mhz).refusal.find("clock record"), std::string::npos);
    CRomImage noPll = image;
    noPll.pllOffset = 0;
    EXPECT_NE(planEdits(noPll, tv).refusal.find("PLL"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::cli
