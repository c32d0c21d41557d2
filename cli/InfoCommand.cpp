#include "cli/InfoCommand.h"

#include <CLI/CLI.hpp>

#include "cli/LoadImage.h"
#include "cli/Output.h"
#include "cli/Report.h"

namespace vorlane::cli {

void InfoOptions::declare(CLI::App& sub) {
    sub.add_flag("--json", json);
    sub.add_flag("--skip-checksum", skipChecksum);
    sub.add_option("FILE", files)->required();
}

void InfoOptions::read() {
    checkStandardInput("info", files, false);
}

int runInfo(const InfoOptions& options) {
    int worst = kExitDone;
    bool first = true;
    for (const std::string& file : options.files) {
        CRomImage image;
        RomStatus status = kRomOk;
        try {
            status = loadAndValidate(image, file, options.skipChecksum);
        } catch (const FileError& error) {
            // One unreadable FILE does not keep the others from being reported.
            worst = fileFailure(error);
            continue;
        }
        if (options.json) {
            writeOut(infoJson(image, status, file));
            writeOut("\n");
        } else {
            writeOut(first ? "" : "\n");
            writeOut(infoHuman(image, status, file));
        }
        first = false;
        if (status != kRomOk && worst == kExitDone) {
            worst = kExitInvalid;
        }
    }
    return worst;
}

}  // namespace vorlane::cli
