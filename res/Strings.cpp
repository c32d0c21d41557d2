#include "res/Strings.h"

#include "dialogkit/Translation.h"

#include "res/Templates.h"
#include "res/resource.h"

#ifndef VORLANE_VERSION
#error "VORLANE_VERSION must be defined by the build"
#endif

namespace vorlane::res {

namespace {

// The strings are the source texts of the editor's translations (context "Vorlane"): the editor
// translates what it is given here.
constexpr const char* kHelpText = DK_TRANSLATE_NOOP(
    "Vorlane",
    "Vorlane edits the video BIOS images of Radeon 7000 to 9800 cards. It works on image files "
    "only and never touches the card.\n"
    "\n"
    "Load Bios (Ctrl+O): open a ROM image (*.rom, *.bin) and check it. An image that fails a "
    "check is reported. One with Error N1 to N4 is no Radeon BIOS of this family and cannot be "
    "saved; one with Error N5 to N7 can.\n"
    "MEM and Chip: step the memory and engine clocks with the arrows beside them or with the "
    "arrow keys.\n"
    "Synch clocks: keep both clocks at the engine clock.\n"
    "Standart TV: switch the TV output between NTSC and PAL.\n"
    "In File Check sum OFF: tick it before loading to accept an image whose checksum is wrong.\n"
    "Save Bios (Ctrl+S): write the image with a corrected checksum, to a regular file only (no "
    "device or pipe). A file that is replaced keeps its permissions.\n"
    "Font and SubSys: the text-mode fonts and the PCI subsystem IDs of the image. In the font "
    "window, a double-click on a glyph opens it for editing.\n"
    "\n"
    "Alt+Space or a right click on the window opens its menu with the About box and two reports "
    "on the image as Save Bios would write it: Compare with File (Ctrl+D) shows what differs "
    "from another image file, Check for Flashing (Ctrl+K) whether it fits a flash chip, and "
    "saves it padded to the chip's size.");

}  // namespace

std::string loadString(int id) {
    switch (id) {
        case IDS_ABOUTBOX:
            return DK_TRANSLATE_NOOP("Vorlane", "&About Vorlane_25...");
        case IDS_COMPARE:
            return DK_TRANSLATE_NOOP("Vorlane", "Co&mpare with File...\tCtrl+D");
        case IDS_CHECK:
            return DK_TRANSLATE_NOOP("Vorlane", "Chec&k for Flashing...\tCtrl+K");
        case IDS_HELP_TEXT:
            return kHelpText;
        case IDS_CAPTION:
            return DK_TRANSLATE_NOOP("Vorlane",
                                     "   %1     Vorlane for Radeon 7000/9800 - Version 2.5");
        default:
            return {};
    }
}

const DialogTemplate& dialogTemplate(int id) {
    switch (id) {
        case IDD_ABOUTBOX:
            return kAboutDialog;
        case IDD_FONT:
            return kFontDialog;
        case IDD_SUBSYS:
            return kSubsysDialog;
        case IDD_GLYPH:
            return kGlyphDialog;
        case IDD_COMPARE:
            return kCompareDialog;
        case IDD_CHECK:
            return kCheckDialog;
        default:
            return kMainDialog;
    }
}

const VersionBlock kVersionBlock{
    "The Vorlane authors",
    "Vorlane_25 MFC Application",
    "1, 0, 0, 1",
    "Vorlane_25",
    "Copyright (C) 2026 the Vorlane authors",
    "Vorlane_20.EXE",
    "Vorlane_20 Application",
    "1, 0, 0, 1",
};

const char* releaseVersion() {
    return VORLANE_VERSION;
}

// clang-format off
const char* const kIcon32[] = {
    "32 32 11 1",
    "  c None",
    ". c #000000",
    "G c #008000",
    "L c #00FF00",
    "R c #FF0000",
    "W c #FFFFFF",
    "Y c #FFFF00",
    "c c #008080",
    "g c #808080",
    "r c #800000",
    "w c #C0C0C0",
    "                                ",
    "                                ",
    "W                               ",
    "w                               ",
    "w.............................. ",
    "w.GGGGGGGGGGGGGGGGGGGGGGGGGGGG. ",
    "w.GGGGGGGGGGGGLLLLGGGGGGGGGGGG. ",
    "w.G....GGGGGGGGGGGGGGGGGG....G. ",
    "w.w....wGGGwGwGwGwGwGGGGw....w. ",
    "w.G....GGGGwGwGwGwGwGGGGG....G. ",
    "w.w....wGGggggggggggggGGw....w. ",
    "w.G....GwwgW.........gwwG....G. ",
    "w.GGGGGGGGg..........gGGGGGGGG. ",
    "w.GGGGGGwwg..WWWWWW..gwwGGGGGG. ",
    "w.GGGGGGGGg..WccccW..gGGGGGGGG. ",
    "w.G....Gwwg..WccccW..gwwG....G. ",
    "w.w....wGGg..WccccW..gGGw....w. ",
    "w.G....Gwwg..WccccW..gwwG....G. ",
    "w.w....wGGg..WWWWWW..gGGw....w. ",
    "w.G....Gwwg..........gwwG....G. ",
    "w.GGGGGGGGg..........gGGGGGGGG. ",
    "w.GGGGGGGGggggggggggggGGGGGGGG. ",
    "w.GGGGGGGGGwGwGwGwGwGGGGGGGGGG. ",
    "w.GGGGGGGGGwGwGwGwGwGGGGGGGRrG. ",
    "w.GGGGGGGGGGGGGGGGGGGGGGGGGrGG. ",
    "w.GGGGGGGGGGGGGGGGGGGGGGGGGGGG. ",
    "w.............................. ",
    "     .YGYGYGYGYGYGYGYGYGYG.     ",
    "     .YGYGYGYGYGYGYGYGYGYG.     ",
    "     ......................     ",
    "                                ",
    "                                ",
};

const char* const kIcon16[] = {
    "16 16 8 1",
    "  c None",
    ". c #000000",
    "G c #008000",
    "R c #FF0000",
    "W c #FFFFFF",
    "Y c #FFFF00",
    "c c #008080",
    "w c #C0C0C0",
    "                ",
    "                ",
    "................",
    ".GGGGGwwwwGGGGG.",
    "...GG......GGGG.",
    "...GG.W....GGGG.",
    ".GGGw..cc..wGGG.",
    ".GGGw..cc..wGGG.",
    ".GGGw..cc..wGGG.",
    ".GGGw......wG...",
    ".GGGG......GG...",
    ".GGGGGwwwwGGGGR.",
    "................",
    "   GYGYGYGYGG   ",
    "   ..........   ",
    "                ",
};
// clang-format on

}  // namespace vorlane::res
