// Replaces the program's operator new and delete; in a file of its own, so that the compiler sees
// no new and free of the same pointer side by side.
#include "tests/support/RunningOutOfMemory.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<int> allocationsLeft{-1};
}  // namespace

namespace vorlane::test {

void runOutOfMemoryAfter(int allocations) {
    allocationsLeft = allocations;
}

}  // namespace vorlane::test

void* operator new(std::size_t size) {
    if (allocationsLeft.load() >= 0 && allocationsLeft.fetch_sub(1) == 0) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size != 0 ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
