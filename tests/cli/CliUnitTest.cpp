// The parts of vorlane-cli that are easier to reach directly: the strict value parsers, the
// choice of a feedback byte for a clock, and refusals that no validated image can trigger.
#include <gtest/gtest.h>
#include <cmath>

#include "Clock.h"
#include "Commands.h"
#include "RomBuilder.h"
#include "Values.h"

namespace vorlane::cli {
namespace {

TEST(CliValues, NumbersAreStrictDecimalAndHexadecimal) {
    EXPECT_EQ(parseFeedbackByte("-", "0"), 0);
    EXPECT_EQ(parseFeedbackByte("-", "255"), 255);
    EXPECT_EQ(parseFeedbackByte("-", "007"), 7);
    for (const char* bad :
         {"", "256", "-1", "+1", "1.0", "0x10", " 1", "1 ", "99999999999999999999"}) {
        EXPECT_THROW(parseFeedbackByte("--engine-feedback", bad), UsageError) << bad;
    }

    EXPECT_EQ(parseMegahertz("-", "300"), 300.0);
    EXPECT_EQ(parseMegahertz("-", "0.5"), 0.5);
    EXPECT_EQ(parseMegahertz("-", ".5"), 0.5);
    EXPECT_EQ(parseMegahertz("-", "7."), 7.0);
    const std::string manyNines(400, '9');  // beyond any double
    for (const std::string& bad :
         std::vector<std::string>{"", ".", "0", "0.000", "-1", "+1", "1e3", "inf", "nan", "0x1p3",
                                  "1.2.3", "3,5", manyNines}) {
        EXPECT_THROW(parseMegahertz("--engine-mhz", bad), UsageError) << bad;
    }

    EXPECT_EQ(parseHexId("-", "0"), 0);
    EXPECT_EQ(parseHexId("-", "ffff"), 0xFFFF);
    EXPECT_EQ(parseHexId("-", "0xBeEf"), 0xBEEF);
    EXPECT_EQ(parseHexId("-", "0X12"), 0x12);
    for (const char* bad : {"", "0x", "12345", "0x12345", "g", "-1", " 1", "x12", "0x 1"}) {
        EXPECT_THROW(parseHexId("--subsystem", bad), UsageError) << bad;
    }

    try {
        parseFeedbackByte("--memory-feedback", "300");
        FAIL();
    } catch (const UsageError& e) {
        EXPECT_STREQ(e.what(), "--memory-feedback: '300' is not a decimal integer from 0 to 255");
    }
}

TEST(CliValues, NearestFeedbackTakesTheLowerByteOnATie) {
    const float step = 337.5f;
    const double low = clockMHz(100, step);
    const double high = clockMHz(101, step);
    const double middle = (low + high) / 2;
    ASSERT_EQ(middle - low, high - middle);  // an exact tie in double precision
    EXPECT_EQ(nearestFeedback(middle, step).feedback, 100);
    EXPECT_EQ(nearestFeedback(std::nextafter(middle, 1e9), step).feedback, 101);
    EXPECT_TRUE(nearestFeedback(middle, step).inReach);

    // Reach ends half a step beyond bytes 1 and 255.
    const double half = clockMHz(1, step) / 2;
    EXPECT_TRUE(nearestFeedback(clockMHz(255, step) + half * 0.999, step).inReach);
    EXPECT_FALSE(nearestFeedback(clockMHz(255, step) + half * 1.001, step).inReach);
    EXPECT_FALSE(nearestFeedback(clockMHz(1, step) - half * 1.001, step).inReach);
    EXPECT_EQ(nearestFeedback(clockMHz(1, step) - half * 0.999, step).feedback, 1);

    // A reference frequency of 0 passes validation; no clock is then in reach.
    EXPECT_FALSE(nearestFeedback(100.0, 0.0f).inReach);
}

TEST(CliValues, TextsForJsonAndTerminals) {
    EXPECT_EQ(latin1ToUtf8("A\xE9\xFF\x01"), "A\u00E9\u00FF\u0001");
    EXPECT_EQ(printableText("A\xE9\x85\x01\x7F"), "A\u00E9...");
    EXPECT_EQ(oneLine("Error N6 \n CheckSum Error!"), "Error N6 - CheckSum Error!");
}

// Hand-made states of an image that a successful validation never leaves: the plan must still
// refuse rather than write through a zero offset.
TEST(CliEditPlan, GatesHoldEvenWhereValidationWouldHaveStoppedFirst) {
    CRomImage image;
    image.loadBytes(test::RomBuilder().build());
    ASSERT_EQ(image.validate(), kRomOk);

    EditRequest clocks;
    clocks.engineFeedback = 5;
    EXPECT_EQ(planEdits(image, clocks).refusal, "");
    EXPECT_EQ(planEdits(image, clocks).engineFeedback, 5);
    EXPECT_FALSE(planEdits(image, clocks).memoryFeedback.has_value());

    CRomImage noRecord = image;
    noRecord.memoryFeedbackOffset = 0;
    EXPECT_NE(planEdits(noRecord, clocks).refusal.find("clock record"), std::string::npos);
    EditRequest mhz;
    mhz.memoryMHz = 300.0;
    EXPECT_NE(planEdits(noRecord, mhz).refusal.find("clock record"), std::string::npos);

    EditRequest tv;
    tv.tvStandard = 2;
    EXPECT_EQ(planEdits(image, tv).refusal, "");
    CRomImage noPll = image;
    noPll.pllOffset = 0;
    EXPECT_NE(planEdits(noPll, tv).refusal.find("PLL"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::cli
