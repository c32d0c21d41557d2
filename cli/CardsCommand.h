// cards [--json] [--sysfs DIR]: the ATI display cards of this machine.
#pragma once

#include <string>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

struct CardsOptions : CommandOptions {
    bool json = false;
    std::string sysfsRoot = "/sys";

    void declare(CLI::App& sub) override;
    void read() override {}
};

int runCards(const CardsOptions& options);

}  // namespace vorlane::cli
