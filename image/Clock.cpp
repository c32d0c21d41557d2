#include "image/Clock.h"

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

}  // namespace vorlane
