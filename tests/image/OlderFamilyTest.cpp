// The older ATI families: the device-ID table held against the PCI ID database Debian ships, and
// which images get the note.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "image/OlderFamily.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

using test::RomBuilder;

// A family from a device's name in pci.ids: its chip (R100, RV100, RV200; R200, RV250, RV280),
// else a Rage 128 or Rage Mobility 128, else a Mach64 or one of the Rage chips built on it.
// Bridges and host functions of these chips are no display cards.
OlderFamily familyByName(const std::string& name) {
    static const std::regex radeon7000(R"(\b(R100|RV100|RV200)\b)");
    static const std::regex radeon8500(R"(\b(R200|RV250|RV280)\b)");
    static const std::regex rage128(R"(Rage (Mobility )?128)");
    static const std::regex mach64(R"(Mach ?64|\b264|\bRage\b)");
    if (name.find("Bridge") != std::string::npos) {
        return OlderFamily::None;
    }
    if (std::regex_search(name, radeon7000)) {
        return OlderFamily::Radeon7000;
    }
    if (std::regex_search(name, radeon8500)) {
        return OlderFamily::Radeon8500;
    }
    if (std::regex_search(name, rage128)) {
        return OlderFamily::Rage128;
    }
    if (std::regex_search(name, mach64)) {
        return OlderFamily::Mach64;
    }
    return OlderFamily::None;
}

TEST(OlderFamily, TableMatchesThePciIdDatabase) {
    std::ifstream ids(VORLANE_PCI_IDS);
    if (!ids) {
        GTEST_SKIP() << VORLANE_PCI_IDS << " is not there (Debian package pci.ids)";
    }
    // The devices of vendor 1002: tab, four hexadecimal digits, two spaces, the name.
    std::map<uint16_t, std::string> names;
    bool ati = false;
    for (std::string line; std::getline(ids, line);) {
        if (!line.empty() && line[0] != '\t' && line[0] != '#') {
            ati = line.starts_with("1002  ");
        } else if (ati && line.size() > 7 && line[0] == '\t' && line[1] != '\t') {
            names[static_cast<uint16_t>(std::stoul(line.substr(1, 4), nullptr, 16))] =
                line.substr(7);
        }
    }
    ASSERT_GT(names.size(), 500u) << "vendor 1002 not found in " << VORLANE_PCI_IDS;
    int older = 0;
    for (uint32_t id = 0; id <= 0xFFFF; ++id) {
        const auto named = names.find(static_cast<uint16_t>(id));
        const OlderFamily expected =
            named == names.end() ? OlderFamily::None : familyByName(named->second);
        older += expected != OlderFamily::None;
        EXPECT_EQ(olderFamilyOf(static_cast<uint16_t>(id)), expected)
            << std::hex << id << " " << (named == names.end() ? "(not in pci.ids)" : named->second);
    }
    EXPECT_GT(older, 50);
}

struct NoteCase {
    const char* name;
    std::vector<uint8_t> image;
    RomStatus status;
    const char* note;  // a part of the note, "" for none
};

class OlderFamilyNote : public ::testing::TestWithParam<NoteCase> {};

TEST_P(OlderFamilyNote, OnlyForAFailedImageOfAnOlderAtiFamily) {
    CRomImage image;
    image.loadBytes(GetParam().image);
    const RomStatus status = image.validate();
    ASSERT_EQ(status, GetParam().status);
    const std::string note = olderFamilyNote(image, status);
    if (*GetParam().note == '\0') {
        EXPECT_EQ(note, "");
    } else {
        EXPECT_NE(note.find(GetParam().note), std::string::npos) << note;
    }
}

const std::vector<uint8_t> kNoClockRecord =
    RomBuilder().deviceId(0x5046).clockRecordAt(std::nullopt).build();

INSTANTIATE_TEST_SUITE_P(
    Built, OlderFamilyNote,
    ::testing::Values(
        NoteCase{"Rage128WithoutClockRecord", kNoClockRecord, kRomNoClockRecord,
                 "device 5046 is a Rage 128: the image is intact, but not one Vorlane can edit"},
        NoteCase{"Radeon7000WithoutAtiText", RomBuilder().atiText(" 761295521").build(), kRomNotAti,
                 "device 5159 is a card of the Radeon 7000 to 7500 family"},
        // The firmware goes by the PCI data structure, so its ID wins over the header's...
        NoteCase{"PciDataStructureFirst",
                 RomBuilder()
                     .deviceId(0x4E48)
                     .clockRecordAt(std::nullopt)
                     .poke(RomBuilder::kPcir + 6, {0x54, 0x47})
                     .build(),
                 kRomNoClockRecord, "device 4754 is a Mach64"},
        // ...also where it ends with the image, its device ID in the last two bytes...
        NoteCase{"PciDataStructureInTheLastEightBytes",
                 RomBuilder()
                     .deviceId(0x4E48)
                     .atiText(" 761295521")
                     .pcirOffset(0xFFF8)
                     .poke(0xFFFE, {0x46, 0x50})
                     .checksum(RomBuilder::Checksum::Untouched)
                     .build(),
                 kRomNotAti, "device 5046 is a Rage 128"},
        // ...and the header's counts when there is none.
        NoteCase{"HeaderWithoutPciDataStructure",
                 RomBuilder().deviceId(0x514C).pcirOffset(0).build(), kRomNotAti,
                 "device 514c is a card of the Radeon 8500 to 9250 family"},
        NoteCase{"ValidImage", RomBuilder().build(), kRomOk, ""},
        NoteCase{"OtherStatus",
                 RomBuilder().deviceId(0x5046).checksum(RomBuilder::Checksum::Broken).build(),
                 kRomBadChecksum, ""},
        NoteCase{"NewerFamily", RomBuilder().deviceId(0x4E48).clockRecordAt(std::nullopt).build(),
                 kRomNoClockRecord, ""},
        NoteCase{"AnotherVendorsDevice",
                 RomBuilder().vendorId(0x10DE).deviceId(0x5046).clockRecordAt(std::nullopt).build(),
                 kRomNoClockRecord, ""}),
    [](const ::testing::TestParamInfo<NoteCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vorlane
