#include "card/RomOrigin.h"

#include "image/OlderFamily.h"
#include "image/Text.h"

namespace vorlane::card {

RomRefusal refusalBeforeReading(const DisplayCard& card, bool startupCopyWanted) {
    if (!card.romIsStartupCopy) {
        return RomRefusal::None;
    }
    // On the root bus the kernel marks every display card that decodes memory as the one the
    // firmware started, so the copy it serves for a second card is the boot display's.
    if (!card.bootVga) {
        return RomRefusal::OtherCardsStartupCopy;
    }
    return startupCopyWanted ? RomRefusal::None : RomRefusal::StartupCopy;
}

std::string foreignBios(const DisplayCard& card, std::span<const uint8_t> bytes) {
    const auto ids = pciDataIds(bytes);
    if (!ids || (ids->vendorId == card.vendorId && ids->deviceId == card.deviceId)) {
        return "";
    }
    return formatPlain("the ROM's PCI data structure names %04x:%04x, the card is %04x:%04x",
                       ids->vendorId, ids->deviceId, card.vendorId, card.deviceId);
}

}  // namespace vorlane::card
