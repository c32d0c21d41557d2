// cards and read-card on Windows: cards are found and read through Linux's sysfs, which Windows
// has not. Their options are declared for both systems in cli/CardOptions.cpp.
#include "cli/CardsCommand.h"
#include "cli/Output.h"
#include "cli/ReadCardCommand.h"

namespace vorlane::cli {

namespace {

int needsLinux(const char* command) {
    complain(command,
             "reading a card's ROM needs Linux (the kernel's sysfs); see \"Reading a card's "
             "BIOS\" in README.md");
    return kExitFile;
}

}  // namespace

int runCards(const CardsOptions&) {
    return needsLinux("cards");
}

void ReadCardOptions::read() {
    address = addressText_;
}

int runReadCard(const ReadCardOptions&) {
    return needsLinux("read-card");
}

}  // namespace vorlane::cli
