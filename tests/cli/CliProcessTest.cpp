// vorlane-cli as a script sees it: exit codes, standard error lines, and the reports of `info`.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <regex>

#include "tests/cli/CliRunner.h"

namespace vorlane::test {
namespace {

using B = RomBuilder;

TEST(CliProcess, VersionAndHelpListEveryCommandWithAnExample) {
    const CliResult version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out + version.err, "vorlane-cli " VORLANE_VERSION "\n");
    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"edit", "-h"}}) {
        const CliResult help = runCli(args);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.err, "");
        for (const std::string command : {"info", "edit", "font-export", "fix-checksum", "diff",
                                          "check", "cards", "read-card", "pad"}) {
            EXPECT_NE(help.out.find("Example: vorlane-cli " + command + " "), std::string::npos)
                << command;
        }
        for (const std::string option :
             {"--json", "--skip-checksum", "--in-place", "--engine-feedback", "--memory-feedback",
              "--engine-mhz", "--memory-mhz", "--tv", "--subsystem-vendor", "--subsystem ",
              "--font-file", "--builtin-font", "--version", "--chip-size", "--device", "--sysfs"}) {
            EXPECT_NE(help.out.find(option), std::string::npos) << option;
        }
    }
}

TEST(CliProcess, InfoJsonLineHasEveryKeyWithItsTypeAndValue) {
    TempDir dir;
    B().writeTo(dir.file("ok.rom"));
    const CliResult r = runCli({"info", "--json", dir.file("ok.rom")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.jsonLines().size(), 1u);
    const Json j = r.jsonLines()[0];
    // clang-format off
    const std::vector<std::pair<std::string, Json>> expected = {
        {"file", dir.file("ok.rom")}, {"status", 0}, {"message", nullptr}, {"length", 65536},
        {"pcirOffset", B::kPcir}, {"headerOffset", B::kHeader}, {"pllOffset", B::kPll},
        {"tvOffset", B::kTv}, {"clockScanStart", B::kClockScan},
        {"engineFeedbackOffset", B::kClockRecord + 0x27},
        {"memoryFeedbackOffset", B::kClockRecord + 0x26},
        {"referenceDividerOffset", B::kClockRecord + 0x25},
        {"font8x8Offset", B::kFont8x8}, {"font8x16Offset", B::kFont8x16},
        {"vendorId", 0x1002}, {"deviceId", 0x5159}, {"subsystemVendorId", 0x1002},
        {"subsystemId", 0x0008}, {"stepClock", 225.0}, {"engineFeedback", 0x60},
        {"memoryFeedback", 0x5A}, {"referenceDivider", 12}, {"engineClock", "216.00"},
        {"memoryClock", "202.50"}, {"tvStandard", 1}, {"byteSum", 0}, {"cyrillicFont", false},
        {"headText", "VORLANE TEST BIOS R7000 64MB"},
        {"infoText", "RADEON 7000 TEST BOARD 64MB DDR  400/400"}};
    // clang-format on
    EXPECT_EQ(j.size(), expected.size());
    for (const auto& [key, value] : expected) {
        ASSERT_TRUE(j.contains(key)) << key;
        EXPECT_EQ(j[key], value) << key;
        EXPECT_EQ(j[key].type_name(), value.type_name()) << key;
        EXPECT_EQ(j[key].is_number_integer(), value.is_number_integer()) << key;
    }
}

// Failed images report what validation left; numbers keep their precision, texts their bytes.
TEST(CliProcess, InfoJsonOfFailedAndUnusualImages) {
    TempDir dir;
    B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
    B().fileSize(1000).writeTo(dir.file("small.rom"));
    B().clockRecordAt(std::nullopt).writeTo(dir.file("noclock.rom"));
    // Step 337.5: byte 1 shows 3.37, not the 3.38 of single-precision arithmetic.
    B().referenceDivider(8).engineFeedback(1).writeTo(dir.file("a.rom"));
    B().referenceDivider(7).writeTo(dir.file("b.rom"));  // 2700 / 7 is no short decimal
    B().headText("Caf\xE9 \x01\xFF").writeTo(dir.file("bad\xFFname.rom"));
    const CliResult r = runCli({"info", "--json", dir.file("sum.rom"), dir.file("small.rom"),
                                dir.file("noclock.rom"), dir.file("a.rom"), dir.file("b.rom"),
                                dir.file("bad\xFFname.rom")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "");
    const auto lines = r.jsonLines();  // throws on invalid UTF-8 or JSON
    ASSERT_EQ(lines.size(), 6u);

    const Json &sum = lines[0], &small = lines[1], &noclock = lines[2];
    EXPECT_EQ(sum["status"], 6);
    EXPECT_EQ(sum["message"], "Error N6 \n CheckSum Error!");
    EXPECT_EQ(sum["stepClock"].get<double>(), 2.25);  // not computed after a failure
    EXPECT_EQ(sum["memoryClock"], "2.02");            // 2.025 with 0.01 in single precision
    EXPECT_EQ(sum["byteSum"], 1);
    EXPECT_EQ(small["status"], 1);
    EXPECT_EQ(small["length"], 1000);
    EXPECT_TRUE(small["engineFeedback"].is_null());
    EXPECT_EQ(small["engineClock"], "");
    EXPECT_EQ(small["subsystemVendorId"], 0);  // a fresh image per FILE, not sum.rom's IDs
    EXPECT_EQ(noclock["status"], 7);
    EXPECT_TRUE(noclock["memoryFeedback"].is_null());
    EXPECT_TRUE(noclock["referenceDivider"].is_null());
    EXPECT_EQ(noclock["memoryClock"], "");
    EXPECT_EQ(lines[3]["engineClock"], "3.37");
    EXPECT_EQ(lines[4]["stepClock"].get<double>(),
              static_cast<double>(static_cast<float>(2700.0 / 7.0)));
    EXPECT_EQ(lines[5]["headText"], "Caf\u00E9 \u0001\u00FF");
    EXPECT_EQ(lines[5]["file"], dir.file("bad\uFFFDname.rom"));

    // At least nine significant digits of stepClock in the text itself, whatever the value.
    const std::regex stepClock("\"stepClock\":0*([0-9]*)\\.?([0-9]*)");
    int seen = 0;
    for (std::sregex_iterator m(r.out.begin(), r.out.end(), stepClock), end; m != end; ++m) {
        EXPECT_GE((*m)[1].length() + (*m)[2].length(), 9) << m->str();
        ++seen;
    }
    EXPECT_EQ(seen, 6);
}

TEST(CliProcess, InfoReportsEveryFileAndRanksExitCodes) {
    TempDir dir;
    B().writeTo(dir.file("ok.rom"));
    B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
    auto big = B().build();
    big.resize(3 * 65536, 0x5A);  // bytes that would break the checksum if they were read
    writeBytes(dir.file("big.rom"), big);
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0644), 0);

    const CliResult mixed = runCli({"info", "--json", dir.file("missing.rom"), dir.file("big.rom"),
                                    dir.path(), dir.file("fifo"), dir.file("sum.rom")});
    EXPECT_EQ(mixed.exitCode, 3);
    const auto lines = mixed.jsonLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["status"], 0);
    EXPECT_EQ(lines[0]["length"], 65536);
    EXPECT_EQ(lines[1]["file"], dir.file("sum.rom"));
    EXPECT_EQ(mixed.err, "vorlane-cli: " + dir.file("missing.rom") +
                             ": No such file or directory\n" + "vorlane-cli: " + dir.path() +
                             ": Is a directory\n" + "vorlane-cli: " + dir.file("fifo") +
                             ": Not a regular file\n");

    // Without --json: a block per file, failed images included.
    const CliResult r = runCli({"info", dir.file("ok.rom"), dir.file("sum.rom")});
    EXPECT_EQ(r.exitCode, 1);
    for (const std::string& shown : std::vector<std::string>{
             dir.file("ok.rom") + ": status 0, valid",
             "VORLANE TEST BIOS R7000 64MB   RADEON 7000 TEST BOARD 64MB DDR  400/400",
             "216.00 MHz  feedback 96", "202.50 MHz  feedback 90", "225 x 10 kHz", "NTSC (1)",
             "vendor 1002  device 5159  subsystem vendor 1002  subsystem 0008",
             "8x8 at 0xe000  8x16 at 0xe800  Cyrillic set: no",
             dir.file("sum.rom") + ": status 6, Error N6 - CheckSum Error!\n"}) {
        EXPECT_NE(r.out.find(shown), std::string::npos) << shown;
    }
    // A short file leaves the reset buffer's 0xFF bytes, with no end, where the head text is.
    writeBytes(dir.file("short.rom"), {0x55, 0xAA});
    const CliResult blank = runCli({"info", dir.file("short.rom")});
    EXPECT_EQ(blank.exitCode, 1);
    EXPECT_LT(blank.out.size(), 2000u);
    EXPECT_NE(blank.out.find("\xC3\xBF\xC3\xBF...   \n"), std::string::npos) << blank.out;
    EXPECT_EQ(runCli({"info", dir.file("ok.rom"), dir.file("big.rom")}).exitCode, 0);
    const CliResult full = runCli({"info", dir.file("ok.rom")}, "/dev/full");
    EXPECT_EQ(full.exitCode, 3);
    EXPECT_EQ(full.err, "vorlane-cli: standard output: No space left on device\n");
}

