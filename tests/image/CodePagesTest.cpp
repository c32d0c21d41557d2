// The characters of code pages 437 and 866: each page's 255 shown codes are 255 different
// characters, and the ends of each block sit where the pages put them.
#include <gtest/gtest.h>

#include <set>

#include "image/CodePages.h"

namespace vorlane {
namespace {

TEST(CodePages, EachCodeHasItsOwnCharacterAtThePagesPlaces) {
    for (CodePage page : {CodePage::Cp437, CodePage::Cp866}) {
        std::set<char32_t> seen;
        for (int code = 1; code < 256; ++code) {
            seen.insert(codePageCharacter(page, static_cast<uint8_t>(code)));
        }
        EXPECT_EQ(seen.size(), 255u) << static_cast<int>(page);
        EXPECT_EQ(seen.count(U'\0'), 0u);
    }
    const std::tuple<CodePage, uint8_t, const char*> cases[] = {
        {CodePage::Cp437, 0x00, ""},  {CodePage::Cp437, 0x1F, "▼"},
        {CodePage::Cp437, 0x41, "A"}, {CodePage::Cp437, 0x7F, "⌂"},
        {CodePage::Cp437, 0x80, "Ç"}, {CodePage::Cp437, 0xAF, "»"},
        {CodePage::Cp437, 0xB0, "░"}, {CodePage::Cp437, 0xDF, "▀"},
        {CodePage::Cp437, 0xE0, "α"}, {CodePage::Cp437, 0xFE, "■"},
        {CodePage::Cp866, 0x80, "А"}, {CodePage::Cp866, 0xAF, "п"},
        {CodePage::Cp866, 0xDB, "█"}, {CodePage::Cp866, 0xE0, "р"},
        {CodePage::Cp866, 0xEF, "я"}, {CodePage::Cp866, 0xF1, "ё"},
        {CodePage::Cp866, 0xFC, "№"}, {CodePage::Cp866, 0xFF, "\u00A0"},
    };
    for (const auto& [page, code, text] : cases) {
        EXPECT_EQ(codePageText(page, code), text) << static_cast<int>(page) << ' ' << int{code};
    }
}

}  // namespace
}  // namespace vorlane
