// The writing commands of vorlane-cli: edit, font-export and fix-checksum, run as processes.
// Their refusals and failures are in CliProcessTest's table of failures.
#include <gtest/gtest.h>

#include "image/BuiltinFonts.h"
#include "tests/cli/CliRunner.h"

namespace vorlane::test {
namespace {

using B = RomBuilder;

void expectInfo(const std::string& path, const std::vector<std::pair<std::string, Json>>& fields) {
    const Json j = infoOf(path);
    for (const auto& [key, value] : fields) {
        EXPECT_EQ(j[key], value) << key;
    }
}

TEST(CliEdit, RoundTripOfEveryEditThroughInfo) {
    TempDir dir;
    const std::string in = dir.file("in.rom"), out = dir.file("out.rom");
    B().writeTo(in);
    const auto original = readBytes(in);
    // The output is replaced by a new file, never written through: a hard link keeps the old one.
    writeBytes(out, {1, 2, 3});
    std::filesystem::create_hard_link(out, dir.file("link.rom"));

    CliResult r = runCli({"edit", in, "-o", out, "--engine-mhz", "300", "--tv", "pal",
                          "--subsystem", "BEEF", "--builtin-font", "cyrillic"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "vorlane-cli: " + out + ": note: 1 other name (hard link) keeps the old image\n");
    EXPECT_EQ(readBytes(in), original);
    EXPECT_EQ(readBytes(dir.file("link.rom")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(readBytes(out).size(), 65536u);
    // 299.25 MHz is nearer 300 than 301.50; what is not given keeps its value.
    expectInfo(out, {{"status", 0},
                     {"engineFeedback", 133},
                     {"engineClock", "299.25"},
                     {"memoryFeedback", 0x5A},
                     {"tvStandard", 2},
                     {"subsystemVendorId", 0x1002},
                     {"subsystemId", 0xBEEF},
                     {"cyrillicFont", true}});

    r = runCli({"edit", out, "--in-place", "--memory-feedback", "200", "--subsystem-vendor",
                "0x1234", "--builtin-font", "standard", "--tv", "ntsc"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    expectInfo(out, {{"status", 0},
                     {"engineFeedback", 133},
                     {"memoryFeedback", 200},
                     {"memoryClock", "450.00"},
                     {"tvStandard", 1},
                     {"subsystemVendorId", 0x1234},
                     {"subsystemId", 0xBEEF},
                     {"cyrillicFont", false}});

    // No EDIT option at all still saves, with the checksum fixed and nothing else changed.
    B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
    auto before = readBytes(dir.file("sum.rom"));
    ASSERT_EQ(runCli({"edit", dir.file("sum.rom"), "--skip-checksum", "--in-place"}).exitCode, 0);
    const auto after = readBytes(dir.file("sum.rom"));
    EXPECT_EQ(byteSum(after), 0);
    ASSERT_EQ(after.size(), before.size());
    before.back() = after.back();
    EXPECT_EQ(after, before);
    EXPECT_EQ(folderState(dir.path()).size(), 4u);  // no temporary file left behind
}

TEST(CliEdit, FontsAreReplacedBeforeTheClockBytesAreRead) {
    TempDir dir;
    // An 8x16 font that covers the clock record: the byte left unnamed is the font's.
    B().fontSequences({{B::kFontSequence, {B::kFont8x8, 0x0400}}}).writeTo(dir.file("in.rom"));
    const size_t memoryAt = B::kClockRecord + 0x26;
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

TEST(CliFontExport, WritesBothFontsThatReadBackAsTheSameSet) {
    TempDir dir;
    const auto f = [&](const std::string& name) { return dir.file(name); };
    B().writeTo(f("ok.rom"));
    B().checksum(B::Checksum::Broken).writeTo(f("sum.rom"));
    ASSERT_EQ(runCli({"font-export", f("sum.rom"), f("ok.fnt"), "--skip-checksum"}).exitCode, 0);
    const auto font = readBytes(f("ok.fnt"));
    ASSERT_EQ(font.size(), 6144u);
    for (size_t i = 0; i < font.size(); ++i) {
        ASSERT_EQ(font[i], i < 2048 ? B::defaultFont8x8Byte(i) : B::defaultFont8x16Byte(i - 2048))
            << i;
    }

    // A Cyrillic set exported from one image and read into another is recognised there.
    ASSERT_EQ(
        runCli({"edit", f("ok.rom"), "-o", f("ru.rom"), "--builtin-font", "cyrillic"}).exitCode, 0);
    ASSERT_EQ(runCli({"font-export", f("ru.rom"), f("ru.fnt")}).exitCode, 0);
    ASSERT_EQ(runCli({"edit", f("ok.rom"), "--in-place", "--font-file", f("ru.fnt")}).exitCode, 0);
    EXPECT_EQ(infoOf(f("ok.rom"))["cyrillicFont"], true);
}

// Every status where a BIOS of this family was recognised; the others are refused (see the
// failures' table).
TEST(CliFixChecksum, SavesLengthBytesOfEveryRecognisedBios) {
    TempDir dir;
    B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
    B().declaredBlocks(0x40).checksum(B::Checksum::Broken).writeTo(dir.file("half.rom"));
    B().pllOffset(0).writeTo(dir.file("nopll.rom"));
    B().clockRecordAt(std::nullopt).writeTo(dir.file("noclock.rom"));
    for (const auto& [name, length] :
         std::vector<std::pair<std::string, size_t>>{{"sum.rom", 65536},
                                                     {"half.rom", 32768},
                                                     {"nopll.rom", 65536},
                                                     {"noclock.rom", 65536}}) {
        const auto before = readBytes(dir.file(name));
        const CliResult r = runCli({"fix-checksum", dir.file(name), "-o", dir.file("out.rom")});
        EXPECT_EQ(r.exitCode, 0) << name << r.err;
        EXPECT_EQ(r.out + r.err, "");
        const auto out = readBytes(dir.file("out.rom"));
        ASSERT_EQ(out.size(), length) << name;
        EXPECT_EQ(byteSum(out), 0) << name;
        EXPECT_TRUE(std::equal(out.begin(), out.end() - 1, before.begin())) << name;
    }
    ASSERT_EQ(runCli({"fix-checksum", dir.file("sum.rom"), "--in-place"}).exitCode, 0);
    EXPECT_EQ(runCli({"info", dir.file("sum.rom")}).exitCode, 0);
}

}  // namespace
}  // namespace vorlane::test
