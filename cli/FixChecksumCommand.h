// fix-checksum FILE (-o OUT | --in-place)
#pragma once

#include <string>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

struct FixChecksumOptions : CommandOptions {
    std::string file;
    OutputOptions outputs;

    void declare(CLI::App& sub) override;
    void read() override;
};

int runFixChecksum(const FixChecksumOptions& options);

}  // namespace vorlane::cli
