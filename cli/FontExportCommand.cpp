#include "cli/FontExportCommand.h"

#include <CLI/CLI.hpp>

#include "cli/LoadImage.h"
#include "cli/Output.h"
#include "image/CodePages.h"

namespace vorlane::cli {

void FontExportOptions::declare(CLI::App& sub) {
    sub.add_option("FILE", file)->required();
    sub.add_option("OUT", output)->required();
    sub.add_flag("--skip-checksum", skipChecksum);
    format_.declare(sub, "--format", "fnt|psf|png");
    size_.declare(sub, "--size", "8x16|8x8");
    codePage_.declare(sub, "--codepage", "437|866");
    scale_.declare(sub, "--scale", "N");
}

void FontExportOptions::read() {
    // Without --format, OUT's extension decides, as it does in the editor's font dialog.
    if (format_.given()) {
        format = fontfile::commandLineFormat(format_.text);
        if (format == nullptr) {
            throw UsageError(format_.name + ": '" + format_.text + "' is not " +
                             fontfile::commandLineFormatWords());
        }
    } else {
        const fontfile::FormatOfName named = fontfile::formatOfName(output, true);
        format = named.format;
        settings.compressed = named.compressed;
    }
    const std::string formatName(format->name);
    const auto refuseWith = [&](const OptionText& option) {
        if (option.given()) {
            throw UsageError("font-export: " + option.name + " does not apply to the " +
                             formatName + " format");
        }
    };
    if (formatName == "fnt") {
        refuseWith(size_);
    }
    if (formatName != "psf") {
        refuseWith(codePage_);
    }
    if (formatName != "png") {
        refuseWith(scale_);
    }
    if (size_.given()) {
        settings.height = size_.oneOf<int>({{"8x16", 16}, {"8x8", 8}}, "8x16 or 8x8");
    }
    if (codePage_.given()) {
        settings.page = codePageFromNumber(readCodePage(codePage_)).value_or(CodePage::Cp437);
    }
    if (scale_.given()) {
        settings.scale = parseDecimal(scale_.name, scale_.text, 1, 8);
    }
    checkStandardInput("font-export", {file}, false);
}

int runFontExport(const FontExportOptions& options) {
    const std::string& file = options.file;
    CRomImage image;
    if (const auto failed = loadValid(image, file, options.skipChecksum)) {
        return *failed;
    }
    if (!image.fontsLocated()) {
        return refuse(file, "the image's fonts are not located, so there is nothing to export");
    }
    options.format->write(image, options.output, options.settings);
    return kExitDone;
}

}  // namespace vorlane::cli
