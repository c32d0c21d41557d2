// The image tools/demo-rom writes: the tests' synthetic image, valid in every check the editor
// makes, with identification texts that say what it is. It holds no BIOS code and belongs to no
// card; it exists so that the editor and vorlane-cli can be tried without a real image. Its fonts
// are the program's standard set, so that the font dialog shows letters.
#include <cstdio>
#include <exception>
#include <vector>

#include "image/BuiltinFonts.h"
#include "tests/support/RomBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: demo-rom OUT\n", stderr);
        return 2;
    }
    using vorlane::test::RomBuilder;
    const auto font8x8 = vorlane::kStandardFont8x8;
    const auto font8x16 = vorlane::kStandardFont8x16;
    try {
        RomBuilder()
            .poke(RomBuilder::kFont8x8, std::vector<uint8_t>(font8x8.begin(), font8x8.end()))
            .poke(RomBuilder::kFont8x16, std::vector<uint8_t>(font8x16.begin(), font8x16.end()))
            .headText("VORLANE DEMO IMAGE - NO BIOS")
            .infoBytes("  VORLANE DEMO IMAGE, NOT FOR ANY CARD\r\n NO BIOS CODE, DO NOT FLASH")
            .writeTo(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "demo-rom: %s\n", e.what());
        return 1;
    }
    return 0;
}
