// Writes a few valid images into the folder given, as a starting corpus for the image fuzzer.
#include <cstdio>
#include <string>

#include "tests/support/RomBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    using vorlane::test::RomBuilder;
    const std::string folder = argv[1];
    // The fuzzer takes the edit arguments from the end of its input: 20 bytes suffice.
    const auto withArguments = [](std::vector<uint8_t> image) {
        for (uint8_t i = 0; i < 20; ++i) {
            image.push_back(static_cast<uint8_t>(i * 37 + 1));
        }
        return image;
    };
    vorlane::test::writeBytes(folder + "/seed-64k", withArguments(RomBuilder().build()));
    vorlane::test::writeBytes(
        folder + "/seed-16k",
        withArguments(RomBuilder().fileSize(16384).declaredBlocks(0x20).noFontSequence().build()));
    vorlane::test::writeBytes(folder + "/seed-32k-declared",
                              withArguments(RomBuilder().declaredBlocks(0x40).build()));
    return 0;
}
