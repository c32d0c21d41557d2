// The writing commands of vorlane-cli: edit, font-export and fix-checksum, run as processes.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <numeric>

#include "BuiltinFonts.h"
#include "CliRunner.h"
#include "RomBuilder.h"

namespace vorlane::test {
namespace {

using Json = nlohmann::json;

Json infoOf(const std::string& path) {
    const CliResult r = runCli({"info", "--json", "--skip-checksum", path});
    EXPECT_EQ(r.err, "");
    const auto lines = r.jsonLines();
    return lines.empty() ? Json() : lines[0];
}

uint8_t sumOf(const std::vector<uint8_t>& bytes) {
    return static_cast<uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u));
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void expectOneLine(const CliResult& r, const std::string& start) {
    const auto lines = r.errLines();
    ASSERT_EQ(lines.size(), 1u) << r.err;
    EXPECT_EQ(lines[0].rfind(start, 0), 0u) << lines[0];
}

TEST(CliEdit, RoundTripOfEveryEditThroughInfo) {
    TempDir dir;
    const std::string in = dir.file("in.rom");
    const std::string out = dir.file("out.rom");
    RomBuilder().writeTo(in);
    const auto original = readBytes(in);

    const CliResult r = runCli({"edit", in, "-o", out, "--engine-mhz", "300", "--memory-feedback",
                                "200", "--tv", "pal", "--subsystem-vendor", "0x1234", "--subsystem",
                                "BEEF", "--builtin-font", "cyrillic"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(readBytes(in), original);
    const auto written = readBytes(out);
    EXPECT_EQ(written.size(), 65536u);
    EXPECT_EQ(sumOf(written), 0);

    Json j = infoOf(out);
    EXPECT_EQ(j["status"], 0);
    EXPECT_EQ(j["engineFeedback"], 133);  // 299.25 MHz is nearer 300 than 301.50
    EXPECT_EQ(j["engineClock"], "299.25");
    EXPECT_EQ(j["memoryFeedback"], 200);
    EXPECT_EQ(j["memoryClock"], "450.00");
    EXPECT_EQ(j["tvStandard"], 2);
    EXPECT_EQ(j["subsystemVendorId"], 0x1234);
    EXPECT_EQ(j["subsystemId"], 0xBEEF);
    EXPECT_EQ(j["cyrillicFont"], true);

    const CliResult back =
        runCli({"edit", out, "--in-place", "--builtin-font", "standard", "--tv", "ntsc"});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    j = infoOf(out);
    EXPECT_EQ(j["status"], 0);
    EXPECT_EQ(j["cyrillicFont"], false);
    EXPECT_EQ(j["tvStandard"], 1);
    EXPECT_EQ(j["engineFeedback"], 133);
    EXPECT_EQ(j["subsystemId"], 0xBEEF);
}

TEST(CliEdit, WhatIsNotGivenKeepsItsValue) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("in.rom"));
    ASSERT_EQ(runCli({"edit", dir.file("in.rom"), "-o", dir.file("a.rom"), "--engine-feedback", "7",
                      "--subsystem", "42"})
                  .exitCode,
              0);
    const Json j = infoOf(dir.file("a.rom"));
    EXPECT_EQ(j["engineFeedback"], 7);
    EXPECT_EQ(j["memoryFeedback"], 0x5A);
    EXPECT_EQ(j["subsystemVendorId"], 0x1002);
    EXPECT_EQ(j["subsystemId"], 0x42);
    EXPECT_EQ(j["tvStandard"], 1);

    // No EDIT option at all still saves, with the checksum fixed and nothing else changed.
    RomBuilder().checksum(RomBuilder::Checksum::Broken).writeTo(dir.file("sum.rom"));
    ASSERT_EQ(
        runCli({"edit", dir.file("sum.rom"), "--skip-checksum", "-o", dir.file("b.rom")}).exitCode,
        0);
    auto before = readBytes(dir.file("sum.rom"));
    const auto after = readBytes(dir.file("b.rom"));
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(sumOf(after), 0);
    before.back() = after.back();
    EXPECT_EQ(after, before);
}

TEST(CliEdit, ClocksInMHzTakeTheNearestByteWithinHalfAStep) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("in.rom"));  // a step of 2.25 MHz: byte 1 is 2.25, 255 is 573.75
    const auto engineFor = [&](const std::string& mhz) -> Json {
        const std::string out = dir.file("out" + mhz + ".rom");
        const CliResult r = runCli({"edit", dir.file("in.rom"), "-o", out, "--engine-mhz", mhz});
        if (r.exitCode != 0) {
            EXPECT_EQ(r.exitCode, 1);
            expectOneLine(r, "vorlane-cli: " + dir.file("in.rom") + ": refused: --engine-mhz");
            EXPECT_FALSE(std::filesystem::exists(out));
            return nullptr;
        }
        return infoOf(out)["engineFeedback"];
    };
    EXPECT_EQ(engineFor("1.2"), 1);
    EXPECT_EQ(engineFor("1.0"), nullptr);  // 1.25 below byte 1
    EXPECT_EQ(engineFor("574.8"), 255);
    EXPECT_EQ(engineFor("575"), nullptr);  // 1.25 above byte 255
    EXPECT_EQ(engineFor("226"), 100);
    EXPECT_EQ(engineFor("226.2"), 101);
}

