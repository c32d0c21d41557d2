// Writes a few well-formed font files into the folder given, as a starting corpus for the font
// fuzzer. The first byte of each is the fuzzer's choice of height and code page.
#include <cstdio>
#include <string>

#include "tests/support/FontSamples.h"
#include "tests/support/RomBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    using namespace vorlane::test;
    const std::string folder = argv[1];
    const auto put = [&](const std::string& name, uint8_t choice, std::vector<uint8_t> file) {
        file.insert(file.begin(), choice);
        writeBytes(folder + "/" + name, file);
    };
    std::vector<TableEntry> table(512);
    for (uint32_t g = 0; g < 512; ++g) {
        table[g].characters = {char32_t(g < 128 ? g : 0x0400 + g % 128)};
        if (g % 5 == 0) {
            table[g].sequences = {{'e', 0x0301}};
        }
    }
    put("raw16", 0, sampleGlyphs(256, 16));
    put("raw8", 1, sampleGlyphs(256, 8));
    put("psf1", 4, psf({.version = 1, .count = 512, .table = table}));
    put("psf2", 6, psf({.count = 512, .table = table}));
    put("psf2-8.gz", 1, gzip(psf({.height = 8, .table = {table.begin(), table.begin() + 256}})));
    return 0;
}
