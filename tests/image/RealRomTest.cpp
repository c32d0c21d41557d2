// Real option ROMs of older ATI cards, read from beside the project when they are there.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "image/OlderFamily.h"
#include "image/RomImage.h"

namespace vorlane {
namespace {

struct RealRom {
    const char* file;
    RomStatus status;
    int32_t length;
    const char* olderCard = "";  // what the older-family note names, "" for no note
};

class RealRomTest : public ::testing::TestWithParam<RealRom> {};

std::string romPath(const char* name) {
    return std::string(VORLANE_SHARED_ROMS) + "/" + name;
}

TEST_P(RealRomTest, StatusAndLength) {
    const RealRom& rom = GetParam();
    if (!std::filesystem::exists(romPath(rom.file))) {
        GTEST_SKIP() << "no real ROM images beside the project";
    }
    CRomImage image;
    image.loadFile(romPath(rom.file));
    const RomStatus status = image.validate();
    EXPECT_EQ(status, rom.status);
    EXPECT_EQ(image.length, rom.length);
    const std::string note = olderFamilyNote(image, status);
    if (*rom.olderCard == '\0') {
        EXPECT_EQ(note, "");
    } else {
        EXPECT_NE(note.find(rom.olderCard), std::string::npos) << note;
    }
}

INSTANTIATE_TEST_SUITE_P(
    SharedRoms, RealRomTest,
    ::testing::Values(RealRom{"ati_rage128-Rage128progl_zerostate.VBI", kRomNoClockRecord, 49152,
                              "device 5046 is a Rage 128"},
                      RealRom{"ati_rage128-Rage128proIIpci_zerostate.VBI", kRomNoClockRecord, 32768,
                              "device 5452 is a Rage 128"},
                      RealRom{"mach64-atimach64vt2pci.bin", kRomNoPll, 32768},
                      RealRom{"mach64-bios.bin", kRomNoPll, 32768},
                      RealRom{"mach64-mach64vt-660c60c135839345779942.bin", kRomNoPll, 32768},
                      RealRom{"mach64-M64-1994.VBI", kRomNotAti, 32768},
                      RealRom{"mach64-mach64_vlb_vram.bin", kRomNotAti, 32768},
                      RealRom{"mach32-MACH32PCI.BIN", kRomNotAti, 32768},
                      RealRom{"ati28800-bios.bin", kRomNotAti, 32768},
                      // The emulator's VGA BIOS names the Radeon 7000 it is made for.
                      RealRom{"seabios-vgabios-ati.bin", kRomNotAti, 39936,
                              "device 5159 is a card of the Radeon 7000 to 7500 family"}),
    [](const ::testing::TestParamInfo<RealRom>& info) {
        std::string name = info.param.file;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

TEST(RealRom, Rage128TablesAreFound) {
    const std::string progl = romPath("ati_rage128-Rage128progl_zerostate.VBI");
    const std::string proII = romPath("ati_rage128-Rage128proIIpci_zerostate.VBI");
    if (!std::filesystem::exists(progl) || !std::filesystem::exists(proII)) {
        GTEST_SKIP() << "no real ROM images beside the project";
    }
    CRomImage image;
    image.loadFile(progl);
    ASSERT_EQ(image.validate(), kRomNoClockRecord);
    EXPECT_EQ(image.vendorId, 0x1002);
    EXPECT_EQ(image.deviceId, 0x5046);
    EXPECT_EQ(image.subsystemVendorId, 0x1002);
    EXPECT_EQ(image.subsystemId, 0x0018);
    EXPECT_NE(image.pllOffset, 0);
    EXPECT_EQ(image.word(image.pllOffset + 0x0Eu), 2700);
    EXPECT_NE(image.tvOffset, 0);
    EXPECT_EQ(image.tvStandard, 2);
    EXPECT_EQ(image.byteSum(), 0);
    EXPECT_EQ(image.referenceDividerOffset, 0);

    image.reset();
    image.loadFile(proII);
    ASSERT_EQ(image.validate(), kRomNoClockRecord);
    EXPECT_EQ(image.deviceId, 0x5452);
    EXPECT_EQ(image.subsystemId, 0x0009);
    EXPECT_EQ(image.tvOffset, 0);
    EXPECT_EQ(image.tvStandard, 0);
}

}  // namespace
}  // namespace vorlane
