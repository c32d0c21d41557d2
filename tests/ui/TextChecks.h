// What a person would see wrong in a dialog's texts: one cut off by its control, one left in
// English in a translated dialog.
#pragma once

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "dialogkit/TestDriver.h"

namespace vorlane::test {

// `texts` joined with "; ".
inline std::string joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& text : texts) {
        all += (all.empty() ? "" : "; ") + text;
    }
    return all;
}

// Texts wider or taller than the room their control gives them.
inline std::vector<std::string> clippedTexts(dk::WindowHandle window) {
    std::vector<std::string> clipped;
    for (const dk::driver::ShownText& t : dk::driver::shownTexts(window)) {
        if (t.text.empty()) {
            continue;
        }
        if (t.neededWidth > t.roomWidth || t.neededHeight > t.roomHeight) {
            clipped.push_back(t.text + " (needs " + std::to_string(t.neededWidth) + " x " +
                              std::to_string(t.neededHeight) + ", has " +
                              std::to_string(t.roomWidth) + " x " + std::to_string(t.roomHeight) +
                              ")");
        }
    }
    return clipped;
}

// Whether UTF-8 `text` holds a letter of the Cyrillic blocks (U+0400 to U+052F).
inline bool hasCyrillic(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if ((lead >= 0xD0 && lead <= 0xD3) || (lead == 0xD4 && next < 0xB0)) {
            return true;
        }
    }
    return false;
}

// The window's title and the texts of its labels, buttons and group boxes that are English: no
// Cyrillic letter, and a word that is not one of the names and identifiers every language keeps.
inline std::vector<std::string> englishTexts(dk::WindowHandle window) {
    static const std::vector<std::string> kept{"OK",  "NTSC", "PAL", "BIOS",  "Vorlane",
                                               "ID",  "PCI",  "KiB", "ROM",   "VGA",
                                               "PNG", "ATI",  "MHz", "Radeon"};
    static const std::regex word("[A-Za-z]{2,}");
    std::vector<std::string> texts{dk::driver::caption(window)};
    for (const dk::driver::ShownText& t : dk::driver::shownTexts(window)) {
        texts.push_back(t.text);
    }
    std::vector<std::string> english;
    for (const std::string& text : texts) {
        if (hasCyrillic(text)) {
            continue;
        }
        for (auto m = std::sregex_iterator(text.begin(), text.end(), word);
             m != std::sregex_iterator(); ++m) {
            if (std::find(kept.begin(), kept.end(), m->str()) == kept.end()) {
                english.push_back(text);
                break;
            }
        }
    }
    return english;
}

}  // namespace vorlane::test
