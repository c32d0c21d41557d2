// The characters the codes of a VGA text screen stand for.
#pragma once

#include <cstdint>

namespace vorlane {

// The Unicode character that `code` shows in code page 437: U+0000 for 0, the IBM PC's graphic
// characters for 0x01 to 0x1F and 0x7F (U+263A to U+2302), ASCII for 0x20 to 0x7E, and the code
// page's own letters, lines and symbols for 0x80 to 0xFF (0xFF is U+00A0).
char32_t cp437Character(uint8_t code);

}  // namespace vorlane
