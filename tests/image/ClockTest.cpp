// The clock arithmetic both programs share, and the gates in front of the clock and TV edits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "image/Clock.h"
#include "image/RomImage.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

using test::RomBuilder;
using test::validated;

TEST(ClockSpinRange, CoversOneHundredToFiveHundredMHzInsideTheByte) {
    struct Case {
        float stepClock;
        int lower, upper;
    };
    for (const Case& c : {
             Case{225.0f, 44, 222},   // 44.4 and 222.2 steps, rounded down
             Case{337.5f, 29, 148},   //
             Case{100.0f, 100, 255},  // 500 steps cut to the byte
             Case{1e-30f, 255, 255},  // both bounds far beyond the byte, and beyond int
             Case{1e30f, 0, 0},       //
             Case{0.0f, 0, 255},      // no step clock: the whole byte
             Case{-2.0f, 0, 255},
             Case{std::numeric_limits<float>::quiet_NaN(), 0, 255},
         }) {
        const FeedbackRange range = clockSpinRange(c.stepClock);
        EXPECT_EQ(range.lower, c.lower) << c.stepClock;
        EXPECT_EQ(range.upper, c.upper) << c.stepClock;
    }
}

TEST(NearestFeedback, IsTheLowerByteOnATieAndWithinHalfAStep) {
    // A step of 2.25 MHz: byte 1 is 2.25, byte 100 is 225, byte 255 is 573.75.
    struct Case {
        double mhz;
        int feedback;
        bool inReach;
    };
    for (const Case& c :
         {Case{1.2, 1, true}, Case{1.0, 1, false}, Case{226.0, 100, true}, Case{226.2, 101, true},
          Case{574.8, 255, true}, Case{575.0, 255, false}}) {
        EXPECT_EQ(nearestFeedback(c.mhz, 225.0f).feedback, c.feedback) << c.mhz;
        EXPECT_EQ(nearestFeedback(c.mhz, 225.0f).inReach, c.inReach) << c.mhz;
    }
    // Exactly midway: the lower byte, in reach even where rounding puts the products a few
    // units in the last place further apart than one step.
    for (const auto& [step, lower] : {std::pair(337.5f, 100), std::pair(2700.0f / 13, 124)}) {
        const double middle = (clockMHz(lower, step) + clockMHz(lower + 1, step)) / 2;
        EXPECT_EQ(nearestFeedback(middle, step).feedback, lower) << step;
        EXPECT_TRUE(nearestFeedback(middle, step).inReach) << step;
        EXPECT_EQ(nearestFeedback(std::nextafter(middle, 1e9), step).feedback, lower + 1);
    }
    // A reference frequency of 0 passes validation; no clock is then in reach.
    EXPECT_FALSE(nearestFeedback(100.0, 0.0f).inReach);
}

TEST(EditGates, TheWindowsClockGateIsThePllBlockAndTheWriteGateTheRecord) {
    struct Case {
        const char* what;
        RomBuilder image;
        bool clock, clockWrite, tv;
    };
    const Case cases[] = {
        {"valid", RomBuilder(), true, true, true},
        // Status 7 keeps the PLL block: the window's spins move, and write nothing.
        {"no clock record", RomBuilder().clockRecordAt(std::nullopt), true, false, true},
        {"TV standard 0", RomBuilder().tvByte7(0), true, true, false},
        // Status 5 the other way round: the record was found before the PLL block was missed.
        {"no PLL block", RomBuilder().pllOffset(0), false, true, false},
    };
    for (const Case& c : cases) {
        const CRomImage image = validated(c.image);
        EXPECT_EQ(image.clockGateOpen(), c.clock) << c.what;
        EXPECT_EQ(image.clockWriteGateOpen(), c.clockWrite) << c.what;
        EXPECT_EQ(image.tvGateOpen(), c.tv) << c.what;
    }
}

}  // namespace
}  // namespace vorlane
