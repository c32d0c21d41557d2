// Memory that runs out on purpose: this test program's operator new throws std::bad_alloc once
// the given number of allocations have been made, so that a test can make each allocation of a
// call fail in turn.
#pragma once

namespace vorlane::test {

// -1: memory never runs out (the default).
void runOutOfMemoryAfter(int allocations);

}  // namespace vorlane::test
