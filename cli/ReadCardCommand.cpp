#include "cli/ReadCardCommand.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <system_error>

#include "card/Cards.h"
#include "card/RomOrigin.h"
#include "card/RomReader.h"
#include "cli/Json.h"
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

// Where the start-up copy was seen, for the messages that say it is one.
std::string startupCopySeen(const card::DisplayCard& chosen) {
    switch (chosen.startupCopyMark) {
        case card::StartupCopyMark::Address:
            return "at 0xC0000";
        case card::StartupCopyMark::ShadowFlag:
            return "flagged by the kernel as a shadow copy (0x2)";
        case card::StartupCopyMark::Both:
        case card::StartupCopyMark::None:
            break;
    }
    return "at 0xC0000, flagged by the kernel as a shadow copy (0x2)";
}

// Why the kernel would not give the chip's contents, said before anything is read; "" when it
// would (or when a start-up copy is wanted).
std::string refusalBeforeReading(const ReadCardOptions& options, const card::DisplayCard& chosen) {
    switch (card::refusalBeforeReading(chosen, options.shadow)) {
        case card::RomRefusal::None:
            return "";
        case card::RomRefusal::StartupCopy:
            return "the ROM the kernel offers for this card is the copy its BIOS made of itself in "
                   "memory at start-up (" +
                   startupCopySeen(chosen) +
                   ", the card being the boot display), not the chip's contents; to get the "
                   "chip's, read the card on a machine where it is not the boot display, or give "
                   "--shadow to save the start-up copy anyway";
        case card::RomRefusal::OtherCardsStartupCopy:
            return "the kernel offers the start-up copy (" + startupCopySeen(chosen) +
                   ") for this card, which is not the boot display: that is the boot display's "
                   "BIOS, never this card's, so it is not saved, --shadow or not";
    }
    return "";
}

// The likely cause of a failed enable or read, in plain words.
std::string readFailure(const ReadCardOptions& options, const card::DisplayCard& chosen,
                        const FileError& error) {
    const auto code = error.code();
    if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted) {
        return "reading a card's ROM needs root";
    }
    if (code == std::errc::io_error) {
        return error.reason() +
               ": the card exposes no valid option ROM, or its memory decoding is switched "
               "off; the kernel's log (dmesg) says which, and as root `echo 1 > " +
               card::devicesFolder(options.sysfsRoot) + "/" + chosen.address +
               "/enable` switches decoding on";
    }
    return error.reason();
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
        complain(error.path(), readFailure(options, chosen, error));
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
    const std::string romPath =
        card::devicesFolder(options.sysfsRoot) + "/" + chosen->address + "/rom";
    // Decided from what the kernel lists, so that a refused ROM is never even exposed.
    if (chosen->hasRom) {
        if (const std::string refusal = refusalBeforeReading(options, *chosen); !refusal.empty()) {
            complain(romPath, refusal);
            return kExitInvalid;
        }
    }
    const auto dump = dumpRom(options, *chosen, exitStatus);
    if (!dump) {
        return exitStatus;
    }
    const bool startupCopy = chosen->romIsStartupCopy;
    if (const std::string foreign = card::foreignBios(*chosen, dump->bytes); !foreign.empty()) {
        if (startupCopy) {
            complain(romPath, foreign +
                                  ": the kernel served another card's BIOS as this card's "
                                  "start-up copy, so it is not saved, --shadow or not");
            return kExitInvalid;
        }
        complain(romPath, "warning: " + foreign + "; check that this is the card you meant");
    }
    writeFileAtomically(options.output, {std::span<const uint8_t>(dump->bytes)});

    CRomImage image;
    image.loadBytes(dump->bytes);
    const RomStatus status = image.validate();
    // With the dump on standard output, the report must not mix into it.
    FILE* report = options.output == "-" ? stderr : stdout;
    std::string text;
    if (options.json) {
        Json line = infoObject(image, status, options.output);
        // The key exists only for a start-up copy.
        if (startupCopy) {
            line["shadow"] = true;
        }
        text = jsonText(line) + "\n";
    } else {
        text = infoHuman(image, status, options.output);
        if (startupCopy) {
            text += "  source      the start-up copy in memory (" + startupCopySeen(*chosen) +
                    ", --shadow), not the chip's contents\n";
        }
    }
    std::fwrite(text.data(), 1, text.size(), report);
    if (status == kRomOk) {
        return kExitDone;
    }
    std::string reason = statusReason(status);
    if (allErased(dump->bytes)) {
        reason += "; every byte is 0xFF, so the card did not show its ROM";
    }
    if (startupCopy) {
        reason +=
            "; this is the copy the BIOS patched in memory at start-up, not the chip's "
            "contents";
    }
    complain(options.output, reason);
    return kExitInvalid;
}

}  // namespace vorlane::cli
