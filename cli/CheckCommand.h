// check [--json] [--chip-size SIZE] [--device HEX] FILE...: whether each image is fit to be
// written to a card's flash chip.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

struct CheckOptions : CommandOptions {
    std::vector<std::string> files;
    bool json = false;
    std::optional<uint64_t> chipSize;
    std::optional<uint16_t> deviceId;

    void declare(CLI::App& sub) override;
    void read() override;

  private:
    std::string chipSizeText_;
    std::string deviceText_;
    CLI::Option* chipSize_ = nullptr;
    CLI::Option* device_ = nullptr;
};

int runCheck(const CheckOptions& options);

}  // namespace vorlane::cli
