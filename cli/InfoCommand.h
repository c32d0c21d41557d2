// info [--json] [--skip-checksum] FILE...
#pragma once

#include <string>
#include <vector>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

struct InfoOptions : CommandOptions {
    std::vector<std::string> files;
    bool json = false;
    bool skipChecksum = false;

    void declare(CLI::App& sub) override;
    void read() override;
};

int runInfo(const InfoOptions& options);

}  // namespace vorlane::cli
