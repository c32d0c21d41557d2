// The characters the 256 codes of a VGA text font stand for, in the two code pages the built-in
// font sets follow.
#pragma once

#include <cstdint>
#include <string>

namespace vorlane {

enum class CodePage { Cp437 = 437, Cp866 = 866 };

// The Unicode character `code` shows: 0x00 is U+0000, 0x01-0x1F and 0x7F the PC's graphic
// characters (the same in both pages), 0x20-0x7E ASCII, 0x80-0xFF the page's own characters.
char32_t codePageCharacter(CodePage page, uint8_t code);

// The same as UTF-8; empty for 0x00, which stands for nothing that can be shown.
std::string codePageText(CodePage page, uint8_t code);

}  // namespace vorlane
