// Clock values as both programs show them.
#pragma once

#include <string>

namespace vorlane {

// The clock in MHz of a feedback byte: (feedback x stepClock) x 0.01, where stepClock and 0.01
// are single-precision values and both products are taken in double precision. Not rounded.
double clockMHz(int feedback, float stepClock);

// clockMHz formatted "%4.2f": with stepClock 337.5 a feedback of 1 gives "3.37".
std::string clockText(int feedback, float stepClock);

// The feedback bytes the window's clock spins offer: 100 to 500 MHz in feedback steps, held
// within what the one-byte feedback field can store. A step clock of 0 (or less) offers the
// whole 0 to 255.
struct FeedbackRange {
    int lower = 0;
    int upper = 255;
};
FeedbackRange clockSpinRange(float stepClock);

// The feedback byte, 1 to 255, whose clock lies nearest to `mhz`; the lower byte on a tie.
struct FeedbackChoice {
    int feedback = 0;
    double mhz = 0.0;      // the unrounded clock of `feedback`
    bool inReach = false;  // within half a step of the requested clock
};
FeedbackChoice nearestFeedback(double mhz, float stepClock);

}  // namespace vorlane
