// read-card [ADDRESS] -o OUT [--json] [--shadow] [--sysfs DIR]: saves a card's option ROM and
// reports it as info does.
#pragma once

#include <string>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

struct ReadCardOptions : CommandOptions {
    std::string address;  // in the kernel's form, or empty
    std::string output;
    bool json = false;
    bool shadow = false;  // save the boot display's start-up copy all the same
    std::string sysfsRoot = "/sys";

    void declare(CLI::App& sub) override;
    void read() override;

  private:
    std::string addressText_;
    CLI::Option* address_ = nullptr;
};

int runReadCard(const ReadCardOptions& options);

}  // namespace vorlane::cli
