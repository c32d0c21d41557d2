// cards and read-card on Windows: cards are found and read through Linux's sysfs, which Windows
// has not. The options are those of Linux, so that a command line means the same on both.
#include <CLI/CLI.hpp>

#include "cli/CardsCommand.h"
#include "cli/Output.h"
#include "cli/ReadCardCommand.h"
#include "cli/Values.h"

namespace vorlane::cli {

namespace {

int needsLinux(const char* command) {
    complain(command,
             "reading a card's ROM needs Linux (the kernel's sysfs); see \"Reading a card's "
             "BIOS\" in README.md");
    return kExitFile;
}

}  // namespace

void CardsOptions::declare(CLI::App& sub) {
    sub.add_flag("--json", json);
    addValue(sub, "--sysfs", sysfsRoot, "DIR");
}

int runCards(const CardsOptions&) {
    return needsLinux("cards");
}

void ReadCardOptions::declare(CLI::App& sub) {
    address_ = sub.add_option("ADDRESS", addressText_);
    addValue(sub, "-o", output, "OUT")->required();
    sub.add_flag("--json", json);
    sub.add_flag("--shadow", shadow);
    addValue(sub, "--sysfs", sysfsRoot, "DIR");
}

void ReadCardOptions::read() {
    address = addressText_;
}

int runReadCard(const ReadCardOptions&) {
    return needsLinux("read-card");
}

}  // namespace vorlane::cli
