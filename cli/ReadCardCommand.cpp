#include "cli/ReadCardCommand.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <system_error>

#include "card/Cards.h"
#include "card/RomReader.h"
#include "cli/Output.h"
#include "cli/Report.h"
#include "cli/Values.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::cli {

namespace {

std::string addresses(const card::CardListing& listing) {
    std::string list;
    for (const card::DisplayCard& c : listing.cards) {
        list += (list.empty() ? "" : ", ") + c.address;
    }
    return list;
}

// The card `read-card` reads, or the exit status when there is none to read.
const card::DisplayCard* chooseCard(const ReadCardOptions& options,
                                    const card::CardListing& listing, int& exitStatus) {
    const std::string folder = card::devicesFolder(options.sysfsRoot);
    if (!options.address.empty()) {
        for (const card::DisplayCard& c : listing.cards) {
            if (c.address == options.address) {
                return &c;
            }
        }
        complain(options.address,
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
std::optional<card::RomDump> dumpRom(const ReadCardOptions& options,
                                     const card::DisplayCard& chosen, int& exitStatus) {
    card::SysfsRomPort port(options.sysfsRoot, chosen.address);
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

void ReadCardOptions::declare(CLI::App& sub) {
    address_ = sub.add_option("ADDRESS", addressText_);
    addValue(sub, "-o", output, "OUT")->required();
    sub.add_flag("--json", json);
    addValue(sub, "--sysfs", sysfsRoot, "DIR");
}

void ReadCardOptions::read() {
    if (isGiven(address_)) {
        const auto normalized = card::normalizeAddress(addressText_);
        if (!normalized) {
            throw UsageError("read-card: '" + addressText_ +
                             "' is not a PCI address such as 0000:01:00.0");
        }
        address = *normalized;
    }
}

int runReadCard(const ReadCardOptions& options) {
    // A devices folder that cannot be read is a file error, reported by run().
    const card::CardListing listing = card::listAtiCards(options.sysfsRoot);
    reportSkipped(listing);
    int exitStatus = kExitDone;
    const card::DisplayCard* chosen = chooseCard(options, listing, exitStatus);
    if (chosen == nullptr) {
        return exitStatus;
    }
    const auto dump = dumpRom(options, *chosen, exitStatus);
    if (!dump) {
        return exitStatus;
    }
    writeFileAtomically(options.output, {std::span<const uint8_t>(dump->bytes)});

    CRomImage image;
    image.loadBytes(dump->bytes);
    const RomStatus status = image.validate();
    // With the dump on standard output, the report must not mix into it.
    FILE* report = options.output == "-" ? stderr : stdout;
    const std::string text = options.json ? infoJson(image, status, options.output) + "\n"
                                          : infoHuman(image, status, options.output);
    std::fwrite(text.data(), 1, text.size(), report);
    if (status == kRomOk) {
        return kExitDone;
    }
    std::string reason = statusReason(status) + "; ";
    if (allErased(dump->bytes)) {
        reason += "every byte is 0xFF, so the card did not show its ROM; ";
    }
    reason +=
        "a dump of the card the machine booted from can be the copy the BIOS patched in memory, "
        "not the chip's contents";
    complain(options.output, reason);
    return kExitInvalid;
}

}  // namespace vorlane::cli
