// Listing ATI display cards from sysfs trees built by the tests: what is listed, in which order,
// and which device folders are skipped with a reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "card/Cards.h"
#include "image/FileError.h"
#include "tests/support/FakeSysfs.h"
#include "tests/support/RomBuilder.h"
#include "tests/support/RunningOutOfMemory.h"

namespace vorlane::test {
namespace {

using card::CardListing;
using card::DisplayCard;

std::string describe(const DisplayCard& c) {
    char text[80];
    std::snprintf(text, sizeof text, "%s %04x:%04x %04x:%04x%s%s%s", c.address.c_str(), c.vendorId,
                  c.deviceId, c.subsystemVendorId, c.subsystemId, c.bootVga ? " boot" : "",
                  c.hasRom ? " rom" : "", c.romIsStartupCopy ? " copy" : "");
    return text;
}

struct ListingCase {
    const char* name;
    std::vector<FakeDevice> devices;
    std::vector<std::string> cards;    // as `describe` shows them
    std::vector<std::string> skipped;  // addresses
};

FakeDevice dev(std::string address) {
    FakeDevice d;
    d.address = std::move(address);
    return d;
}

template <typename Field>
FakeDevice with(FakeDevice d, Field FakeDevice::*field, std::string value) {
    d.*field = std::move(value);
    return d;
}

class Listing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(Listing, ShowsTheAtiDisplayCardsAndSkipsWhatItCannotRead) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    for (const FakeDevice& device : GetParam().devices) {
        sysfs.add(device);
    }
    const CardListing listing = card::listAtiCards(sysfs.root());
    std::vector<std::string> cards, skipped;
    for (const DisplayCard& c : listing.cards) {
        cards.push_back(describe(c));
    }
    for (const auto& s : listing.skipped) {
        EXPECT_FALSE(s.reason.empty()) << s.path;
        skipped.push_back(std::filesystem::path(s.path).filename().string());
    }
    EXPECT_EQ(cards, GetParam().cards);
    EXPECT_EQ(skipped, GetParam().skipped);
}

const FakeDevice kBoot = [] {
    FakeDevice d = dev("0000:02:00.0");
    d.bootVga = "1\n";
    d.device = "0x5144\n";
    d.subsystemDevice = "0x013a\n";
    return d;
}();

const FakeDevice kNoExtras = [] {
    FakeDevice d = dev("0000:01:00.0");
    d.bootVga.reset();
    d.rom.reset();
    return d;
}();

INSTANTIATE_TEST_SUITE_P(
    FakeTrees, Listing,
    ::testing::Values(
        ListingCase{"NoDevices", {}, {}, {}},
        ListingCase{"OneCard", {dev("0000:01:00.0")}, {"0000:01:00.0 1002:5159 1002:0008 rom"}, {}},
        // Other vendors' cards, ATI's sound function and a bridge are not listed; the cards
        // come in address order whatever order the folder has.
        ListingCase{
            "AmongOtherDevices",
            {kBoot, with(dev("0000:02:00.1"), &FakeDevice::deviceClass, "0x040300\n"),
             with(dev("0000:03:00.0"), &FakeDevice::vendor, "0x10de\n"),
             with(with(dev("0000:00:00.0"), &FakeDevice::vendor, "0x8086\n"),
                  &FakeDevice::deviceClass, "0x060000\n"),
             kNoExtras},
            {"0000:01:00.0 1002:5159 1002:0008", "0000:02:00.0 1002:5144 1002:013a boot rom"},
            {}},
        ListingCase{
            "MalformedFilesAreSkipped",
            {with(dev("0000:01:00.0"), &FakeDevice::vendor, "ATI\n"),
             with(dev("0000:02:00.0"), &FakeDevice::device, "0x51590\n"),
             with(dev("0000:03:00.0"), &FakeDevice::deviceClass, "0x03\n"),
             with(dev("0000:04:00.0"), &FakeDevice::bootVga, "yes\n"),
             with(dev("0000:05:00.0"), &FakeDevice::subsystemVendor, std::string(1 << 20, '0')),
             with(dev("0000:06:00.0"), &FakeDevice::subsystemDevice, ""),
             with(kBoot, &FakeDevice::address, "0000:08:00.0"),
             // A non-ATI device is not examined further, so its odd class is no matter.
             with(with(dev("0000:07:00.0"), &FakeDevice::vendor, "0x8086\n"),
                  &FakeDevice::deviceClass, "?")},
            {"0000:08:00.0 1002:5144 1002:013a boot rom"},
            {"0000:01:00.0", "0000:02:00.0", "0000:03:00.0", "0000:04:00.0", "0000:05:00.0",
             "0000:06:00.0"}},
        // The ROM resource tells the start-up copy: its address or its shadow flag, each alone.
        // A short, malformed or missing resource file leaves the ROM the card's own.
        ListingCase{
            "StartupCopyIsToldByTheRomResource",
            {with(kBoot, &FakeDevice::resource, resourceFile(kStartupCopyLine)),
             with(dev("0000:01:00.0"), &FakeDevice::resource, resourceFile(kRomBarLine)),
             with(dev("0000:03:00.0"), &FakeDevice::resource,
                  resourceFile("0x00000000000c0000 0x00000000000dffff 0x0000000000046200")),
             with(dev("0000:04:00.0"), &FakeDevice::resource,
                  resourceFile("0x00000000fe800000 0x00000000fe80ffff 0x0000000000046202")),
             with(dev("0000:05:00.0"), &FakeDevice::resource,
                  resourceFile(kStartupCopyLine).substr(0, 6 * 57)),
             with(dev("0000:06:00.0"), &FakeDevice::resource,
                  resourceFile("0x00000000000c0000 0x00000000000dffff")),
             dev("0000:07:00.0")},
            {"0000:01:00.0 1002:5159 1002:0008 rom",
             "0000:02:00.0 1002:5144 1002:013a boot rom copy",
             "0000:03:00.0 1002:5159 1002:0008 rom copy",
             "0000:04:00.0 1002:5159 1002:0008 rom copy", "0000:05:00.0 1002:5159 1002:0008 rom",
             "0000:06:00.0 1002:5159 1002:0008 rom", "0000:07:00.0 1002:5159 1002:0008 rom"},
            {}}),
    [](const ::testing::TestParamInfo<ListingCase>& info) { return info.param.name; });

// The tree itself can hold what no kernel makes: links out of the device folder, missing
// files, entries that are not devices. Each is skipped and nothing outside is read.
TEST(Listing, NeverFollowsALinkOutOfTheDeviceFolder) {
    TempDir dir;
    FakeSysfs sysfs(dir.path() + "/sys");
    const std::string outside = dir.file("outside");
    writeBytes(outside, {'0', 'x', '1', '0', '0', '2', '\n'});
    const std::string folder = sysfs.add(dev("0000:01:00.0"));
    std::filesystem::remove(folder + "/vendor");
    std::filesystem::create_symlink(outside, folder + "/vendor");
    std::filesystem::remove(sysfs.add(dev("0000:02:00.0")) + "/class");
    std::filesystem::create_symlink(dir.file("nowhere"),
                                    sysfs.root() + "/bus/pci/devices/0000:03:00.0");
    std::filesystem::create_directory(sysfs.root() + "/bus/pci/devices/notes");
    const CardListing listing = card::listAtiCards(sysfs.root());
    EXPECT_TRUE(listing.cards.empty());
    ASSERT_EQ(listing.skipped.size(), 4u);
    EXPECT_NE(listing.skipped[0].reason.find("vendor"), std::string::npos);
    EXPECT_NE(listing.skipped[1].reason.find("class file is missing"), std::string::npos);
}

// Only a file (or the pipe the tests serve) is a ROM the card exposes; a link or a folder
// named rom is listed as no ROM.
TEST(Listing, RomThatIsALinkOrAFolderIsNoRom) {
    TempDir dir;
    FakeSysfs sysfs(dir.path() + "/sys");
    writeBytes(dir.file("outside.rom"), {0x55, 0xAA});
    FakeDevice noRom = dev("0000:01:00.0");
    noRom.rom.reset();
    std::filesystem::create_symlink(dir.file("outside.rom"), sysfs.add(noRom) + "/rom");
    noRom.address = "0000:02:00.0";
    std::filesystem::create_directory(sysfs.add(noRom) + "/rom");
    std::vector<std::string> cards;
    for (const DisplayCard& c : card::listAtiCards(sysfs.root()).cards) {
        cards.push_back(describe(c));
    }
    EXPECT_EQ(cards, (std::vector<std::string>{"0000:01:00.0 1002:5159 1002:0008",
                                               "0000:02:00.0 1002:5159 1002:0008"}));
}

size_t openDescriptors() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// An exception part-way through the listing (memory running out at each allocation in turn)
// leaves no folder or file open.
TEST(Listing, AFailurePartWayLeavesNothingOpen) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    for (const char* address : {"0000:01:00.0", "0000:02:00.0", "0000:03:00.0", "0000:04:00.0",
                                "0000:05:00.0", "0000:06:00.0", "0000:07:00.0", "0000:08:00.0"}) {
        sysfs.add(dev(address));
    }
    const size_t before = openDescriptors();
    int failures = 0;
    for (int allocations = 0; allocations < 60; ++allocations) {
        runOutOfMemoryAfter(allocations);
        try {
            card::listAtiCards(sysfs.root());
        } catch (const std::bad_alloc&) {
            ++failures;
        }
        runOutOfMemoryAfter(-1);
        EXPECT_EQ(openDescriptors(), before) << "failing allocation " << allocations;
    }
    EXPECT_GT(failures, 10);
}

TEST(Listing, UnreadableDevicesFolderIsAFileError) {
    TempDir dir;
    EXPECT_THROW(card::listAtiCards(dir.path()), FileError);
}

TEST(Address, KernelFormAndShortFormAreAcceptedAndNothingElse) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0000:01:00.0", "0000:01:00.0"},
        {"01:00.0", "0000:01:00.0"},
        {"0001:0A:1f.7", "0001:0a:1f.7"},
        {"0000:01:20.0", ""},
        {"0000:01:00.8", ""},
        {"0000:01:00", ""},
        {"../../../etc", ""},
        {"0000:01:00.0/", ""},
        {"", ""},
        {"0000-01:00.0", ""}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(card::normalizeAddress(text).value_or(""), expected) << text;
    }
}

TEST(Address, DevicesFolderOfTheRootAndOfAnotherTree) {
    EXPECT_EQ(card::devicesFolder("/sys"), "/sys/bus/pci/devices");
    EXPECT_EQ(card::devicesFolder("/"), "/bus/pci/devices");
    EXPECT_EQ(card::devicesFolder("tree/"), "tree/bus/pci/devices");
}

}  // namespace
}  // namespace vorlane::test
