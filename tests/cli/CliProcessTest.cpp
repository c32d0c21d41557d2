// vorlane-cli as a script sees it: exit codes, standard error lines, and the JSON of `info`.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <regex>

#include "CliRunner.h"
#include "RomBuilder.h"

namespace vorlane::test {
namespace {

using Json = nlohmann::json;

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CliProcess, VersionAndHelpListEveryCommandWithAnExample) {
    const CliResult version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "vorlane-cli 2.5.0\n");
    EXPECT_EQ(version.err, "");

    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"edit", "-h"}}) {
        const CliResult help = runCli(args);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.err, "");
        for (const std::string command : {"info", "edit", "font-export", "fix-checksum"}) {
            EXPECT_NE(help.out.find("Example: vorlane-cli " + command + " "), std::string::npos)
                << command;
        }
        for (const std::string option :
             {"--json", "--skip-checksum", "--in-place", "--engine-feedback", "--memory-feedback",
              "--engine-mhz", "--memory-mhz", "--tv", "--subsystem-vendor", "--subsystem ",
              "--font-file", "--builtin-font", "--version"}) {
            EXPECT_NE(help.out.find(option), std::string::npos) << option;
        }
    }
}

TEST(CliProcess, InfoJsonHasEveryKeyWithItsType) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("ok.rom"));
    const CliResult r = runCli({"info", "--json", dir.file("ok.rom")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = r.jsonLines();
    ASSERT_EQ(lines.size(), 1u);
    const Json& j = lines[0];

    const std::vector<std::string> ints = {"status",
                                           "length",
                                           "pcirOffset",
                                           "headerOffset",
                                           "pllOffset",
                                           "tvOffset",
                                           "clockScanStart",
                                           "engineFeedbackOffset",
                                           "memoryFeedbackOffset",
                                           "referenceDividerOffset",
                                           "font8x8Offset",
                                           "font8x16Offset",
                                           "vendorId",
                                           "deviceId",
                                           "subsystemVendorId",
                                           "subsystemId",
                                           "engineFeedback",
                                           "memoryFeedback",
                                           "referenceDivider",
                                           "tvStandard",
                                           "byteSum"};
    const std::vector<std::string> strings = {"file", "engineClock", "memoryClock", "headText",
                                              "infoText"};
    EXPECT_EQ(j.size(), ints.size() + strings.size() + 3);  // message, stepClock, cyrillicFont
    for (const auto& key : ints) {
        EXPECT_TRUE(j.contains(key) && j[key].is_number_integer()) << key;
    }
    for (const auto& key : strings) {
        EXPECT_TRUE(j.contains(key) && j[key].is_string()) << key;
    }
    EXPECT_TRUE(j["message"].is_null());
    EXPECT_TRUE(j["stepClock"].is_number());
    EXPECT_TRUE(j["cyrillicFont"].is_boolean());

    EXPECT_EQ(j["file"], dir.file("ok.rom"));
    EXPECT_EQ(j["status"], 0);
    EXPECT_EQ(j["length"], 65536);
    EXPECT_EQ(j["pcirOffset"], RomBuilder::kPcir);
    EXPECT_EQ(j["headerOffset"], RomBuilder::kHeader);
    EXPECT_EQ(j["pllOffset"], RomBuilder::kPll);
    EXPECT_EQ(j["tvOffset"], RomBuilder::kTv);
    EXPECT_EQ(j["clockScanStart"], RomBuilder::kClockScan);
    EXPECT_EQ(j["engineFeedbackOffset"], RomBuilder::kClockRecord + 0x27);
    EXPECT_EQ(j["memoryFeedbackOffset"], RomBuilder::kClockRecord + 0x26);
    EXPECT_EQ(j["referenceDividerOffset"], RomBuilder::kClockRecord + 0x25);
    EXPECT_EQ(j["font8x8Offset"], RomBuilder::kFont8x8);
    EXPECT_EQ(j["font8x16Offset"], RomBuilder::kFont8x16);
    EXPECT_EQ(j["vendorId"], 0x1002);
    EXPECT_EQ(j["deviceId"], 0x5159);
    EXPECT_EQ(j["subsystemVendorId"], 0x1002);
    EXPECT_EQ(j["subsystemId"], 0x0008);
    EXPECT_EQ(j["stepClock"].get<double>(), 225.0);
    EXPECT_EQ(j["engineFeedback"], 0x60);
    EXPECT_EQ(j["memoryFeedback"], 0x5A);
    EXPECT_EQ(j["referenceDivider"], 12);
    EXPECT_EQ(j["engineClock"], "216.00");
    EXPECT_EQ(j["memoryClock"], "202.50");
    EXPECT_EQ(j["tvStandard"], 1);
    EXPECT_EQ(j["headText"], "VORLANE TEST BIOS R7000 64MB");
    EXPECT_EQ(j["infoText"], "RADEON 7000 TEST BOARD 64MB DDR  400/400");
    EXPECT_EQ(j["byteSum"], 0);
    EXPECT_EQ(j["cyrillicFont"], false);
}

TEST(CliProcess, InfoJsonOfFailedImagesShowsWhatValidationLeft) {
    TempDir dir;
    RomBuilder().checksum(RomBuilder::Checksum::Broken).writeTo(dir.file("sum.rom"));
    RomBuilder().fileSize(1000).writeTo(dir.file("small.rom"));
    RomBuilder().clockRecordAt(std::nullopt).writeTo(dir.file("noclock.rom"));
    const CliResult r = runCli(
        {"info", "--json", dir.file("sum.rom"), dir.file("small.rom"), dir.file("noclock.rom")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "");
    const auto lines = r.jsonLines();
    ASSERT_EQ(lines.size(), 3u);

    const Json& sum = lines[0];
    EXPECT_EQ(sum["status"], 6);
    EXPECT_EQ(sum["message"], "Error N6 \n CheckSum Error!");
    EXPECT_EQ(sum["stepClock"].get<double>(), 2.25);  // not computed after a failure
    EXPECT_EQ(sum["font8x8Offset"], 0);
    EXPECT_EQ(sum["engineClock"], "2.16");
    EXPECT_EQ(sum["memoryClock"], "2.02");  // 2.025 with 0.01 in single precision
    EXPECT_EQ(sum["byteSum"], 1);

    const Json& small = lines[1];
    EXPECT_EQ(small["status"], 1);
    EXPECT_EQ(small["message"], "Error N1 \n Error size of file");
    EXPECT_EQ(small["length"], 1000);
    EXPECT_TRUE(small["engineFeedback"].is_null());
    EXPECT_TRUE(small["referenceDivider"].is_null());
    EXPECT_EQ(small["engineClock"], "");
    EXPECT_EQ(small["headText"], "VORLANE TEST BIOS R7000 64MB");
    // Each FILE gets a fresh image: the IDs that reset keeps are not those of sum.rom.
    EXPECT_EQ(small["subsystemVendorId"], 0);
    EXPECT_EQ(small["vendorId"], 0);

    const Json& noclock = lines[2];
    EXPECT_EQ(noclock["status"], 7);
    EXPECT_EQ(noclock["engineFeedbackOffset"], 0);
    EXPECT_TRUE(noclock["memoryFeedback"].is_null());
    EXPECT_EQ(noclock["memoryClock"], "");

    const CliResult skipped = runCli({"info", "--json", "--skip-checksum", dir.file("sum.rom")});
    EXPECT_EQ(skipped.exitCode, 0);
    EXPECT_EQ(skipped.jsonLines().at(0)["status"], 0);
}

TEST(CliProcess, InfoNumbersAndTextsKeepTheirPrecisionAndEncoding) {
    TempDir dir;
    // Step 337.5: byte 1 shows 3.37, not the 3.38 of single-precision arithmetic.
    RomBuilder().referenceDivider(8).engineFeedback(1).writeTo(dir.file("a.rom"));
    // 2700 / 7 is no short decimal; 2700 / 12 is.
    RomBuilder().referenceDivider(7).writeTo(dir.file("b.rom"));
    RomBuilder().headText("Caf\xE9 \x01\xFF").writeTo(dir.file("c.rom"));
    const std::string oddName = dir.file("bad\xFFname.rom");
    RomBuilder().writeTo(oddName);

    const CliResult r = runCli(
        {"info", "--json", dir.file("a.rom"), dir.file("b.rom"), dir.file("c.rom"), oddName});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = r.jsonLines();  // throws on invalid UTF-8 or JSON
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]["engineClock"], "3.37");
    EXPECT_EQ(lines[1]["stepClock"].get<double>(),
              static_cast<double>(static_cast<float>(2700.0 / 7.0)));
    EXPECT_EQ(lines[2]["headText"], "Caf\u00E9 \u0001\u00FF");
    EXPECT_EQ(lines[3]["file"], dir.file("bad\uFFFDname.rom"));

    // At least nine significant digits of stepClock in the text itself, for any value.
    const std::regex stepClock("\"stepClock\":([0-9.]+)");
    std::smatch m;
    std::string rest = r.out;
    int seen = 0;
    while (std::regex_search(rest, m, stepClock)) {
        std::string digits = m[1];
        digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
        digits.erase(0, digits.find_first_not_of('0'));
        EXPECT_GE(digits.size(), 9u) << m[1];
        rest = m.suffix();
        ++seen;
    }
    EXPECT_EQ(seen, 4);
}