// Every failure is one line on standard error; usage errors come before any file is read, and
// no failure writes, creates or leaves behind anything.
TEST(CliProcess, FailuresExitWithTheirCodeInOneLineAndWriteNothing) {
    TempDir dir;
    const auto f = [&](const std::string& name) { return dir.file(name); };
    B().writeTo(f("ok.rom"));
    B().checksum(B::Checksum::Broken).writeTo(f("sum.rom"));
    // Bytes past the image, which a save would drop: a refused --in-place must not save.
    B().tvOffset(0).fileSize(65536 + 16).writeTo(f("notv.rom"));
    B().tvByte7(0x30).writeTo(f("tv0.rom"));
    B().subsystemVendorId(0).writeTo(f("novendor.rom"));
    B().noFontSequence().writeTo(f("nofont.rom"));
    // Images of no BIOS of this family: saving them back would empty, cut or rewrite the file.
    B().declaredBlocks(0).writeTo(f("noblocks.rom"));
    std::vector<uint8_t> zeros(65536, 0);
    zeros[0] = 0x55, zeros[1] = 0xAA, zeros[2] = 8;
    writeBytes(f("8blocks.rom"), zeros);
    B().fileSize(1000).writeTo(f("small.rom"));
    writeBytes(f("empty.rom"), {});
    writeBytes(f("ok.fnt"), std::vector<uint8_t>(6144, 0x11));
    writeBytes(f("old.rom"), {1, 2, 3});
    std::filesystem::create_directory(f("sub"));
    ASSERT_EQ(mkfifo(f("fifo").c_str(), 0644), 0);
    const auto before = folderState(dir.path());
    // A rename over a file gives it a new inode, even when it writes the same bytes.
    const auto inodes = [&] {
        std::map<std::string, ino_t> nodes;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            struct stat st {};
            ::lstat(entry.path().c_str(), &st);
            nodes[entry.path().string()] = st.st_ino;
        }
        return nodes;
    };
    const auto inodesBefore = inodes();

    const std::string missing = f("missing.rom"), out = f("old.rom");
    const std::vector<std::string> edit = {"edit", missing, "-o", out};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.begin(), edit.begin(), edit.end());
        return args;
    };
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string part;  // of the line after "vorlane-cli: "
    };
    const std::vector<Case> cases = {
        {{}, 2, "command"},
        {{"frob", f("ok.rom")}, 2, "frob"},
        {{"--bogus"}, 2, "--bogus"},
        {{"info"}, 2, "FILE"},
        {{"info", "--in-place", f("ok.rom")}, 2, "--in-place"},
        {{"edit", missing}, 2, "--in-place"},
        {{"edit", missing, "-o"}, 2, "-o"},
        {with({"--in-place"}), 2, "--in-place"},
        {with({"extra"}), 2, "extra"},
        {with({"--engine-feedback", "256"}), 2, "'256'"},
        {with({"--memory-feedback", "12a"}), 2, "'12a'"},
        {with({"--engine-feedback"}), 2, "--engine-feedback"},
        {with({"--engine-mhz", "0"}), 2, "--engine-mhz"},
        {with({"--memory-mhz", "fast"}), 2, "'fast'"},
        {with({"--engine-mhz", "300", "--engine-feedback", "5"}), 2, "--engine-mhz"},
        {with({"--memory-mhz", "300", "--memory-feedback", "5"}), 2, "--memory-mhz"},
        {with({"--tv", "secam"}), 2, "'secam'"},
        {with({"--subsystem", "12345"}), 2, "'12345'"},
        {with({"--subsystem-vendor", "xyz"}), 2, "'xyz'"},
        {with({"--builtin-font", "russian"}), 2, "'russian'"},
        {with({"--font-file", "a.fnt", "--builtin-font", "standard"}), 2, "--font-file"},
        {{"font-export", missing}, 2, "OUT is required"},
        {{"fix-checksum", missing, "--in-place", "-o", out}, 2, "--in-place"},
        {{"fix-checksum", "-", "--in-place"}, 2, "standard input"},
        {{"edit", "-", "--in-place", "--tv", "pal"}, 2, "standard input"},
        {{"info", "-", f("ok.rom"), "-"}, 2, "standard input"},

        {{"edit", missing, "--in-place"}, 3, missing + ": No such file or directory"},
        {{"edit", f("sub"), "--in-place"}, 3, f("sub") + ": Is a directory"},
        {{"font-export", f("fifo"), f("x.fnt")}, 3, f("fifo") + ": Not a regular file"},
        {{"fix-checksum", missing, "-o", out}, 3, missing + ": No such file or directory"},
        {{"edit", f("ok.rom"), "-o", out, "--font-file", f("no.fnt")}, 3, f("no.fnt") + ": No"},
        {{"edit", f("ok.rom"), "-o", f("no/x.rom")}, 3, f("no/x.rom") + ": No such file"},
        {{"edit", f("ok.rom"), "-o", f("sub")}, 3, f("sub") + ": Is a directory"},
        {{"font-export", f("ok.rom"), f("no/x.fnt")}, 3, f("no/x.fnt") + ": No such file"},
        {{"fix-checksum", f("ok.rom"), "-o", f("no/x.rom")}, 3, f("no/x.rom") + ": No such"},

        {{"edit", f("sum.rom"), "--in-place"}, 1, "status 6, Error N6 - CheckSum Error!"},
        {{"edit", f("sum.rom"), "-o", out, "--tv", "pal"}, 1, "status 6"},
        {{"edit", f("notv.rom"), "--in-place", "--tv", "pal"}, 1, "--tv"},
        {{"edit", f("tv0.rom"), "-o", out, "--tv", "ntsc"}, 1, "--tv"},
        {{"edit", f("notv.rom"), "-o", out, "--tv", "pal", "--font-file", f("no.fnt")}, 1, "--tv"},
        {{"edit", f("novendor.rom"), "--in-place", "--subsystem", "1"}, 1, "vendor ID is 0"},
        {{"edit", f("novendor.rom"), "-o", out, "--subsystem-vendor", "1"}, 1, "vendor ID is 0"},
        {{"edit", f("nofont.rom"), "--in-place", "--font-file", f("ok.fnt")}, 1, "not located"},
        {{"edit", f("nofont.rom"), "-o", out, "--builtin-font", "standard"}, 1, "not located"},
        // Byte 1 is 2.25 MHz and byte 255 573.75 MHz: these lie 1.25 MHz beyond, over half a step.
        {{"edit", f("ok.rom"), "--in-place", "--engine-mhz", "1.0"}, 1, "--engine-mhz"},
        {{"edit", f("ok.rom"), "-o", out, "--memory-mhz", "575"}, 1, "--memory-mhz"},
        {{"font-export", f("nofont.rom"), f("x.fnt")}, 1, "fonts are not located"},
        {{"font-export", f("sum.rom"), f("x.fnt")}, 1, "status 6"},
        {{"fix-checksum", f("noblocks.rom"), "--in-place"},
         1,
         "status 4, Error N4 - Bios non ATI: no Radeon 7000 to 9800 BIOS"},
        {{"fix-checksum", f("8blocks.rom"), "--in-place"}, 1, "status 4"},
        {{"fix-checksum", f("small.rom"), "-o", out},
         1,
         "status 1, Error N1 - Error size of file: no Radeon"},
        {{"fix-checksum", f("empty.rom"), "--in-place"}, 1, "status 1"},
        {{"fix-checksum", "-", "-o", out}, 1, "status 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        const std::string start = c.exitCode == 1 ? c.args[1] + ": refused: " : "";
        EXPECT_EQ(r.err.rfind("vorlane-cli: " + start, 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.part), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("--help") != std::string::npos, c.exitCode == 2) << r.err;
        EXPECT_EQ(inodes(), inodesBefore);
    }
    EXPECT_EQ(folderState(dir.path()), before);
}

}  // namespace
}  // namespace vorlane::test
