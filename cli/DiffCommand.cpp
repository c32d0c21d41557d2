#include "cli/DiffCommand.h"

#include <cstdio>
#include <memory>

#include "cli/Commands.h"
#include "cli/Report.h"
#include "cli/Values.h"
#include "image/Text.h"

namespace vorlane::cli {

namespace {

std::string jsonCodes(const std::vector<int>& codes) {
    std::string out = "[";
    for (size_t i = 0; i < codes.size(); ++i) {
        out += formatPlain(i == 0 ? "%d" : ",%d", codes[i]);
    }
    return out + "]";
}

}  // namespace

std::string diffJson(const DiffSide& a, const DiffSide& b, const ImageDiff& diff) {
    std::string out = "{\"a\":" + jsonValue(a.file) + ",\"b\":" + jsonValue(b.file) +
                      ",\"identical\":" + (diff.identical() ? "true" : "false") +
                      ",\"bytesDiffering\":" + std::to_string(diff.bytesDiffering) +
                      ",\"byteRanges\":[";
    for (size_t i = 0; i < diff.byteRanges.size(); ++i) {
        out += formatPlain("%s[%u,%u]", i == 0 ? "" : ",", diff.byteRanges[i].first,
                           diff.byteRanges[i].length);
    }
    out += "],\"fields\":{";
    for (size_t i = 0; i < diff.fields.size(); ++i) {
        const FieldChange& field = diff.fields[i];
        out += (i == 0 ? "\"" : ",\"") + std::string(field.key) + "\":[" + jsonValue(field.a) +
               "," + jsonValue(field.b) + "]";
    }
    return out + "},\"glyphs8x16\":" + jsonCodes(diff.glyphs8x16) +
           ",\"glyphs8x8\":" + jsonCodes(diff.glyphs8x8) + "}";
}

int runDiff(const std::string& fileA, const std::string& fileB, bool json, bool skipChecksum) {
    const auto load = [skipChecksum](const std::string& file, CRomImage& image) {
        const size_t loaded = loadImage(image, file);
        image.skipChecksum = skipChecksum ? 1 : 0;
        return ComparedImage{image, image.validate(), loaded};
    };
    // Two 64 KiB buffers would crowd the stack.
    const auto imageA = std::make_unique<CRomImage>();
    const auto imageB = std::make_unique<CRomImage>();
    const DiffSide a{fileA, load(fileA, *imageA)};
    const DiffSide b{fileB, load(fileB, *imageB)};
    const ImageDiff diff = compareImages(a.compared, b.compared);
    const std::string report = json ? diffJson(a, b, diff) + "\n" : diffHuman(a, b, diff);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return diff.identical() ? 0 : 1;
}

}  // namespace vorlane::cli
