// cards, read-card and check as a script sees them: sysfs trees built here, ROMs served through a
// pipe that plays the kernel's part, and image files from the test-support builder.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "image/Check.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/FakeSysfs.h"
#include "tests/support/Unprivileged.h"

namespace vorlane::test {
namespace {

FakeDevice at(std::string address) {
    FakeDevice d;
    d.address = std::move(address);
    return d;
}

TEST(CliCards, ListsAtiDisplayCardsAsJsonLinesAndWarnsAboutWhatItSkips) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    FakeDevice boot = at("0000:02:00.0");
    boot.bootVga = "1\n";
    boot.device = "0x5144\n";
    FakeDevice plain = at("0000:01:00.0");
    plain.bootVga.reset();
    plain.rom.reset();
    FakeDevice other = at("0000:03:00.0");
    other.vendor = "0x10de\n";
    FakeDevice broken = at("0000:04:00.0");
    broken.device = "nonsense";
    for (const FakeDevice& d : {boot, plain, other, broken}) {
        sysfs.add(d);
    }
    const CliResult r = runCli({"cards", "--json", "--sysfs", sysfs.root()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "vorlane-cli: " + sysfs.root() +
                         "/bus/pci/devices/0000:04:00.0: skipped: its device file does not hold "
                         "a 4-digit hexadecimal number\n");
    const std::vector<Json> expected = {
        Json::parse(R"({"address":"0000:01:00.0","vendorId":4098,"deviceId":20825,
            "subsystemVendorId":4098,"subsystemId":8,"bootVga":false,"rom":false})"),
        Json::parse(R"({"address":"0000:02:00.0","vendorId":4098,"deviceId":20804,
            "subsystemVendorId":4098,"subsystemId":8,"bootVga":true,"rom":true})")};
    EXPECT_EQ(r.jsonLines(), expected);

    const CliResult human = runCli({"cards", "--sysfs", sysfs.root()});
    EXPECT_EQ(human.exitCode, 0);
    EXPECT_LT(human.out.find("0000:01:00.0"), human.out.find("0000:02:00.0  vendor 1002"));
}

TEST(CliCards, NoCardIsNoErrorAndNoFolderIsAFileError) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    const CliResult none = runCli({"cards", "--sysfs", sysfs.root()});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_NE(none.out.find("no ATI display card"), std::string::npos);
    EXPECT_EQ(runCli({"cards", "--json", "--sysfs", sysfs.root()}).out, "");
    const CliResult missing = runCli({"cards", "--sysfs", dir.file("nothing")});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos);
}

struct RefusalCase {
    const char* name;
    std::vector<FakeDevice> devices;
    std::vector<std::string> args;  // after read-card, before -o OUT
    int exitCode;
    std::vector<std::string> errorMentions;
    std::vector<std::string> errorLacks = {};
};

class CliReadCardRefusal : public ::testing::TestWithParam<RefusalCase> {};

// Nothing is written below the tree, and no OUT, whenever no ROM was read.
TEST_P(CliReadCardRefusal, ExitsWithoutWritingAnything) {
    const RefusalCase& c = GetParam();
    TempDir dir;
    FakeSysfs sysfs(dir.file("sys"));
    for (const FakeDevice& d : c.devices) {
        sysfs.add(d);
    }
    const auto before = folderState(dir.path());
    std::vector<std::string> args = {"read-card", "--sysfs", sysfs.root()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"-o", dir.file("out.rom")});
    const CliResult r = runCli(args);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    for (const std::string& mention : c.errorMentions) {
        EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
    }
    for (const std::string& lack : c.errorLacks) {
        EXPECT_EQ(r.err.find(lack), std::string::npos) << r.err;
    }
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(folderState(dir.path()), before);
}

const FakeDevice kSoundFunction = [] {
    FakeDevice d = at("0000:01:00.1");
    d.deviceClass = "0x040300\n";
    return d;
}();

const FakeDevice kNoRom = [] {
    FakeDevice d;
    d.rom.reset();
    return d;
}();

