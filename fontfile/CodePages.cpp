#include "fontfile/CodePages.h"

#include <algorithm>
#include <utility>

namespace vorlane::fontfile {

namespace {

// What a VGA text screen shows for the control codes and for 0x7F, whatever the code page.
constexpr char32_t kGraphics[32] = {
    0x0000, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,  // 00-07
    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,  // 08-0F
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,  // 10-17
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,  // 18-1F
};
constexpr char32_t kHouse = 0x2302;  // 7F

// Box drawing and shades, 0xB0-0xDF, shared by both pages.
constexpr char32_t kBoxDrawing[48] = {
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0-B7
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8-BF
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0-C7
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8-CF
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0-D7
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8-DF
};

// Code page 437, 0x80-0xAF and 0xE0-0xFF.
constexpr char32_t k437Low[48] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80-87
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88-8F
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90-97
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 98-9F
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0-A7
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8-AF
};
constexpr char32_t k437High[32] = {
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0-E7
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8-EF
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0-F7
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8-FF
};

// Code page 866: А-Я and а-п at 0x80-0xAF, р-я at 0xE0-0xEF, then these.
constexpr char32_t k866Tail[16] = {
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,  // F0-F7
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,  // F8-FF
};

using Table = std::array<char32_t, 256>;

constexpr Table commonPart() {
    Table t{};
    for (int c = 0; c < 32; ++c) {
        t[c] = kGraphics[c];
    }
    for (int c = 0x20; c < 0x7F; ++c) {
        t[c] = static_cast<char32_t>(c);
    }
    t[0x7F] = kHouse;
    for (int i = 0; i < 48; ++i) {
        t[0xB0 + i] = kBoxDrawing[i];
    }
    return t;
}

constexpr Table make437() {
    Table t = commonPart();
    for (int i = 0; i < 48; ++i) {
        t[0x80 + i] = k437Low[i];
    }
    for (int i = 0; i < 32; ++i) {
        t[0xE0 + i] = k437High[i];
    }
    return t;
}

constexpr Table make866() {
    Table t = commonPart();
    for (int i = 0; i < 48; ++i) {
        t[0x80 + i] = 0x0410 + static_cast<char32_t>(i);
    }
    for (int i = 0; i < 16; ++i) {
        t[0xE0 + i] = 0x0440 + static_cast<char32_t>(i);
        t[0xF0 + i] = k866Tail[i];
    }
    return t;
}

constexpr Table k437 = make437();
constexpr Table k866 = make866();

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

}  // namespace vorlane::fontfile
