// Validation is the work of every load; it should never be noticeable, even over many files.
#include <benchmark/benchmark.h>

#include "image/RomImage.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

// A full 64 KiB image whose font sequence sits near the end, so the search runs over nearly all
// of it, and whose padding is not blank, so the byte search meets candidate bytes throughout.
std::vector<uint8_t> realisticImage() {
    test::RomBuilder builder;
    std::vector<uint8_t> code(0xD000);
    uint32_t state = 12345;
    for (auto& b : code) {
        state = state * 1103515245u + 12345u;
        b = static_cast<uint8_t>(state >> 16);
    }
    builder.poke(0x0500, code);
    return builder.build();
}

void BM_Validate(benchmark::State& state) {
    CRomImage image;
    image.loadBytes(realisticImage());
    if (image.validate() != kRomOk) {
        state.SkipWithError("the benchmark image does not validate");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(image.validate());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Validate);

void BM_ResetLoadValidate(benchmark::State& state) {
    const auto bytes = realisticImage();
    CRomImage image;
    for (auto _ : state) {
        image.reset();
        image.loadBytes(bytes);
        benchmark::DoNotOptimize(image.validate());
    }
}
BENCHMARK(BM_ResetLoadValidate);

void BM_LocateFonts(benchmark::State& state) {
    CRomImage image;
    image.loadBytes(realisticImage());
    image.validate();
    for (auto _ : state) {
        image.locateFonts();
        benchmark::DoNotOptimize(image.font8x16Offset);
    }
}
BENCHMARK(BM_LocateFonts);

void BM_ApplyBuiltinSetAndFixChecksum(benchmark::State& state) {
    CRomImage image;
    image.loadBytes(realisticImage());
    image.validate();
    bool cyrillic = false;
    for (auto _ : state) {
        image.applyBuiltinSet(cyrillic);
        image.fixChecksum();
        cyrillic = !cyrillic;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ApplyBuiltinSetAndFixChecksum);

}  // namespace
}  // namespace vorlane

BENCHMARK_MAIN();
