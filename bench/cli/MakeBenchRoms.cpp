// Writes COUNT distinct valid 64 KiB images into FOLDER as r0000.rom, r0001.rom, ...
// Each differs in its texts, IDs and clock bytes, so no two files share their content.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/RomBuilder.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/r%04d.rom", i);
        vorlane::test::RomBuilder()
            .headText("BENCH IMAGE " + std::to_string(i))
            .subsystemId(static_cast<uint16_t>(i))
            .engineFeedback(static_cast<uint8_t>(40 + i % 200))
            .memoryFeedback(static_cast<uint8_t>(60 + i % 180))
            .tvByte7(static_cast<uint8_t>(1 + i % 2))
            .writeTo(folder + name);
    }
    return 0;
}