TEST(CliEdit, FontsAreReplacedBeforeTheClockBytesAreRead) {
    TempDir dir;
    // An 8x16 font that covers the clock record: the byte left unnamed is the font's.
    RomBuilder()
        .fontSequences({{RomBuilder::kFontSequence, {RomBuilder::kFont8x8, 0x0400}}})
        .writeTo(dir.file("in.rom"));
    const size_t memoryAt = RomBuilder::kClockRecord + 0x26;
    const uint8_t fontByte = kStandardFont8x16[memoryAt - 0x0400];
    ASSERT_NE(fontByte, 0x5A);
    ASSERT_EQ(runCli({"edit", dir.file("in.rom"), "-o", dir.file("out.rom"), "--builtin-font",
                      "standard", "--engine-feedback", "5"})
                  .exitCode,
              0);
    const auto out = readBytes(dir.file("out.rom"));
    EXPECT_EQ(out[memoryAt + 1], 5);
    EXPECT_EQ(out[memoryAt], fontByte);
}

TEST(CliEdit, RefusalsExitOneAndWriteNothing) {
    TempDir dir;
    RomBuilder().checksum(RomBuilder::Checksum::Broken).writeTo(dir.file("sum.rom"));
    RomBuilder().tvOffset(0).writeTo(dir.file("notv.rom"));
    RomBuilder().tvByte7(0x30).writeTo(dir.file("tv0.rom"));
    RomBuilder().subsystemVendorId(0).writeTo(dir.file("novendor.rom"));
    RomBuilder().noFontSequence().writeTo(dir.file("nofont.rom"));
    RomBuilder().writeTo(dir.file("ok.rom"));
    writeBytes(dir.file("ok.fnt"), std::vector<uint8_t>(6144, 0x11));
    writeBytes(dir.file("old.rom"), {1, 2, 3});

    struct Case {
        std::string file;
        std::vector<std::string> edits;
        std::string reasonPart;
    };
    const std::vector<Case> cases = {
        {"sum.rom", {}, "status 6, Error N6 - CheckSum Error!"},
        {"sum.rom", {"--tv", "pal"}, "status 6"},  // validation comes before the table
        {"notv.rom", {"--tv", "pal"}, "--tv"},
        {"tv0.rom", {"--tv", "ntsc"}, "--tv"},
        // A refusal comes before the font file is read, missing as it is.
        {"notv.rom", {"--tv", "pal", "--font-file", dir.file("missing.fnt")}, "--tv"},
        {"novendor.rom", {"--subsystem", "1"}, "subsystem vendor ID is 0"},
        {"novendor.rom", {"--subsystem-vendor", "1002"}, "subsystem vendor ID is 0"},
        {"nofont.rom", {"--font-file", dir.file("ok.fnt")}, "fonts are not located"},
        {"nofont.rom", {"--builtin-font", "standard"}, "fonts are not located"},
        {"ok.rom", {"--memory-mhz", "1000"}, "--memory-mhz"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(c.file);
        const auto before = readBytes(path);
        for (const bool inPlace : {false, true}) {
            std::vector<std::string> args = {"edit", path};
            if (inPlace) {
                args.push_back("--in-place");
            } else {
                args.insert(args.end(), {"-o", dir.file("old.rom")});
            }
            args.insert(args.end(), c.edits.begin(), c.edits.end());
            const CliResult r = runCli(args);
            EXPECT_EQ(r.exitCode, 1) << c.file << " " << c.reasonPart;
            expectOneLine(r, "vorlane-cli: " + path + ": refused: ");
            EXPECT_NE(r.err.find(c.reasonPart), std::string::npos) << r.err;
            EXPECT_EQ(readBytes(path), before);
            EXPECT_EQ(readBytes(dir.file("old.rom")), (std::vector<uint8_t>{1, 2, 3}));
        }
    }
    EXPECT_EQ(folderEntries(dir.path()).size(), 8u);  // no output, no temporary file
}

TEST(CliEdit, FileErrorsExitThreeWithTheSystemsReason) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("ok.rom"));
    const std::string ok = dir.file("ok.rom");
    std::filesystem::create_directory(dir.file("sub"));
    const auto entries = folderEntries(dir.path());

    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"edit", dir.file("missing.rom"), "--in-place"},
         dir.file("missing.rom") + ": No such file or directory"},
        {{"edit", dir.file("sub"), "--in-place"}, dir.file("sub") + ": Is a directory"},
        {{"edit", ok, "-o", dir.file("out.rom"), "--font-file", dir.file("none.fnt")},
         dir.file("none.fnt") + ": No such file or directory"},
        {{"edit", ok, "-o", dir.file("no/out.rom")},
         dir.file("no/out.rom") + ": No such file or directory"},
        {{"edit", ok, "-o", dir.file("sub")}, dir.file("sub") + ": Is a directory"},
        {{"font-export", ok, dir.file("no/out.fnt")},
         dir.file("no/out.fnt") + ": No such file or directory"},
        {{"font-export", dir.file("missing.rom"), dir.file("out.fnt")},
         dir.file("missing.rom") + ": No such file or directory"},
        {{"fix-checksum", ok, "-o", dir.file("no/out.rom")},
         dir.file("no/out.rom") + ": No such file or directory"},
        {{"fix-checksum", dir.file("missing.rom"), "--in-place"},
         dir.file("missing.rom") + ": No such file or directory"},
    };
    for (const auto& [args, line] : cases) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 3) << line;
        EXPECT_EQ(r.err, "vorlane-cli: " + line + "\n");
    }
    EXPECT_EQ(folderEntries(dir.path()), entries);
    EXPECT_TRUE(folderEntries(dir.file("sub")).empty());
}

