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
    const RomStatus status = loadAndValidate(image, options.file, false);
    if (const char* refusal = saveRefusal(status, image.length)) {
        return refuse(options.file, statusReason(status) + ": " + refusal);
    }
    image.saveFile(options.outputs.inPlace ? options.file : options.outputs.output);
    return kExitDone;
}

}  // namespace vorlane::cli
