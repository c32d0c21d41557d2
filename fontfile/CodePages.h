// The two code pages a text-mode font is laid out in here: which Unicode character each of the
// 256 codes shows on a VGA text screen.
#pragma once

#include <array>
#include <optional>

namespace vorlane::fontfile {

enum class CodePage { Cp437 = 437, Cp866 = 866 };

// 437 or 866; anything else is no code page of ours.
std::optional<CodePage> codePageFromNumber(int number);

// Code -> Unicode. 0x00 is U+0000; 0x01-0x1F and 0x7F are the IBM PC graphic characters, the
// same in both pages; 0x20-0x7E are ASCII; 0x80-0xFF are the page's own characters.
const std::array<char32_t, 256>& codePageTable(CodePage page);

// The code that shows `character` in `page`, if any.
std::optional<int> codeOf(CodePage page, char32_t character);

}  // namespace vorlane::fontfile
