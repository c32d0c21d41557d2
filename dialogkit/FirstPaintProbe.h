// The probe behind the start-up benchmark.
#pragma once

namespace vorlane::dk {

// Prints "first-paint <CLOCK_MONOTONIC ns>" to standard output once the first top-level window
// has painted and ends the process. Needs a QApplication.
void installFirstPaintProbe();

}  // namespace vorlane::dk
