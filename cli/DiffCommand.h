// diff [--json] [--skip-checksum] A B: what differs between two images, for a person (the
// core's diffHuman, which the editor shows too) or as one JSON object.
#pragma once

#include <string>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

struct DiffOptions : CommandOptions {
    std::string fileA;
    std::string fileB;
    bool json = false;
    bool skipChecksum = false;

    void declare(CLI::App& sub) override;
    void read() override;
};

// Loads, compares and prints; the exit status: 0 when no byte differs, 1 when any does.
// Throws FileError when A or B cannot be read.
int runDiff(const DiffOptions& options);

}  // namespace vorlane::cli
