#include "cli/DiffCommand.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "cli/Json.h"
#include "cli/LoadImage.h"
#include "image/Diff.h"
#include "image/Report.h"

namespace vorlane::cli {

namespace {

std::string diffJson(const DiffSide& a, const DiffSide& b, const ImageDiff& diff) {
    Json j;
    j["a"] = a.file;
    j["b"] = b.file;
    j["identical"] = diff.identical();
    j["bytesDiffering"] = diff.bytesDiffering;
    j["byteRanges"] = Json::array();
    for (const ByteRange& range : diff.byteRanges) {
        j["byteRanges"].push_back(Json::array({range.first, range.length}));
    }
    j["fields"] = Json::object();
    for (const FieldChange& field : diff.fields) {
        j["fields"][std::string(field.key)] = Json::array({jsonOf(field.a), jsonOf(field.b)});
    }
    j["glyphs8x16"] = diff.glyphs8x16;
    j["glyphs8x8"] = diff.glyphs8x8;
    return jsonText(j);
}

}  // namespace

void DiffOptions::declare(CLI::App& sub) {
    sub.add_flag("--json", json);
    sub.add_flag("--skip-checksum", skipChecksum);
    sub.add_option("A", fileA)->required();
    sub.add_option("B", fileB)->required();
}

void DiffOptions::read() {
    checkStandardInput("diff", {fileA, fileB}, false);
}

int runDiff(const DiffOptions& options) {
    const std::string& fileA = options.fileA;
    const std::string& fileB = options.fileB;
    const bool json = options.json;
    const auto load = [skipChecksum = options.skipChecksum](const std::string& file,
                                                            CRomImage& image) {
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