// The boot display as the kernel shows it: the ROM it offers is the start-up copy.
FakeDevice bootDisplay(std::string device = "0x5159\n") {
    FakeDevice d;
    d.bootVga = "1\n";
    d.device = std::move(device);
    d.resource = resourceFile(kStartupCopyLine);
    d.rom = RomBuilder().build();
    return d;
}

// The boot display with another ROM resource line.
FakeDevice bootDisplayWithRomLine(const std::string& romLine) {
    FakeDevice d = bootDisplay();
    d.resource = resourceFile(romLine);
    return d;
}

// A second card on the root bus, which the kernel serves the boot display's copy.
const FakeDevice kSecondOnRootBus = [] {
    FakeDevice d = bootDisplay();
    d.bootVga = "0\n";
    return d;
}();

// Without a rom file the kernel offers no ROM at all, whatever the resource file says.
const FakeDevice kBootDisplayWithoutRom = [] {
    FakeDevice d = bootDisplay();
    d.rom.reset();
    return d;
}();

INSTANTIATE_TEST_SUITE_P(
    FakeTrees, CliReadCardRefusal,
    ::testing::Values(
        RefusalCase{"NoCard", {kSoundFunction}, {}, 1, {"no ATI display card"}},
        RefusalCase{"TwoCardsWithoutAddress",
                    {at("0000:01:00.0"), at("0000:02:00.0")},
                    {},
                    2,
                    {"0000:01:00.0", "0000:02:00.0", "--help"}},
        RefusalCase{"WrongAddress", {at("0000:01:00.0")}, {"0000:05:00.0"}, 1, {"0000:01:00.0"}},
        RefusalCase{"MalformedAddress", {at("0000:01:00.0")}, {"01:00"}, 2, {"01:00"}},
        RefusalCase{"NoRomFile", {kNoRom}, {}, 3, {"no rom file"}},
        RefusalCase{"NoRomFileWhereTheStartupCopyWouldBe",
                    {kBootDisplayWithoutRom},
                    {},
                    3,
                    {"no rom file"}},
        RefusalCase{"StartupCopyWithoutShadow",
                    {bootDisplay()},
                    {},
                    1,
                    {"start-up", "not the chip's contents", "not the boot display", "--shadow"}},
        // The message names what the kernel showed: the address, the shadow flag, or both.
        RefusalCase{
            "StartupCopyByItsAddressAlone",
            {bootDisplayWithRomLine("0x00000000000c0000 0x00000000000dffff 0x0000000000000200")},
            {},
            1,
            {"(at 0xC0000, the card being the boot display)", "--shadow"},
            {"0x2"}},
        RefusalCase{
            "StartupCopyByTheShadowFlagAlone",
            {bootDisplayWithRomLine("0x00000000fe800000 0x00000000fe80ffff 0x0000000000046202")},
            {},
            1,
            {"(flagged by the kernel as a shadow copy (0x2), the card being the boot "
             "display)"},
            {"0xC0000"}},
        RefusalCase{"StartupCopyOfAnotherCard",
                    {kSecondOnRootBus},
                    {"--shadow"},
                    1,
                    {"start-up copy", "not the boot display", "never this card's"}}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(CliCards, CardWithoutRomFileIsListedWithoutRom) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    sysfs.add(kBootDisplayWithoutRom);
    const CliResult r = runCli({"cards", "--sysfs", sysfs.root()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "0000:01:00.0  vendor 1002  device 5159  subsystem vendor 1002  subsystem 0008  "
              "boot VGA  no ROM\n");
}

TEST(CliReadCard, SavesTheRomEnabledAndDisabledAroundTheRead) {
    TempDir dir;
    FakeSysfs sysfs(dir.file("sys"));
    sysfs.add(at("0000:01:00.0"));
    sysfs.add(at("0000:02:00.0"));
    const std::vector<uint8_t> rom = RomBuilder().fileSize(40960).declaredBlocks(80).build();
    RomPipeServer server(sysfs.romOf("0000:02:00.0"), rom);
    const CliResult r = runCli(
        {"read-card", "02:00.0", "-o", dir.file("out.rom"), "--json", "--sysfs", sysfs.root()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(server.steps(), (std::vector<std::string>{"write:1\n", "read", "write:0\n"}));
    EXPECT_EQ(readBytes(dir.file("out.rom")), rom);
    ASSERT_EQ(r.jsonLines().size(), 1u);
    EXPECT_EQ(r.jsonLines()[0]["file"], dir.file("out.rom"));
    EXPECT_EQ(r.jsonLines()[0]["status"], 0);
    EXPECT_EQ(r.jsonLines()[0]["length"], 40960);

    // With the dump on standard output, the report goes to standard error.
    RomPipeServer piped(sysfs.romOf("0000:01:00.0"), rom);
    const CliResult dump =
        runCli({"read-card", "01:00.0", "-o", "-", "--json", "--sysfs", sysfs.root()});
    EXPECT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_TRUE(dump.out == std::string(rom.begin(), rom.end())) << dump.out.size() << " bytes";
    EXPECT_NE(dump.err.find("\"status\":0"), std::string::npos) << dump.err;
}

struct OriginCase {
    const char* name;
    FakeDevice device;
    std::vector<std::string> args;  // after read-card, before -o OUT --json
    std::vector<uint8_t> rom;
    int exitCode;
    bool written;
    const char* errorMentions;  // "" for no message at all
    bool shadowKey;
};

class CliReadCardOrigin : public ::testing::TestWithParam<OriginCase> {};

// Read through a pipe that plays the kernel: the ROM is disabled again on every path, and what
// is saved and said depends on where the bytes came from.
TEST_P(CliReadCardOrigin, SavesOnlyTheCardsOwnBiosOrTheCopyAskedFor) {
    const OriginCase& c = GetParam();
    TempDir dir;
    FakeSysfs sysfs(dir.file("sys"));
    sysfs.add(c.device);
    RomPipeServer server(sysfs.romOf(c.device.address), c.rom);
    std::vector<std::string> args = {"read-card", "--sysfs", sysfs.root()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"-o", dir.file("out.rom"), "--json"});
    const CliResult r = runCli(args);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(server.steps(), (std::vector<std::string>{"write:1\n", "read", "write:0\n"}));
    if (*c.errorMentions == '\0') {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_EQ(r.err.rfind("vorlane-cli: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.errorMentions), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    ASSERT_EQ(std::filesystem::exists(dir.file("out.rom")), c.written);
    if (c.written) {
        EXPECT_EQ(readBytes(dir.file("out.rom")), c.rom);
        ASSERT_EQ(r.jsonLines().size(), 1u);
        EXPECT_EQ(r.jsonLines()[0].contains("shadow"), c.shadowKey) << r.out;
        if (c.shadowKey) {
            EXPECT_EQ(r.jsonLines()[0]["shadow"], true);
        }
    } else {
        EXPECT_EQ(r.out, "");
    }
}

const FakeDevice kRage128 = [] {
    FakeDevice d;
    d.device = "0x5046\n";
    d.resource = resourceFile(kRomBarLine);
    return d;
}();

// A Radeon 7000 (device 5159) whose ROM is read through its own ROM BAR.
const FakeDevice kRadeon7000 = [] {
    FakeDevice d;
    d.resource = resourceFile(kRomBarLine);
    return d;
}();

INSTANTIATE_TEST_SUITE_P(
    FakeTrees, CliReadCardOrigin,
    ::testing::Values(OriginCase{"StartupCopyWithShadow",
                                 bootDisplay(),
                                 {"--shadow"},
                                 RomBuilder().build(),
                                 0,
                                 true,
                                 "",
                                 true},
                      OriginCase{"BrokenStartupCopyIsTheCopyThePatchedHintIsFor",
                                 bootDisplay(),
                                 {"--shadow"},
                                 RomBuilder().checksum(RomBuilder::Checksum::Broken).build(),
                                 1,
                                 true,
                                 "patched in memory",
                                 true},
                      OriginCase{"ForeignBiosFromTheRomBarIsSavedWithAWarning",
                                 kRage128,
                                 {},
                                 RomBuilder().build(),
                                 0,
                                 true,
                                 "names 1002:5159, the card is 1002:5046",
                                 false},
                      // The same device number from another vendor is another card.
                      OriginCase{"AnotherVendorsBiosWithTheCardsDeviceNumber",
                                 kRadeon7000,
                                 {},
                                 RomBuilder().vendorId(0x10DE).build(),
                                 0,
                                 true,
                                 "names 10de:5159, the card is 1002:5159",
                                 false},
                      OriginCase{"ForeignStartupCopyIsRefusedEvenWithShadow",
                                 bootDisplay("0x5046\n"),
                                 {"--shadow"},
                                 RomBuilder().build(),
                                 1,
                                 false,
                                 "another card's BIOS",
                                 false}),
    [](const ::testing::TestParamInfo<OriginCase>& info) { return info.param.name; });

// The ROM that reads as erased flash is saved as read, and the message says what it can mean.
TEST(CliReadCard, AllErasedDumpIsSavedAndExplained) {
    TempDir dir;
    FakeSysfs sysfs(dir.file("sys"));
    sysfs.add(FakeDevice{});
    const std::vector<uint8_t> erased(65536, 0xFF);
    RomPipeServer server(sysfs.romOf("0000:01:00.0"), erased);
    const CliResult r = runCli({"read-card", "-o", dir.file("out.rom"), "--sysfs", sysfs.root()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(server.steps().back(), "write:0\n");
    EXPECT_EQ(readBytes(dir.file("out.rom")), erased);
    EXPECT_NE(r.out.find(dir.file("out.rom") + ": status 2"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("0xFF"), std::string::npos) << r.err;
    // Read from the card's own ROM, not a copy in memory: no word of a patched copy.
    EXPECT_EQ(r.err.find("patched in memory"), std::string::npos) << r.err;
}

TEST(CliReadCard, PermissionDeniedSaysItNeedsRoot) {
    if (!asUnprivilegedUser([] { return ::access(VORLANE_CLI_PATH, X_OK) == 0; })) {
        GTEST_SKIP() << "an ordinary user cannot reach the built program here";
    }
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    FakeSysfs sysfs(dir.file("sys"));
    sysfs.add(FakeDevice{});
    std::filesystem::permissions(sysfs.romOf("0000:01:00.0"), std::filesystem::perms::none);
    EXPECT_TRUE(asUnprivilegedUser([&] {
        const CliResult r =
            runCli({"read-card", "-o", dir.file("out.rom"), "--sysfs", sysfs.root()});
        return r.exitCode == 3 &&
               r.err.find("reading a card's ROM needs root") != std::string::npos &&
               !std::filesystem::exists(dir.file("out.rom"));
    }));
}

TEST(CliCheck, VerdictsExitStatusAndJson) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("fit.rom"));
    RomBuilder().indicator(0).writeTo(dir.file("warn.rom"));
    RomBuilder().vendorId(0x10DE).writeTo(dir.file("other.rom"));

    const CliResult fit = runCli({"check", "--chip-size", "64K", dir.file("fit.rom")});
    EXPECT_EQ(fit.exitCode, 0);
    EXPECT_EQ(fit.out, dir.file("fit.rom") + ": ok\n");
    const CliResult warn = runCli({"check", dir.file("warn.rom")});
    EXPECT_EQ(warn.exitCode, 0);
    EXPECT_EQ(warn.out.substr(0, warn.out.find('\n')), dir.file("warn.rom") + ": ok with warnings");
    const CliResult warnJson = runCli({"check", "--json", dir.file("warn.rom")});
    ASSERT_EQ(warnJson.jsonLines().size(), 1u);
    EXPECT_EQ(warnJson.jsonLines()[0]["ok"], true);  // warnings leave an image fit

    const CliResult all = runCli({"check", "--json", "--chip-size", "32768", "--device", "0x5159",
                                  dir.file("fit.rom"), dir.file("other.rom")});
    EXPECT_EQ(all.exitCode, 1);
    const auto lines = all.jsonLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], Json::parse(R"({"file":")" + dir.file("fit.rom") +
                                    R"(","ok":false,"status":0,"findings":[{"level":"error",
        "code":"too-big","message":"the file is 65536 bytes, the chip holds 32768"}]})"));
    EXPECT_EQ(lines[1]["findings"][0]["code"], "vendor");

    // The file's own size counts, not the size the image declares.
    RomBuilder().fileSize(65536 + 16).writeTo(dir.file("long.rom"));
    const CliResult longer = runCli({"check", "--chip-size", "64K", dir.file("long.rom")});
    EXPECT_EQ(longer.exitCode, 1);
    EXPECT_EQ(longer.out.substr(0, longer.out.find('\n')), dir.file("long.rom") + ": not fit");
    EXPECT_NE(longer.out.find("error too-big"), std::string::npos) << longer.out;
    EXPECT_NE(longer.out.find("warning trailing-bytes"), std::string::npos) << longer.out;

    const CliResult missing = runCli({"check", dir.file("none.rom"), dir.file("other.rom")});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.out.find("not fit"), std::string::npos);
}

// An intact image of an older family is named in the human reports; the JSON stays as it was.
TEST(CliCheck, OlderFamilyIsNamedInTheHumanReportsOnly) {
    TempDir dir;
    RomBuilder().deviceId(0x5046).clockRecordAt(std::nullopt).writeTo(dir.file("rage128.rom"));
    const std::string line =
        "  older card  device 5046 is a Rage 128: the image is intact, but "
        "not one Vorlane can edit\n";
    for (const char* command : {"info", "check"}) {
        const CliResult human = runCli({command, dir.file("rage128.rom")});
        EXPECT_EQ(human.exitCode, 1) << command;
        EXPECT_TRUE(human.out.ends_with(line)) << command << ": " << human.out;
        const CliResult json = runCli({command, "--json", dir.file("rage128.rom")});
        EXPECT_EQ(json.out.find("older"), std::string::npos) << json.out;
        EXPECT_EQ(json.jsonLines().size(), 1u);
    }
}

// Standard input has no size but what was read: it is read as far as the largest chip and one
// byte more, and past that it is known only to be larger, and then too big for any chip, as the
// same file by name is, with or without --chip-size.
TEST(CliCheck, StandardInputIsSizedByWhatWasRead) {
    TempDir dir;
    constexpr size_t kLargest = 16 * 1024 * 1024;
    std::vector<uint8_t> bytes = RomBuilder().build();
    bytes.resize(kLargest, 0x00);  // not padding: trailing bytes whatever the rule for 0xFF
    writeBytes(dir.file("largest.rom"), bytes);
    bytes.push_back(0x00);
    writeBytes(dir.file("over.rom"), bytes);
    struct Case {
        const char* file;
        bool standardInput;
        std::vector<std::string> chip;  // --chip-size SIZE, or nothing
        std::string firstMessage;       // of the first finding
    };
    const std::string declares =
        ", the image declares 65536: the editor and edit save only those "
        "65536 bytes";
    const std::vector<Case> cases = {
        {"largest.rom", true, {"--chip-size", "16777216"}, "the file is 16777216 bytes" + declares},
        {"largest.rom", true, {}, "the file is 16777216 bytes" + declares},
        {"over.rom",
         true,
         {"--chip-size", "16777216"},
         "the file is more than 16777216 bytes, the chip holds 16777216"},
        {"over.rom",
         true,
         {},
         "the file is more than 16777216 bytes, more than the largest flash "
         "chip (16777216 bytes)"},
        {"over.rom",
         false,
         {},
         "the file is 16777217 bytes, more than the largest flash chip "
         "(16777216 bytes)"},
        {"over.rom",
         false,
         {"--chip-size", "64K"},
         "the file is 16777217 bytes, the chip holds 65536"},
    };
    for (const Case& c : cases) {
        const std::string file = dir.file(c.file);
        SCOPED_TRACE(file + (c.standardInput ? " as standard input " : " ") +
                     testing::PrintToString(c.chip));
        std::vector<std::string> args = {"check", "--json"};
        args.insert(args.end(), c.chip.begin(), c.chip.end());
        args.push_back(c.standardInput ? "-" : file);
        const CliResult r = runCli(args, "", c.standardInput ? file : "/dev/null");
        const bool tooBig = std::string(c.file) == "over.rom";
        EXPECT_EQ(r.exitCode, tooBig ? 1 : 0) << r.err;
        ASSERT_EQ(r.jsonLines().size(), 1u);
        EXPECT_EQ(r.jsonLines()[0]["file"], c.standardInput ? "-" : file);
        const Json findings = r.jsonLines()[0]["findings"];
        ASSERT_EQ(findings.size(), tooBig ? 2u : 1u) << findings;
        EXPECT_EQ(findings[0]["code"], tooBig ? "too-big" : "trailing-bytes");
        EXPECT_EQ(findings[0]["message"], c.firstMessage);
        EXPECT_EQ(findings.back()["code"], "trailing-bytes");
    }
}

// What check reads of a FILE or standard input: up to this and one byte more.
constexpr uint64_t kCheckReadLimit = kLargestChipSize;

// The image of the test-support builder and then runs of (byte, count), written a piece at a
// time: at check's read limit the file is megabytes long.
void writeImageAndRuns(const std::string& path,
                       const std::vector<std::pair<uint8_t, uint64_t>>& runs) {
    writeBytes(path, RomBuilder().build());
    std::ofstream out(path, std::ios::binary | std::ios::app);
    for (const auto& [byte, count] : runs) {
        const std::vector<char> piece(64 * 1024, static_cast<char>(byte));
        for (uint64_t left = count; left > 0;) {
            const uint64_t n = std::min<uint64_t>(left, piece.size());
            out.write(piece.data(), static_cast<std::streamsize>(n));
            left -= n;
        }
    }
    ASSERT_TRUE(out.flush()) << path;
}

// Standard input that goes on past what check reads is only known to be larger than that: too
// big for a chip no larger, and never smaller than any chip.
TEST(CliCheck, StandardInputPastTheReadLimitIsNeverSmallerThanAChip) {
    TempDir dir;
    writeImageAndRuns(dir.file("over.rom"), {{0x00, kCheckReadLimit + 1 - 65536}});
    constexpr uint64_t kLargestChip = 16 * 1024 * 1024;
    const CliResult r = runCli({"check", "--chip-size", std::to_string(kLargestChip), "-"}, "",
                               dir.file("over.rom"));
    EXPECT_EQ(r.out.find("smaller-than-chip"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("error too-big") != std::string::npos, kLargestChip <= kCheckReadLimit)
        << r.out;
}

// Erased bytes as far as check reads say nothing of the bytes past them. A file longer than the
// read limit, the largest chip, is too big for any chip besides.
TEST(CliCheck, BytesCheckDidNotReadAreNotTakenForPadding) {
    TempDir dir;
    writeImageAndRuns(dir.file("long.rom"), {{0xFF, kCheckReadLimit + 1 - 65536}, {0x00, 16}});
    const CliResult r = runCli({"check", dir.file("long.rom")});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.out.find("error too-big"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("warning trailing-bytes"), std::string::npos) << r.out;
}

TEST(CliCheck, MalformedValuesAreUsageErrors) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"check", "--chip-size", "64KB", "x"},
                                               {"check", "--chip-size", "0", "x"},
                                               {"check", "--chip-size", "-1", "x"},
                                               {"check", "--chip-size", "16777217", "x"},
                                               {"check", "--device", "12345", "x"},
                                               {"check", "--device", "", "x"},
                                               {"check", "-", "-"},
                                               {"check"}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args[1] << " " << args.back() << ": " << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos);
    }
}

}  // namespace
}  // namespace vorlane::test
