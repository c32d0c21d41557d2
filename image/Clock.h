// Clock values as both programs show them.
#pragma once

#include <string>

namespace vorlane {

// The clock in MHz of a feedback byte: (feedback x stepClock) x 0.01, where stepClock and 0.01
// are single-precision values and both products are taken in double precision. Not rounded.
double clockMHz(int feedback, float stepClock);

// clockMHz formatted "%4.2f": with stepClock 337.5 a feedback of 1 gives "3.37".
std::string clockText(int feedback, float stepClock);

}  // namespace vorlane