TEST(CliProcess, InfoExaminesEveryFileAndRanksExitCodes) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("ok.rom"));
    RomBuilder().checksum(RomBuilder::Checksum::Broken).writeTo(dir.file("sum.rom"));
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0644), 0);

    const CliResult mixed = runCli({"info", "--json", dir.file("ok.rom"), dir.file("missing.rom"),
                                    dir.file("sum.rom"), dir.path(), dir.file("fifo")});
    EXPECT_EQ(mixed.exitCode, 3);
    const auto lines = mixed.jsonLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["file"], dir.file("ok.rom"));
    EXPECT_EQ(lines[1]["file"], dir.file("sum.rom"));
    EXPECT_EQ(mixed.errLines(),
              (std::vector<std::string>{
                  "vorlane-cli: " + dir.file("missing.rom") + ": No such file or directory",
                  "vorlane-cli: " + dir.path() + ": Is a directory",
                  "vorlane-cli: " + dir.file("fifo") + ": Not a regular file"}));

    const CliResult invalid = runCli({"info", dir.file("ok.rom"), dir.file("sum.rom")});
    EXPECT_EQ(invalid.exitCode, 1);
    const CliResult valid = runCli({"info", dir.file("ok.rom"), dir.file("ok.rom")});
    EXPECT_EQ(valid.exitCode, 0);

    CliRun relative;
    relative.args = {"info", "--json", "ok.rom"};
    relative.workingDir = dir.path();
    const CliResult fromFolder = runCli(relative);
    EXPECT_EQ(fromFolder.exitCode, 0);
    EXPECT_EQ(fromFolder.jsonLines().at(0)["file"], "ok.rom");  // as given
}

