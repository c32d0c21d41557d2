// The command line of cards, read-card and check, registered on the program's parser.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "cli/CommandLine.h"

namespace vorlane::cli {

// What the parser fills in for these commands; it must stay where it is while the parser lives.
struct CardCommandLine {
    CLI::App* cards = nullptr;
    CLI::App* readCard = nullptr;
    CLI::App* check = nullptr;
    std::string address;
    std::string chipSize;
    std::string device;
    CLI::Option* addressOpt = nullptr;
    CLI::Option* chipSizeOpt = nullptr;
    CLI::Option* deviceOpt = nullptr;
};

void addCardCommands(CLI::App& app, Invocation& inv, CardCommandLine& line);

// Completes `inv` when one of these commands was parsed, and says whether one was. Throws
// UsageError for malformed values.
bool finishCardCommands(const CardCommandLine& line, Invocation& inv);

}  // namespace vorlane::cli
