// pad FILE --chip-size SIZE (-o OUT | --in-place): an image file followed by erased bytes up to
// a flash chip's size, for programmers that need an image of the chip's exact size.
#pragma once

#include <cstdint>
#include <string>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

struct PadOptions : CommandOptions {
    std::string file;
    uint64_t chipSize = 0;
    OutputOptions outputs;

    void declare(CLI::App& sub) override;
    void read() override;

  private:
    std::string chipSizeText_;
};

// Exit 0 when OUT was written, 1 when refused. Throws FileError.
int runPad(const PadOptions& options);

}  // namespace vorlane::cli