TEST(CliProcess, InfoReadsAtMostTheFirst64KiB) {
    TempDir dir;
    auto big = RomBuilder().build();
    big.resize(3 * 65536, 0x5A);  // a trailing sum that would break the checksum if read
    writeBytes(dir.file("big.rom"), big);
    RomBuilder().declaredBlocks(0x40).writeTo(dir.file("half.rom"));
    const CliResult r = runCli({"info", "--json", dir.file("big.rom"), dir.file("half.rom")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = r.jsonLines();
    EXPECT_EQ(lines.at(0)["length"], 65536);
    EXPECT_EQ(lines.at(1)["length"], 32768);
}

TEST(CliProcess, InfoForPeopleShowsEverythingOnePerLine) {
    TempDir dir;
    RomBuilder().tvByte7(0x02).writeTo(dir.file("pal.rom"));
    RomBuilder().checksum(RomBuilder::Checksum::Broken).writeTo(dir.file("sum.rom"));
    const CliResult r = runCli({"info", dir.file("pal.rom"), dir.file("sum.rom")});
    EXPECT_EQ(r.exitCode, 1);
    for (const std::string& shown : std::vector<std::string>{
             dir.file("pal.rom") + ": status 0, valid",
             "VORLANE TEST BIOS R7000 64MB   RADEON 7000 TEST BOARD 64MB DDR  400/400",
             "216.00 MHz  feedback 96", "202.50 MHz  feedback 90", "225 x 10 kHz",
             "reference 2700 / divider 12", "PAL (2)", "vendor 1002", "device 5159",
             "subsystem vendor 1002", "subsystem 0008", "8x8 at 0xe000", "8x16 at 0xe800",
             "Cyrillic set: no",
             dir.file("sum.rom") + ": status 6, Error N6 - CheckSum Error!\n"}) {
        EXPECT_NE(r.out.find(shown), std::string::npos) << shown;
    }
}

TEST(CliProcess, UsageErrorsAreOneLineExitTwoAndReadNothing) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("ok.rom"));
    const std::string ok = dir.file("ok.rom");
    const std::string missing = dir.file("missing.rom");  // a usage error must come first
    const std::string out = dir.file("out.rom");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frob", ok},
        {"--bogus"},
        {"info"},
        {"info", "--bogus", ok},
        {"info", "--in-place", ok},
        {"edit", missing},
        {"edit", missing, "-o", out, "--in-place"},
        {"edit", missing, "-o"},
        {"edit", missing, "-o", out, "-o", out},
        {"edit", missing, "-o", out, "extra"},
        {"edit", missing, "-o", out, "--engine-feedback", "256"},
        {"edit", missing, "-o", out, "--memory-feedback", "-1"},
        {"edit", missing, "-o", out, "--engine-feedback", "12a"},
        {"edit", missing, "-o", out, "--engine-feedback"},
        {"edit", missing, "-o", out, "--engine-mhz", "0"},
        {"edit", missing, "-o", out, "--memory-mhz", "1e3"},
        {"edit", missing, "-o", out, "--memory-mhz", "fast"},
        {"edit", missing, "-o", out, "--engine-mhz", "300", "--engine-feedback", "5"},
        {"edit", missing, "-o", out, "--memory-mhz", "300", "--memory-feedback", "5"},
        {"edit", missing, "-o", out, "--tv", "secam"},
        {"edit", missing, "-o", out, "--subsystem", "12345"},
        {"edit", missing, "-o", out, "--subsystem-vendor", "0x"},
        {"edit", missing, "-o", out, "--subsystem-vendor", "xyz"},
        {"edit", missing, "-o", out, "--builtin-font", "russian"},
        {"edit", missing, "-o", out, "--font-file", "a.fnt", "--builtin-font", "standard"},
        {"font-export", missing},
        {"font-export", missing, out, "--json"},
        {"fix-checksum", missing},
        {"fix-checksum", missing, "--in-place", "-o", out},
        {"fix-checksum", missing, "--in-place", "--skip-checksum"},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const auto& a : args) {
            shown += a + " ";
        }
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        const auto lines = r.errLines();
        ASSERT_EQ(lines.size(), 1u) << shown << "\n" << r.err;
        EXPECT_EQ(lines[0].rfind("vorlane-cli: ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find("--help"), std::string::npos) << lines[0];
    }
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"ok.rom"});
}

