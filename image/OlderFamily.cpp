#include "image/OlderFamily.h"

#include <algorithm>
#include <array>

#include "image/PciData.h"
#include "image/Text.h"

namespace vorlane {

namespace {

// The device IDs of each family as the PCI ID database (pci.ids) names them: R100, RV100, RV200;
// R200, RV250, RV280; Rage 128 and Rage Mobility 128; Mach64 and the Rage chips built on it. Each
// list is sorted; a test holds them against the database.
constexpr std::array<uint16_t, 6> kRadeon7000 = {0x4C57, 0x4C58, 0x4C59, 0x5144, 0x5157, 0x5159};
constexpr std::array<uint16_t, 22> kRadeon8500 = {
    0x4242, 0x4966, 0x496E, 0x4C66, 0x4C6E, 0x4F72, 0x4F73, 0x5148, 0x514C, 0x514D, 0x5940,
    0x5941, 0x5944, 0x5960, 0x5961, 0x5962, 0x5964, 0x5965, 0x5C61, 0x5C63, 0x5D44, 0x5D45};
constexpr std::array<uint16_t, 12> kRage128 = {0x4C46, 0x4D46, 0x5046, 0x5050, 0x5052, 0x5245,
                                               0x5246, 0x524B, 0x524C, 0x534D, 0x5446, 0x5452};
constexpr std::array<uint16_t, 32> kMach64 = {
    0x4354, 0x4358, 0x4554, 0x4654, 0x4742, 0x4744, 0x4749, 0x474D, 0x474E, 0x474F, 0x4750,
    0x4752, 0x4753, 0x4754, 0x4755, 0x4756, 0x4757, 0x4758, 0x4759, 0x475A, 0x4C42, 0x4C47,
    0x4C49, 0x4C4D, 0x4C4E, 0x4C50, 0x4C52, 0x4C54, 0x5354, 0x5654, 0x5655, 0x5656};

template <size_t N>
bool holds(const std::array<uint16_t, N>& list, uint16_t id) {
    return std::binary_search(list.begin(), list.end(), id);
}

uint16_t wordAt(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

const std::string& familyName(OlderFamily family, const ReportTexts& texts) {
    switch (family) {
        case OlderFamily::Radeon7000:
            return texts.radeon7000Family;
        case OlderFamily::Radeon8500:
            return texts.radeon8500Family;
        case OlderFamily::Rage128:
            return texts.rage128Family;
        case OlderFamily::Mach64:
            return texts.mach64Family;
        case OlderFamily::None:
            break;
    }
    static const std::string none;
    return none;
}

}  // namespace

std::optional<PciIds> pciDataIds(std::span<const uint8_t> bytes) {
    if (bytes.size() < PciData::kPointerAt + 2 || bytes[0] != 0x55 || bytes[1] != 0xAA) {
        return std::nullopt;
    }
    const size_t at = wordAt(bytes, PciData::kPointerAt);
    if (at == 0 || at + 8 > bytes.size() || !PciData::signedAt(bytes, static_cast<uint32_t>(at))) {
        return std::nullopt;
    }
    const PciData data = PciData::read(bytes, static_cast<uint32_t>(at));
    return PciIds{data.vendorId, data.deviceId};
}

std::optional<PciIds> pciDataIds(const CRomImage& image) {
    return pciDataIds(
        std::span<const uint8_t>(image.data.data(), static_cast<size_t>(image.validLength())));
}

std::optional<uint16_t> firmwareDeviceId(const CRomImage& image) {
    if (const auto ids = pciDataIds(image)) {
        return ids->deviceId;
    }
    // The header is located only when validation got as far as parsing the image.
    if (image.headerOffset != 0) {
        return image.word(image.headerOffset + 0x20u);
    }
    return std::nullopt;
}

OlderFamily olderFamilyOf(uint16_t deviceId) {
    if (holds(kRadeon7000, deviceId)) {
        return OlderFamily::Radeon7000;
    }
    if (holds(kRadeon8500, deviceId)) {
        return OlderFamily::Radeon8500;
    }
    if (holds(kRage128, deviceId)) {
        return OlderFamily::Rage128;
    }
    if (holds(kMach64, deviceId)) {
        return OlderFamily::Mach64;
    }
    return OlderFamily::None;
}

std::string olderFamilyNote(const CRomImage& image, RomStatus status, const ReportTexts& texts) {
    if (status != kRomNotAti && status != kRomNoClockRecord) {
        return "";
    }
    // The table names ATI's chips; the same number from another vendor is another card.
    const auto ids = pciDataIds(image);
    if (ids && ids->vendorId != kAtiVendorId) {
        return "";
    }
    const auto device = firmwareDeviceId(image);
    const OlderFamily family = device ? olderFamilyOf(*device) : OlderFamily::None;
    if (family == OlderFamily::None) {
        return "";
    }
    return fillPlaces(texts.olderFamilyNote,
                      {formatPlain("%04x", *device), familyName(family, texts)});
}

}  // namespace vorlane
