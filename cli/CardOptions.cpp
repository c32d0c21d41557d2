// The options of cards and read-card, declared once for every system, so that a command line
// means the same where the cards cannot be read (Windows) as where they can.
#include <CLI/CLI.hpp>

#include "cli/CardsCommand.h"
#include "cli/ReadCardCommand.h"
#include "cli/Values.h"

namespace vorlane::cli {

void CardsOptions::declare(CLI::App& sub) {
    sub.add_flag("--json", json);
    addValue(sub, "--sysfs", sysfsRoot, "DIR");
}

void ReadCardOptions::declare(CLI::App& sub) {
    address_ = sub.add_option("ADDRESS", addressText_);
    addValue(sub, "-o", output, "OUT")->required();
    sub.add_flag("--json", json);
    sub.add_flag("--shadow", shadow);
    addValue(sub, "--sysfs", sysfsRoot, "DIR");
}

}  // namespace vorlane::cli
