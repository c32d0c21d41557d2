// `pad` as a script sees it: the exact bytes it writes, and what it refuses without writing.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/cli/CliRunner.h"

namespace vorlane::test {
namespace {

using B = RomBuilder;

TEST(CliPad, WritesTheFileThenErasedBytesAndRefusesWhatDoesNotFitOrIsNoBios) {
    TempDir dir;
    const auto f = [&](const std::string& name) { return dir.file(name); };
    B().writeTo(f("64k.rom"));
    B().fileSize(32768).declaredBlocks(64).writeTo(f("32k.rom"));
    B().checksum(B::Checksum::Broken).writeTo(f("sum.rom"));  // status 6: padded as it is
    writeBytes(f("noise"), std::vector<uint8_t>(20000, 0x13));
    B().fileSize(16383).writeTo(f("small.rom"));
    std::vector<uint8_t> big = B().build();
    big.resize(2 * 1024 * 1024, 0x13);
    writeBytes(f("2m.bin"), big);
    B().fileSize(1048576 + 1).writeTo(f("mib+1.rom"));
    struct Case {
        std::string file;  // "-" reads `input`
        std::string chipSize;
        int exitCode;
        size_t outSize;   // when written
        std::string err;  // the whole of standard error
        std::string input = "/dev/null";
    };
    const std::vector<Case> cases = {
        {f("32k.rom"), "64K", 0, 65536, ""},
        {f("32k.rom"), "32768", 0, 32768, ""},  // exactly the chip's size: unchanged
        {f("sum.rom"), "128k", 0, 131072, ""},
        {"-", "65536", 0, 65536, "", f("32k.rom")},
        {f("64k.rom"), "32K", 1, 0,
         "vorlane-cli: " + f("64k.rom") +
             ": refused: the file is 65536 bytes, the chip holds 32768\n"},
        {f("noise"), "64K", 1, 0,
         "vorlane-cli: " + f("noise") +
             ": refused: status 2, Error N2 - Bios non ATI: not a BIOS of this family\n"},
        {f("small.rom"), "64K", 1, 0, ""},
        // Standard input is not read past the chip: its count is never given.
        {"-", "32K", 1, 0,
         "vorlane-cli: -: refused: the file is more than 32768 bytes, the chip holds 32768\n",
         f("64k.rom")},
        {"-", "64K", 1, 0,
         "vorlane-cli: -: refused: the file is more than 65536 bytes, the chip holds 65536\n",
         f("2m.bin")},
        {"-", "1048576", 1, 0, "", f("mib+1.rom")},  // one byte past the chip is read too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + c.chipSize);
        std::filesystem::remove(f("out.rom"));
        const CliResult r =
            runCli({"pad", c.file, "--chip-size", c.chipSize, "-o", f("out.rom")}, "", c.input);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_EQ(r.out, "");
        if (c.exitCode != 0) {
            EXPECT_FALSE(std::filesystem::exists(f("out.rom")));
            EXPECT_EQ(std::ranges::count(r.err, '\n'), 1) << r.err;
            if (!c.err.empty()) {
                EXPECT_EQ(r.err, c.err);
            }
            continue;
        }
        EXPECT_EQ(r.err, "");
        const auto in = readBytes(c.file == "-" ? c.input : c.file);
        const auto out = readBytes(f("out.rom"));
        ASSERT_EQ(out.size(), c.outSize);
        EXPECT_TRUE(std::equal(in.begin(), in.end(), out.begin()));  // checksum byte included
        EXPECT_TRUE(
            std::all_of(out.begin() + in.size(), out.end(), [](uint8_t b) { return b == 0xFF; }));
    }

    // Over the file itself; a padded image is then fit for its chip, without trailing bytes.
    ASSERT_EQ(runCli({"pad", f("32k.rom"), "--chip-size", "64K", "--in-place"}).exitCode, 0);
    EXPECT_EQ(readBytes(f("32k.rom")).size(), 65536u);
    EXPECT_EQ(runCli({"check", "--chip-size", "64K", f("32k.rom")}).out, f("32k.rom") + ": ok\n");
    // Up to the largest chip, whose image check reads whole: no trailing bytes of pad's own.
    for (const char* size : {"128K", "2097152", "16777216"}) {
        ASSERT_EQ(runCli({"pad", f("64k.rom"), "--chip-size", size, "-o", f("chip.bin")}).exitCode,
                  0);
        EXPECT_EQ(runCli({"check", "--chip-size", size, f("chip.bin")}).out,
                  f("chip.bin") + ": ok\n");
        EXPECT_EQ(runCli({"check", f("chip.bin")}).out, f("chip.bin") + ": ok\n");
    }

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"pad", f("64k.rom"), "-o", f("out.rom")},
             {"pad", f("64k.rom"), "--chip-size", "64K"},
             {"pad", f("64k.rom"), "--chip-size", "64KB", "-o", f("out.rom")},
             {"pad", "-", "--chip-size", "64K", "--in-place"},
             {"pad", f("64k.rom"), "--chip-size", "16777217", "-o", f("out.rom")},
             {"pad", f("64k.rom"), "--chip-size", "4294967295", "-o", f("out.rom")}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args) << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos);
        // The limit is named, where it is what was crossed.
        if (args[2] == "--chip-size" && args[3].size() > 8) {
            EXPECT_NE(r.err.find("16777216"), std::string::npos) << r.err;
        }
    }
}

#ifndef _WIN32
// Through a real pipe, where the descriptor has no size: only the bytes read tell it.
TEST(CliPad, StandardInputThroughAPipeIsSizedByWhatWasRead) {
    TempDir dir;
    B().writeTo(dir.file("64k.rom"));
    const std::string command = "cat '" + dir.file("64k.rom") + "' | '" + VORLANE_CLI_PATH +
                                "' pad - --chip-size 32K -o '" + dir.file("out.rom") +
                                "' 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.rom")));
}
#endif

}  // namespace
}  // namespace vorlane::test
