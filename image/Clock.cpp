#include "image/Clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vorlane {

double clockMHz(int feedback, float stepClock) {
    // Each product is rounded to double on its own; taking 0.01 as a float is what makes a step
    // of 337.5 show 3.37 rather than 3.38.
    const double steps = static_cast<double>(feedback) * static_cast<double>(stepClock);
    return steps * static_cast<double>(0.01f);
}

std::string clockText(int feedback, float stepClock) {
    char text[64];
    std::snprintf(text, sizeof text, "%4.2f", clockMHz(feedback, stepClock));
    return text;
}

FeedbackRange clockSpinRange(float stepClock) {
    if (!(stepClock > 0.0f)) {
        return {};
    }
    // Clamped while still a double, so no bound is ever converted from a value int cannot hold.
    const double step = static_cast<double>(stepClock);
    return {static_cast<int>(std::clamp(std::floor(10000.0 / step), 0.0, 255.0)),
            static_cast<int>(std::clamp(std::floor(50000.0 / step), 0.0, 255.0))};
}

FeedbackChoice nearestFeedback(double mhz, float stepClock) {
    FeedbackChoice best;
    double bestDistance = INFINITY;
    for (int b = 1; b <= 255; ++b) {
        const double clock = clockMHz(b, stepClock);
        const double distance = std::fabs(clock - mhz);
        // Strictly nearer only, so a tie keeps the lower byte.
        if (distance < bestDistance) {
            best.feedback = b;
            best.mhz = clock;
            bestDistance = distance;
        }
    }
    // Half a step is judged on the same products as the clocks themselves; the tolerance of a
    // few units in the last place keeps a request exactly between two bytes from being refused
    // by the rounding of those products alone.
    const double halfStep = clockMHz(1, stepClock) * 0.5;
    best.inReach = bestDistance <= halfStep * (1.0 + 1e-9);
    return best;
}

}  // namespace vorlane
