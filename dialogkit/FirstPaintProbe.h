// The probe behind the start-up benchmark.
#pragma once

namespace vorlane::dk {

// Prints "first-paint <CLOCK_MONOTONIC ns>" to standard output once the first top-level window
// has painted and ends the process. Needs the backend's application.
void installFirstPaintProbe();

}  // namespace vorlane::dk
