// The characters the 256 codes of a VGA text font stand for, in the two code pages the built-in
// font sets follow.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vorlane {

enum class CodePage { Cp437 = 437, Cp866 = 866 };

// 437 or 866; anything else is no code page of ours.
std::optional<CodePage> codePageFromNumber(int number);

// Code -> Unicode for all 256 codes, as codePageCharacter gives them.
const std::array<char32_t, 256>& codePageTable(CodePage page);

// The code that shows `character` in `page`, if any.
std::optional<int> codeOf(CodePage page, char32_t character);

// The Unicode character `code` shows: 0x00 is U+0000, 0x01-0x1F and 0x7F the PC's graphic
// characters (the same in both pages), 0x20-0x7E ASCII, 0x80-0xFF the page's own characters.
char32_t codePageCharacter(CodePage page, uint8_t code);

// The same as UTF-8; empty for 0x00, which stands for nothing that can be shown.
std::string codePageText(CodePage page, uint8_t code);

}  // namespace vorlane
