// Whether the bytes the kernel offers for a card are that card's own ROM: the start-up copy of
// the boot display's BIOS and another card's BIOS are told apart before anything is saved.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "card/Cards.h"

namespace vorlane::card {

enum class RomRefusal {
    None,
    // The start-up copy in memory, not the chip's contents; saved only when asked for.
    StartupCopy,
    // A start-up copy offered for a card that is not the boot display: the boot display's BIOS.
    OtherCardsStartupCopy,
};

// Decided from the listing alone, before the ROM is enabled.
RomRefusal refusalBeforeReading(const DisplayCard& card, bool startupCopyWanted);

// When the dump's PCI data structure names another vendor or device than the card, the two pairs
// as "the ROM names 1002:5159, the card is 1002:5046"; "" when they agree or the dump has none.
std::string foreignBios(const DisplayCard& card, std::span<const uint8_t> bytes);

}  // namespace vorlane::card
