// Any bytes as a font file: the reader must either refuse them with a FontError or return a font
// of a height it was allowed to return, and a font it returns must survive being written as a
// PC Screen Font and read again, and must change no byte of an image outside its own font.
#include <algorithm>
#include <cstdlib>

#include "fontfile/FontError.h"
#include "fontfile/FontFiles.h"
#include "fontfile/FontReader.h"
#include "fontfile/FontWriter.h"

using namespace vorlane;
using namespace vorlane::fontfile;

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

CRomImage& imageWithFonts() {
    static CRomImage image = [] {
        CRomImage i;
        i.font8x8Offset = 0x1000;
        i.font8x16Offset = 0x2000;
        return i;
    }();
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the height asked for and the code page; the rest is the file.
    const int heights[] = {0, 8, 16};
    const int height = heights[bytes[0] % 3];
    const CodePage page = (bytes[0] & 0x04) != 0 ? CodePage::Cp866 : CodePage::Cp437;
    const std::span<const uint8_t> file(bytes + 1, size - 1);

    CodePageFont font;
    try {
        font = readFont(file, height, page);
    } catch (const FontError&) {
        return 0;
    }
    check(font.height == 8 || font.height == 16);
    check(height == 0 || font.height == height);
    check(font.present.any());
    for (int code = 0; code < 256; ++code) {
        if (!font.present.test(code)) {
            const auto glyph = font.bytes().subspan(size_t(code) * font.height, font.height);
            check(std::ranges::all_of(glyph, [](uint8_t b) { return b == 0; }));
        }
    }

    const CodePageFont again = readFont(encodePsf2(font.bytes(), font.height, page), height, page);
    check(again.height == font.height && again.present.all());
    check(std::ranges::equal(again.bytes(), font.bytes()));

    CRomImage& image = imageWithFonts();
    const auto before = image.data;
    storeFont(image, font);
    const size_t first = font.height == 8 ? image.font8x8Offset : image.font8x16Offset;
    const size_t last = first + 256 * size_t(font.height);
    for (size_t i = 0; i < before.size(); ++i) {
        check(image.data[i] == before[i] || (i >= first && i < last));
    }
    return 0;
}