TEST(CliProcess, AReportThatCannotBeWrittenIsAFileError) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("ok.rom"));
    CliRun run;
    run.args = {"info", "--json", dir.file("ok.rom")};
    run.stdoutPath = "/dev/full";
    const CliResult r = runCli(run);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "vorlane-cli: standard output: No space left on device\n");
}

TEST(CliProcess, RealRomsGetTheirKnownStatuses) {
    const std::string folder = VORLANE_SHARED_ROMS;
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no real ROM images at " << folder;
    }
    const std::vector<std::pair<std::string, int>> known = {
        {"ati_rage128-Rage128progl_zerostate.VBI", 7},
        {"ati_rage128-Rage128proIIpci_zerostate.VBI", 7},
        {"mach64-atimach64vt2pci.bin", 5},
        {"mach64-bios.bin", 5},
        {"mach64-mach64vt-660c60c135839345779942.bin", 5},
        {"mach64-M64-1994.VBI", 4},
        {"mach64-mach64_vlb_vram.bin", 4},
        {"mach32-MACH32PCI.BIN", 4},
        {"ati28800-bios.bin", 4},
        {"seabios-vgabios-ati.bin", 4},
    };
    std::vector<std::string> args = {"info", "--json"};
    for (const auto& [name, status] : known) {
        args.push_back(folder + "/" + name);
    }
    const CliResult r = runCli(args);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    const auto lines = r.jsonLines();
    ASSERT_EQ(lines.size(), known.size());
    for (size_t i = 0; i < known.size(); ++i) {
        EXPECT_EQ(lines[i]["status"], known[i].second) << known[i].first;
    }
    EXPECT_EQ(lines[0]["vendorId"], 0x1002);
    EXPECT_EQ(lines[0]["deviceId"], 0x5046);
    EXPECT_EQ(lines[0]["subsystemId"], 0x0018);
    EXPECT_EQ(lines[0]["tvStandard"], 2);
    EXPECT_EQ(lines[2]["length"], 32768);
}

}  // namespace
}  // namespace vorlane::test
