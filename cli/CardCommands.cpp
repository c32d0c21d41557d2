#include "cli/CardCommands.h"

#include <csignal>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <system_error>

#include "card/Cards.h"
#include "card/RomOrigin.h"
#include "card/RomReader.h"
#include "cli/Commands.h"
#include "cli/Report.h"
#include "cli/Values.h"
#include "image/FileError.h"
#include "image/FileIo.h"
#include "image/Text.h"

namespace vorlane::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string hex4(uint16_t value) {
    return formatPlain("%04x", value);
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

// Why the kernel would not give the chip's contents, said before anything is read; "" when it
// would (or when a start-up copy is wanted).
std::string refusalBeforeReading(const Invocation& inv, const card::DisplayCard& chosen) {
    switch (card::refusalBeforeReading(chosen, inv.shadow)) {
        case card::RomRefusal::None:
            return "";
        case card::RomRefusal::StartupCopy:
            return "the ROM the kernel offers for this card is the copy its BIOS made of itself in "
                   "memory at start-up (at 0xC0000, the card being the boot display), not the "
                   "chip's contents; to get the chip's, read the card on a machine where it is not "
                   "the boot display, or give --shadow to save the start-up copy anyway";
        case card::RomRefusal::OtherCardsStartupCopy:
            return "the kernel offers the start-up copy at 0xC0000 for this card, which is not the "
                   "boot display: that is the boot display's BIOS, never this card's, so it is "
                   "not saved, --shadow or not";
    }
    return "";
}

// The likely cause of a failed enable or read, in plain words.
std::string readFailure(const Invocation& inv, const card::DisplayCard& chosen,
                        const FileError& error) {
    const auto code = error.code();
    if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted) {
        return "reading a card's ROM needs root";
    }
    if (code == std::errc::io_error) {
        return error.reason() +
               ": the card exposes no valid option ROM, or its memory decoding is switched "
               "off; the kernel's log (dmesg) says which, and as root `echo 1 > " +
               card::devicesFolder(inv.sysfsRoot) + "/" + chosen.address +
               "/enable` switches decoding on";
    }
    return error.reason();
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
        complain(error.path(), readFailure(inv, chosen, error));
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
    const std::string romPath = card::devicesFolder(inv.sysfsRoot) + "/" + chosen->address + "/rom";
    // Decided from what the kernel lists, so that a refused ROM is never even exposed.
    if (chosen->hasRom) {
        if (const std::string refusal = refusalBeforeReading(inv, *chosen); !refusal.empty()) {
            complain(romPath, refusal);
            return kExitInvalid;
        }
    }
    const auto dump = dumpRom(inv, *chosen, exitStatus);
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
    writeFileAtomically(inv.output, {std::span<const uint8_t>(dump->bytes)});

    CRomImage image;
    image.loadBytes(dump->bytes);
    const RomStatus status = image.validate();
    // With the dump on standard output, the report must not mix into it.
    FILE* report = inv.output == "-" ? stderr : stdout;
    std::string text;
    if (inv.json) {
        text = infoJson(image, status, inv.output);
        // The key exists only for a start-up copy.
        if (startupCopy) {
            text.insert(text.size() - 1, ",\"shadow\":true");
        }
        text += "\n";
    } else {
        text = infoHuman(image, status, inv.output);
        if (startupCopy) {
            text +=
                "  source      the start-up copy in memory at 0xC0000 (--shadow), not the "
                "chip's contents\n";
        }
    }
    std::fwrite(text.data(), 1, text.size(), report);
    if (status == kRomOk) {
        return kExitDone;
    }
    std::string reason =
        "status " + std::to_string(status) + ", " + oneLine(CRomImage::statusMessage(status));
    if (allErased(dump->bytes)) {
        reason += "; every byte is 0xFF, so the card did not show its ROM";
    }
    if (startupCopy) {
        reason +=
            "; this is the copy the BIOS patched in memory at start-up, not the chip's "
            "contents";
    }
    complain(inv.output, reason);
    return kExitInvalid;
}

}  // namespace vorlane::cli
