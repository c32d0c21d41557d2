// Writes the test-support builder's default image (valid, 64 KiB) to the path given, for the
// packaging checks, which run the installed programs from a shell.
#include <cstdio>
#include <exception>

#include "tests/support/RomBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vorlane_write_test_rom OUT\n", stderr);
        return 2;
    }
    try {
        vorlane::test::RomBuilder().writeTo(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorlane_write_test_rom: %s\n", e.what());
        return 1;
    }
    return 0;
}
