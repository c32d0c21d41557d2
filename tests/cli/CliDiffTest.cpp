// `diff` as a script sees it: the JSON object of the contract, the readable report and the exit
// codes. What the comparison finds is tested on the core.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <tuple>

#include "tests/cli/CliRunner.h"

namespace vorlane::test {
namespace {

using B = RomBuilder;

constexpr size_t kGlyphA = B::kFont8x16 + 0x41 * 16;
constexpr size_t kGlyphBox = B::kFont8x8 + 0xC9 * 8;

TEST(CliDiff, JsonObjectHasTheContractKeysAndTypes) {
    TempDir dir;
    B().writeTo(dir.file("a.rom"));
    B().referenceFrequency(2800)
        .deviceId(0x5446)
        .poke(kGlyphA, {0})
        .poke(kGlyphBox, {0})
        .writeTo(dir.file("b.rom"));
    const CliResult r = runCli({"diff", "--json", dir.file("a.rom"), dir.file("b.rom")});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    ASSERT_EQ(r.jsonLines().size(), 1u);
    const Json j = r.jsonLines()[0];
    const std::vector<std::pair<std::string, Json::value_t>> keys = {
        {"a", Json::value_t::string},          {"b", Json::value_t::string},
        {"identical", Json::value_t::boolean}, {"bytesDiffering", Json::value_t::number_unsigned},
        {"byteRanges", Json::value_t::array},  {"fields", Json::value_t::object},
        {"glyphs8x16", Json::value_t::array},  {"glyphs8x8", Json::value_t::array}};
    EXPECT_EQ(j.size(), keys.size());
    for (const auto& [key, type] : keys) {
        EXPECT_EQ(j[key].type(), type) << key;
    }
    EXPECT_EQ(j["a"], dir.file("a.rom"));
    EXPECT_FALSE(j["identical"]);
    int total = 0;
    for (const Json& range : j["byteRanges"]) {
        ASSERT_EQ(range.size(), 2u);
        total += range[1].get<int>();
    }
    EXPECT_EQ(j["bytesDiffering"], total);
    EXPECT_EQ(j["fields"]["deviceId"], Json::array({0x5159, 0x5446}));
    EXPECT_EQ(j["fields"]["stepClock"][0].get<double>(), 225.0);
    EXPECT_TRUE(j["fields"]["stepClock"][1].is_number_float());
    EXPECT_NE(r.out.find("\"stepClock\":[225.000000,"), std::string::npos) << r.out;
    EXPECT_EQ(j["glyphs8x16"], Json::array({0x41}));
    EXPECT_EQ(j["glyphs8x8"], Json::array({0xC9}));
}

TEST(CliDiff, ReadableReportAlignsFieldsAndSummarisesLongRangeLists) {
    TempDir dir;
    B().writeTo(dir.file("a.rom"));
    B b;
    for (size_t i = 0; i < 25; ++i) {
        b.poke(0x2000 + 16 * i, {0x77});
    }
    b.deviceId(0x5446).engineFeedback(0x70).poke(kGlyphA, {0}).poke(kGlyphBox, {0});
    b.writeTo(dir.file("b.rom"));
    const CliResult r = runCli({"diff", dir.file("a.rom"), dir.file("b.rom")});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    const auto lineWith = [&](const std::string& text) {
        const auto it = std::ranges::find_if(
            lines, [&](const std::string& l) { return l.find(text) != std::string::npos; });
        return it == lines.end() ? std::string() : *it;
    };
    EXPECT_NE(lineWith("deviceId").find("5159 "), std::string::npos) << r.out;
    EXPECT_NE(lineWith("deviceId").find(" 5446"), std::string::npos) << r.out;
    const std::string engine = lineWith("engineClock");
    EXPECT_NE(engine.find("216.00 MHz"), std::string::npos) << r.out;
    EXPECT_EQ(engine.find("216.00 MHz"), lineWith("deviceId").find("5159")) << r.out;
    EXPECT_NE(lineWith("8x16").find("0x41 A"), std::string::npos) << r.out;
    EXPECT_NE(lineWith("8x8").find("0xc9 \u2554"), std::string::npos) << r.out;
    const auto ranges =
        std::ranges::count_if(lines, [](const std::string& l) { return l.rfind("  0x", 0) == 0; });
    EXPECT_EQ(ranges, 20) << r.out;
    // 25 poked bytes, the two copies of the device ID, the feedback byte, two glyphs and the
    // checksum.
    EXPECT_EQ(lineWith("... and"), "  ... and 11 more ranges (11 bytes)") << r.out;
    EXPECT_EQ(lines.back().rfind("Differ: 33 bytes in 31 ranges; 3 fields;", 0), 0u) << r.out;
}

// The end of one line of the readable report for each kind of difference: how many bytes a range
// shows, how glyphs are listed and wrapped, how long texts are cut, how offsets are written.
TEST(CliDiff, ReadableReportLines) {
    TempDir dir;
    B().writeTo(dir.file("a.rom"));
    B nineGlyphs;
    for (const int code : {0x41, 0x43, 0x45, 0x47, 0x49, 0x4B, 0x4D, 0x4F, 0x51}) {
        nineGlyphs.poke(B::kFont8x16 + code * 16, {0});
    }
    const std::string text41 = "0123456789abcdefghij0123456789ABCDEFGHIJK";  // 41 characters
    const std::vector<std::tuple<const char*, B, std::string>> cases = {
        {"a range of 8 bytes shows them", B().poke(0x9000, {1, 2, 3, 4, 5, 6, 7, 8}),
         "  0x9000       8 bytes  00 00 00 00 00 00 00 00 -> 01 02 03 04 05 06 07 08"},
        {"two adjacent glyphs are no run", B().poke(kGlyphA, {0}).poke(kGlyphA + 16, {0}),
         "  8x16  2 differ: 0x41 A  0x42 B"},
        {"a line of exactly 80 columns is not wrapped", nineGlyphs,
         "  8x16  9 differ: 0x41 A  0x43 C  0x45 E  0x47 G  0x49 I  0x4b K  0x4d M  0x4f O"},
        {"a long text shows 40 characters", B().infoBytes(text41),
         "  \"" + text41.substr(0, 40) + "\"..."},
        {"the clock scan start is an offset", B().clockScanStart(0x0410).clockRecordAt(0x0413),
         "  clockScanStart          0x0400  0x0410"},
    };
    for (const auto& [name, builder, line] : cases) {
        SCOPED_TRACE(name);
        builder.writeTo(dir.file("b.rom"));
        const CliResult r = runCli({"diff", dir.file("a.rom"), dir.file("b.rom")});
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << r.out;
    }
}

TEST(CliDiff, ExitStatusDependsOnTheBytesAloneAndFilesThatCannotBeRead) {
    TempDir dir;
    const auto f = [&](const char* name) { return dir.file(name); };
    B().writeTo(f("a.rom"));
    B().tvByte7(2).writeTo(f("pal.rom"));
    B().poke(kGlyphA, {0}).writeTo(f("glyph.rom"));  // no info field differs
    const std::vector<uint8_t> noise = {0x13, 0x55, 0xAA, 0x00, 0x7E};
    writeBytes(f("noise"), noise);
    writeBytes(f("noise2"), noise);
    writeBytes(f("empty"), {});
    B().checksum(B::Checksum::Broken).writeTo(f("sum.rom"));
    B().checksum(B::Checksum::Broken).deviceId(0x5446).writeTo(f("sum2.rom"));
    std::filesystem::create_directory(f("dir"));
    ASSERT_EQ(mkfifo(f("fifo").c_str(), 0644), 0);
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;  // the start of standard error
    };
    const std::vector<Case> cases = {
        {{f("a.rom"), f("a.rom")}, 0, ""},
        {{f("noise"), f("noise2")}, 0, ""},
        {{f("empty"), f("empty")}, 0, ""},
        {{f("a.rom"), f("pal.rom")}, 1, ""},
        {{f("a.rom"), f("glyph.rom")}, 1, ""},
        {{f("empty"), f("noise")}, 1, ""},
        {{f("a.rom"), f("sum.rom")}, 1, ""},
        {{f("a.rom"), f("missing")}, 3, "vorlane-cli: " + f("missing") + ": No such file"},
        {{f("dir"), f("a.rom")}, 3, "vorlane-cli: " + f("dir") + ": Is a directory"},
        {{f("a.rom"), f("fifo")}, 3, "vorlane-cli: " + f("fifo") + ": Not a regular file"},
        {{f("a.rom")}, 2, "vorlane-cli: diff: B is required"},
        {{f("a.rom"), f("a.rom"), f("a.rom")}, 2, "vorlane-cli: unknown option"},
    };
    for (const Case& c : cases) {
        for (const bool json : {false, true}) {
            std::vector<std::string> args = {"diff"};
            if (json) {
                args.push_back("--json");
            }
            args.insert(args.end(), c.args.begin(), c.args.end());
            const CliResult r = runCli(args);
            SCOPED_TRACE(testing::PrintToString(args));
            EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
            EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
            EXPECT_EQ(r.err.empty(), c.err.empty());
            EXPECT_EQ(r.out.empty(), c.exitCode >= 2) << r.out;
        }
    }
    // --skip-checksum holds for both images: a broken byte sum then changes no status.
    const auto fields = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "diff");
        const auto lines = runCli(args).jsonLines();
        return lines.size() == 1 ? lines[0]["fields"] : Json();
    };
    EXPECT_TRUE(fields({"--json", f("a.rom"), f("sum.rom")}).contains("status"));
    EXPECT_EQ(fields({"--json", "--skip-checksum", f("sum.rom"), f("sum2.rom")}),
              Json::parse(R"({"deviceId": [20825, 21574]})"));
}

}  // namespace
}  // namespace vorlane::test
