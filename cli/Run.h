// The whole of vorlane-cli: parses the command line, runs the command its table names, reports.
#pragma once

namespace vorlane::cli {

// Returns the exit status.
int run(int argc, const char* const* argv);

}  // namespace vorlane::cli
