#include "cli/CardsCommand.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "card/Cards.h"
#include "cli/Json.h"
#include "cli/Output.h"
#include "cli/Report.h"
#include "image/Text.h"

namespace vorlane::cli {

namespace {

std::string hex4(uint16_t value) {
    return formatPlain("%04x", value);
}

std::string cardLine(const card::DisplayCard& c) {
    return c.address + "  vendor " + hex4(c.vendorId) + "  device " + hex4(c.deviceId) +
           "  subsystem vendor " + hex4(c.subsystemVendorId) + "  subsystem " +
           hex4(c.subsystemId) + (c.bootVga ? "  boot VGA" : "") +
           (!c.hasRom            ? "  no ROM"
            : c.romIsStartupCopy ? "  ROM (start-up copy)"
                                 : "  ROM") +
           "\n";
}

std::string cardJson(const card::DisplayCard& c) {
    Json j;
    j["address"] = c.address;
    j["vendorId"] = c.vendorId;
    j["deviceId"] = c.deviceId;
    j["subsystemVendorId"] = c.subsystemVendorId;
    j["subsystemId"] = c.subsystemId;
    j["bootVga"] = c.bootVga;
    j["rom"] = c.hasRom;
    return jsonText(j) + "\n";
}

}  // namespace

int runCards(const CardsOptions& options) {
    // A devices folder that cannot be read is a file error, reported by run().
    const card::CardListing listing = card::listAtiCards(options.sysfsRoot);
    reportSkipped(listing);
    std::string out;
    for (const card::DisplayCard& c : listing.cards) {
        out += options.json ? cardJson(c) : cardLine(c);
    }
    if (listing.cards.empty() && !options.json) {
        out = "no ATI display card found under " + card::devicesFolder(options.sysfsRoot) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitDone;
}

}  // namespace vorlane::cli
