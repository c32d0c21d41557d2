// font-export FILE OUT [--format fnt|psf|png] [--size 8x16|8x8] [--codepage 437|866] [--scale N]
//             [--skip-checksum]
#pragma once

#include <string>

#include "cli/CommandOptions.h"
#include "fontfile/FontFormats.h"

namespace vorlane::cli {

struct FontExportOptions : CommandOptions {
    std::string file;
    std::string output;
    bool skipChecksum = false;
    const fontfile::FontFormat* format = &fontfile::fontFileFormat();
    fontfile::FontWriteSettings settings;  // --size, --codepage, --scale, and the name's .gz

    void declare(CLI::App& sub) override;
    void read() override;

  private:
    OptionText format_, size_, codePage_, scale_;
};

int runFontExport(const FontExportOptions& options);

}  // namespace vorlane::cli
