#include "cli/FixChecksumCommand.h"

#include <CLI/CLI.hpp>

#include "cli/LoadImage.h"
#include "cli/Output.h"

namespace vorlane::cli {

void FixChecksumOptions::declare(CLI::App& sub) {
    sub.add_option("FILE", file)->required();
    outputs.declare(sub);
}

void FixChecksumOptions::read() {
    outputs.read("fix-checksum");
    checkStandardInput("fix-checksum", {file}, outputs.inPlace);
}

int runFixChecksum(const FixChecksumOptions& options) {
    CRomImage image;
    loadAndValidate(image, options.file, false);
    image.saveFile(options.outputs.inPlace ? options.file : options.outputs.output);
    return kExitDone;
}

}  // namespace vorlane::cli
