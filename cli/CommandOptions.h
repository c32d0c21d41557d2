// How each command of vorlane-cli reads its options; CommandLine.cpp drives them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

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

// A value option whose text is checked by our own parsers: CLI11's converters accept forms
// (signs, exponents, "inf") that the contract does not. Given twice, it is a usage error.
CLI::Option* addValue(CLI::App& app, const std::string& name, std::string& into,
                      const std::string& typeName);
bool isGiven(const CLI::Option* option);

// -o OUT or --in-place, exactly one of them.
class OutputOptions {
  public:
    void declare(CLI::App& sub);
    void read(Invocation& inv, const std::string& command) const;

  private:
    std::string output_;
    bool inPlaceFlag_ = false;
    CLI::Option* out_ = nullptr;
    CLI::Option* inPlace_ = nullptr;
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
