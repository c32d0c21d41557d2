// How each command of vorlane-cli reads its options; CommandLine.cpp drives them.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"

namespace CLI {
class App;
}

namespace vorlane::cli {

// One command's options. `declare` adds them to the command's CLI11 subcommand, with somewhere
// to keep what is given; once the whole line has been parsed, `read` checks them and fills the
// invocation. A command's options know nothing of another command's.
class CommandOptions {
  public:
    virtual ~CommandOptions() = default;
    virtual void declare(CLI::App& sub) = 0;
    // Throws UsageError for what CLI11 cannot see: conflicts and malformed values.
    virtual void read(Invocation& inv) const = 0;
};

struct CommandEntry {
    std::string_view name;
    Command command;
    std::unique_ptr<CommandOptions> options;
};

// Every command with fresh options, in the order --help lists them. A new command adds its
// CommandOptions class in CommandOptions.cpp and its row to this table.
std::vector<CommandEntry> commandTable();

}  // namespace vorlane::cli
