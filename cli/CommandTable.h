// The commands of vorlane-cli, one row each: a new command is one row here and one file of its
// own (its options and its run function), and nothing else.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

struct CommandRow {
    std::string_view name;
    // Fresh options for one command line.
    std::unique_ptr<CommandOptions> (*makeOptions)();
    // Runs the command with the options read from the line; the exit status.
    int (*run)(const CommandOptions& options);
};

template <typename Options, int (*Run)(const Options&)>
constexpr CommandRow commandRow(std::string_view name) {
    return {
        name, []() -> std::unique_ptr<CommandOptions> { return std::make_unique<Options>(); },
        [](const CommandOptions& options) { return Run(static_cast<const Options&>(options)); }};
}

// Every command, in the order --help lists them.
std::span<const CommandRow> commandTable();

}  // namespace vorlane::cli
