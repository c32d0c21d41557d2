#include "cli/PadCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <string>
#include <vector>

#include "cli/LoadImage.h"
#include "cli/Output.h"
#include "cli/Values.h"
#include "image/Check.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::cli {

void PadOptions::declare(CLI::App& sub) {
    sub.add_option("FILE", file)->required();
    addValue(sub, "--chip-size", chipSizeText_, "SIZE")->required();
    outputs.declare(sub);
}

void PadOptions::read() {
    outputs.read("pad");
    chipSize = parseChipSize("--chip-size", chipSizeText_);
    checkStandardInput("pad", {file}, outputs.inPlace);
}

int runPad(const PadOptions& options) {
    const std::string& file = options.file;
    const uint64_t chipSize = options.chipSize;
    // Everything up to one byte past the chip is read: a file that fits is written out whole,
    // and a larger one is refused. A file's size is the one its open descriptor reports;
    // standard input that goes on past the chip is known only to be larger than the chip.
    const bool standardInput = isStandardStream(file);
    const uint64_t limit = std::max<uint64_t>(chipSize + 1, CRomImage::kBufferSize);
    uint64_t size = 0;
    const std::vector<uint8_t> bytes =
        readFileUpTo(file, static_cast<size_t>(limit), Dash::StandardInput, &size);
    const bool moreThanSize = standardInput && bytes.size() > chipSize;
    if (standardInput) {
        size = moreThanSize ? chipSize : bytes.size();
    }

    CRomImage image;
    image.loadBytes(bytes);
    const RomStatus status = image.validate();
    if (const std::string refusal = padRefusal(image, status, size, chipSize, moreThanSize);
        !refusal.empty()) {
        return refuse(file, refusal);
    }
    writePadded(options.outputs.inPlace ? file : options.outputs.output, bytes, chipSize);
    return kExitDone;
}

}  // namespace vorlane::cli
