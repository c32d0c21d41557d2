// Loading a console font is one click in the font dialog; reading Debian's gzip-compressed
// 512-glyph font and mapping it to a code page should take well under 100 microseconds.
#include <benchmark/benchmark.h>

#include "fontfile/FontFiles.h"
#include "fontfile/FontReader.h"
#include "tests/support/FontSamples.h"

namespace vorlane::fontfile {
namespace {

// 512 glyphs of 8x16, a Unicode table, gzip-compressed, as console-setup-linux ships it.
constexpr const char* kFont = "FullCyrSlav-VGA16.psf.gz";

void BM_ReadAndMapGzipConsoleFont(benchmark::State& state) {
    const std::string path = test::consoleFont(kFont);
    if (path.empty()) {
        state.SkipWithError("console-setup-linux is not installed (tools/install-deps)");
        return;
    }
    const auto page = state.range(0) == 866 ? CodePage::Cp866 : CodePage::Cp437;
    for (auto _ : state) {
        CodePageFont font = readFont(readFontBytes(path), 16, page);
        benchmark::DoNotOptimize(font);
    }
}
BENCHMARK(BM_ReadAndMapGzipConsoleFont)->Arg(866)->Arg(437)->Unit(benchmark::kMicrosecond);

// The same without the file system: decompression and mapping alone.
void BM_MapGzipConsoleFontInMemory(benchmark::State& state) {
    const std::string path = test::consoleFont(kFont);
    if (path.empty()) {
        state.SkipWithError("console-setup-linux is not installed (tools/install-deps)");
        return;
    }
    const auto bytes = readFontBytes(path);
    for (auto _ : state) {
        CodePageFont font = readFont(bytes, 16, CodePage::Cp866);
        benchmark::DoNotOptimize(font);
    }
}
BENCHMARK(BM_MapGzipConsoleFontInMemory)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorlane::fontfile

BENCHMARK_MAIN();
