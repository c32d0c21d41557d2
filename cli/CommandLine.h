// The command line of vorlane-cli, parsed and checked in full before any file is read.
#pragma once

#include <memory>

#include "cli/CommandOptions.h"
#include "cli/CommandTable.h"

namespace vorlane::cli {

struct ParsedLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Help;
    const CommandRow* command = nullptr;  // with Run: the command to run with `options`
    std::unique_ptr<CommandOptions> options;
};

// Throws UsageError for anything malformed, unknown or conflicting.
ParsedLine parseCommandLine(int argc, const char* const* argv);

// The text of --help.
const char* helpText();
// The line --version prints.
const char* versionLine();

}  // namespace vorlane::cli