TEST(CliEdit, AFolderWithoutWritePermissionIsAFileError) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not stop root";
    }
    TempDir dir;
    RomBuilder().writeTo(dir.file("ok.rom"));
    std::filesystem::create_directory(dir.file("sub"));
    ASSERT_EQ(chmod(dir.file("sub").c_str(), 0555), 0);
    const CliResult r = runCli({"edit", dir.file("ok.rom"), "-o", dir.file("sub/out.rom")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "vorlane-cli: " + dir.file("sub/out.rom") + ": Permission denied\n");
    EXPECT_TRUE(folderEntries(dir.file("sub")).empty());
}

TEST(CliFontExport, WritesBothFontsOfAValidImage) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("ok.rom"));
    ASSERT_EQ(runCli({"font-export", dir.file("ok.rom"), dir.file("ok.fnt")}).exitCode, 0);
    const auto font = readBytes(dir.file("ok.fnt"));
    ASSERT_EQ(font.size(), 6144u);
    for (size_t i = 0; i < 2048; ++i) {
        ASSERT_EQ(font[i], RomBuilder::defaultFont8x8Byte(i)) << i;
    }
    for (size_t i = 0; i < 4096; ++i) {
        ASSERT_EQ(font[2048 + i], RomBuilder::defaultFont8x16Byte(i)) << i;
    }

    // A Cyrillic set exported from one image and read into another is recognised there.
    ASSERT_EQ(
        runCli({"edit", dir.file("ok.rom"), "-o", dir.file("ru.rom"), "--builtin-font", "cyrillic"})
            .exitCode,
        0);
    ASSERT_EQ(runCli({"font-export", dir.file("ru.rom"), dir.file("ru.fnt")}).exitCode, 0);
    ASSERT_EQ(runCli({"edit", dir.file("ok.rom"), "-o", dir.file("b.rom"), "--font-file",
                      dir.file("ru.fnt")})
                  .exitCode,
              0);
    EXPECT_EQ(infoOf(dir.file("b.rom"))["cyrillicFont"], true);

    RomBuilder().noFontSequence().writeTo(dir.file("nofont.rom"));
    RomBuilder().checksum(RomBuilder::Checksum::Broken).writeTo(dir.file("sum.rom"));
    for (const std::string bad : {"nofont.rom", "sum.rom"}) {
        const CliResult r = runCli({"font-export", dir.file(bad), dir.file("x.fnt")});
        EXPECT_EQ(r.exitCode, 1) << bad;
        expectOneLine(r, "vorlane-cli: " + dir.file(bad) + ": refused: ");
        EXPECT_FALSE(std::filesystem::exists(dir.file("x.fnt")));
    }
    EXPECT_EQ(
        runCli({"font-export", dir.file("sum.rom"), dir.file("x.fnt"), "--skip-checksum"}).exitCode,
        0);
    EXPECT_EQ(readBytes(dir.file("x.fnt")), font);
}

