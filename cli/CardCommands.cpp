#include "cli/CardCommands.h"

#include <csignal>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <system_error>

#include "card/Cards.h"
#include "card/RomReader.h"
#include "cli/Commands.h"
#include "cli/Report.h"
#include "cli/Values.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::cli {

namespace {

using Json = nlohmann::ordered_json;

void complain(const std::string& subject, const std::string& reason) {
    std::fflush(stdout);
    std::fprintf(stderr, "vorlane-cli: %s: %s\n", subject.c_str(), reason.c_str());
}

std::string hex4(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

// Warnings, not errors: the other devices are listed all the same.
void reportSkipped(const card::CardListing& listing) {
    for (const card::SkippedDevice& skipped : listing.skipped) {
        complain(skipped.path, "skipped: " + skipped.reason);
    }
}

std::string cardLine(const card::DisplayCard& c) {
    return c.address + "  vendor " + hex4(c.vendorId) + "  device " + hex4(c.deviceId) +
           "  subsystem vendor " + hex4(c.subsystemVendorId) + "  subsystem " +
           hex4(c.subsystemId) + (c.bootVga ? "  boot VGA" : "") +
           (c.hasRom ? "  ROM" : "  no ROM") + "\n";
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
    return j.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string addresses(const card::CardListing& listing) {
    std::string list;
    for (const card::DisplayCard& c : listing.cards) {
        list += (list.empty() ? "" : ", ") + c.address;
    }
    return list;
}

// The card `read-card` reads, or the exit status when there is none to read.
const card::DisplayCard* chooseCard(const Invocation& inv, const card::CardListing& listing,
                                    int& exitStatus) {
    const std::string folder = card::devicesFolder(inv.sysfsRoot);
    if (!inv.address.empty()) {
        for (const card::DisplayCard& c : listing.cards) {
            if (c.address == inv.address) {
                return &c;
            }
        }
        complain(inv.address,
                 listing.cards.empty()
                     ? "no ATI display card there; none was found under " + folder
                     : "no ATI display card there; the cards are " + addresses(listing));
        exitStatus = kExitInvalid;
        return nullptr;
    }
    if (listing.cards.empty()) {
        complain("read-card", "no ATI display card found under " + folder);
        exitStatus = kExitInvalid;
        return nullptr;
    }
    if (listing.cards.size() > 1) {
        throw UsageError("read-card: " + std::to_string(listing.cards.size()) +
                         " ATI display cards found, name one as ADDRESS: " + addresses(listing));
    }
    return &listing.cards.front();
}

bool allErased(const std::vector<uint8_t>& bytes) {
    for (const uint8_t b : bytes) {
        if (b != 0xFF) {
            return false;
        }
    }
    return true;
}

// The ROM of `chosen`, or the exit status when it could not be read. An interrupted read ends
// the program with the signal that interrupted it, the ROM hidden again.
std::optional<card::RomDump> dumpRom(const Invocation& inv, const card::DisplayCard& chosen,
                                     int& exitStatus) {
    card::SysfsRomPort port(inv.sysfsRoot, chosen.address);
    if (!chosen.hasRom) {
        complain(port.path(), "the card has no rom file, so the kernel offers no ROM to read");
        exitStatus = kExitFile;
        return std::nullopt;
    }
    try {
        card::RomDump dump = card::readRom(port);
        if (dump.bytes.empty()) {
            complain(port.path(), "the card's ROM gave no bytes");
            exitStatus = kExitFile;
            return std::nullopt;
        }
        if (dump.truncated) {
            complain(port.path(), "warning: read no further than " +
                                      std::to_string(dump.bytes.size()) +
                                      " bytes; the file goes on");
        }
        return dump;
    } catch (const FileError& error) {
        const auto code = error.code();
        const bool denied =
            code == std::errc::permission_denied || code == std::errc::operation_not_permitted;
        complain(error.path(), denied ? "reading a card's ROM needs root" : error.reason());
        exitStatus = kExitFile;
    } catch (const card::RomReadInterrupted& interrupted) {
        complain(port.path(), "interrupted; the ROM was hidden again and nothing was written");
        std::signal(interrupted.signal(), SIG_DFL);
        std::raise(interrupted.signal());
        exitStatus = 128 + interrupted.signal();
    }
    return std::nullopt;
}

}  // namespace

int runCards(const Invocation& inv) {
    // A devices folder that cannot be read is a file error, reported by run().
    const card::CardListing listing = card::listAtiCards(inv.sysfsRoot);
    reportSkipped(listing);
    std::string out;
    for (const card::DisplayCard& c : listing.cards) {
        out += inv.json ? cardJson(c) : cardLine(c);
    }
    if (listing.cards.empty() && !inv.json) {
        out = "no ATI display card found under " + card::devicesFolder(inv.sysfsRoot) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitDone;
}

int runReadCard(const Invocation& inv) {
    // A devices folder that cannot be read is a file error, reported by run().
    const card::CardListing listing = card::listAtiCards(inv.sysfsRoot);
    reportSkipped(listing);
    int exitStatus = kExitDone;
    const card::DisplayCard* chosen = chooseCard(inv, listing, exitStatus);
    if (chosen == nullptr) {
        return exitStatus;
    }
    const auto dump = dumpRom(inv, *chosen, exitStatus);
    if (!dump) {
        return exitStatus;
    }
    writeFileAtomically(inv.output, {std::span<const uint8_t>(dump->bytes)});

    CRomImage image;
    image.loadBytes(dump->bytes);
    const RomStatus status = image.validate();
    // With the dump on standard output, the report must not mix into it.
    FILE* report = inv.output == "-" ? stderr : stdout;
    const std::string text = inv.json ? infoJson(image, status, inv.output) + "\n"
                                      : infoHuman(image, status, inv.output);
    std::fwrite(text.data(), 1, text.size(), report);
    if (status == kRomOk) {
        return kExitDone;
    }
    std::string reason = "status " + std::to_string(status) + ", " +
                         oneLine(CRomImage::statusMessage(status)) + "; ";
    if (allErased(dump->bytes)) {
        reason += "every byte is 0xFF, so the card did not show its ROM; ";
    }
    reason +=
        "a dump of the card the machine booted from can be the copy the BIOS patched in memory, "
        "not the chip's contents";
    complain(inv.output, reason);
    return kExitInvalid;
}

}  // namespace vorlane::cli
