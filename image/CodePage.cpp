#include "image/CodePage.h"

namespace vorlane {

namespace {

constexpr char32_t kLow[] = U"\u0000☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼";
constexpr char32_t kHigh[] =
    U"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
    U"└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";
static_assert(sizeof kLow / sizeof kLow[0] == 0x20 + 1);
static_assert(sizeof kHigh / sizeof kHigh[0] == 0x80 + 1);

}  // namespace

char32_t cp437Character(uint8_t code) {
    if (code < 0x20) {
        return kLow[code];
    }
    if (code == 0x7F) {
        return U'\u2302';
    }
    return code < 0x80 ? char32_t{code} : kHigh[code - 0x80];
}

}  // namespace vorlane