TEST(CliFixChecksum, SavesLengthBytesWhateverTheStatus) {
    TempDir dir;
    RomBuilder().checksum(RomBuilder::Checksum::Broken).writeTo(dir.file("sum.rom"));
    RomBuilder().atiText(" 761295521").writeTo(dir.file("notati.rom"));
    RomBuilder()
        .declaredBlocks(0x40)
        .checksum(RomBuilder::Checksum::Broken)
        .writeTo(dir.file("half.rom"));
    RomBuilder().fileSize(1000).writeTo(dir.file("small.rom"));

    const std::vector<std::pair<std::string, size_t>> cases = {
        {"sum.rom", 65536}, {"notati.rom", 65536}, {"half.rom", 32768}, {"small.rom", 1000}};
    for (const auto& [name, length] : cases) {
        const auto before = readBytes(dir.file(name));
        const CliResult r = runCli({"fix-checksum", dir.file(name), "-o", dir.file("out.rom")});
        EXPECT_EQ(r.exitCode, 0) << name << r.err;
        EXPECT_EQ(r.out + r.err, "");
        const auto out = readBytes(dir.file("out.rom"));
        ASSERT_EQ(out.size(), length) << name;
        EXPECT_EQ(sumOf(out), 0) << name;
        EXPECT_TRUE(std::equal(out.begin(), out.end() - 1, before.begin())) << name;
    }
    EXPECT_EQ(infoOf(dir.file("out.rom"))["status"], 1);

    ASSERT_EQ(runCli({"fix-checksum", dir.file("sum.rom"), "--in-place"}).exitCode, 0);
    EXPECT_EQ(infoOf(dir.file("sum.rom"))["status"], 0);
    EXPECT_EQ(runCli({"info", dir.file("sum.rom")}).exitCode, 0);
}

}  // namespace
}  // namespace vorlane::test
