#include "image/CodePages.h"

#include <algorithm>
#include <array>
#include <utility>

#include "image/Text.h"

namespace vorlane {

namespace {

using Table = std::array<char32_t, 256>;

// 0x00-0x1F, then 0x7F: what a VGA text screen shows for the control codes in either page.
constexpr char32_t kGraphics[] = U"\u0000☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼";
// 0xB0-0xDF: shades and box drawing, shared by both pages.
constexpr char32_t kBoxes[] = U"░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀";
// Code page 437 at 0x80-0xAF and 0xE0-0xFF (0xFF is the no-break space).
constexpr char32_t k437Low[] = U"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»";
constexpr char32_t k437High[] = U"αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";
// Code page 866 at 0xF0-0xFF; 0x80-0xAF and 0xE0-0xEF are the Cyrillic alphabet in order.
constexpr char32_t k866Tail[] = U"ЁёЄєЇїЎў°∙·√№¤■\u00A0";

static_assert(std::size(kGraphics) == 32 + 1 && std::size(kBoxes) == 48 + 1);
static_assert(std::size(k437Low) == 48 + 1 && std::size(k437High) == 32 + 1);
static_assert(std::size(k866Tail) == 16 + 1);

constexpr Table makeTable(CodePage page) {
    Table t{};
    for (int c = 0; c < 0x20; ++c) {
        t[c] = kGraphics[c];
    }
    for (int c = 0x20; c < 0x7F; ++c) {
        t[c] = static_cast<char32_t>(c);
    }
    t[0x7F] = U'⌂';
    for (int i = 0; i < 48; ++i) {
        t[0xB0 + i] = kBoxes[i];
    }
    for (int i = 0; i < 48; ++i) {
        t[0x80 + i] = page == CodePage::Cp866 ? U'А' + i : k437Low[i];
    }
    for (int i = 0; i < 32; ++i) {
        t[0xE0 + i] =
            page == CodePage::Cp866 ? (i < 16 ? U'р' + i : k866Tail[i - 16]) : k437High[i];
    }
    return t;
}

constexpr Table k437 = makeTable(CodePage::Cp437);
constexpr Table k866 = makeTable(CodePage::Cp866);

// (character, code), sorted by character, for the reverse look-up.
using ReverseTable = std::array<std::pair<char32_t, int>, 256>;

ReverseTable reversed(const Table& table) {
    ReverseTable r{};
    for (int c = 0; c < 256; ++c) {
        r[c] = {table[c], c};
    }
    std::ranges::sort(r);
    return r;
}

}  // namespace

std::optional<CodePage> codePageFromNumber(int number) {
    switch (number) {
        case 437:
            return CodePage::Cp437;
        case 866:
            return CodePage::Cp866;
        default:
            return std::nullopt;
    }
}

const std::array<char32_t, 256>& codePageTable(CodePage page) {
    return page == CodePage::Cp866 ? k866 : k437;
}

std::optional<int> codeOf(CodePage page, char32_t character) {
    static const ReverseTable reverse437 = reversed(k437);
    static const ReverseTable reverse866 = reversed(k866);
    const ReverseTable& r = page == CodePage::Cp866 ? reverse866 : reverse437;
    const auto it = std::ranges::lower_bound(r, character, {}, &std::pair<char32_t, int>::first);
    if (it == r.end() || it->first != character) {
        return std::nullopt;
    }
    return it->second;
}

char32_t codePageCharacter(CodePage page, uint8_t code) {
    return (page == CodePage::Cp866 ? k866 : k437)[code];
}

std::string codePageText(CodePage page, uint8_t code) {
    std::string text;
    if (code != 0) {
        appendUtf8(text, codePageCharacter(page, code));
    }
    return text;
}

}  // namespace vorlane
