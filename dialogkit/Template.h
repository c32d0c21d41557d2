// Dialog templates as data: what a dialog and each of its controls look like, in dialog units.
//
// Tables of these read like the resource templates they come from; each backend realizes them
// as its own windows and controls. Template order is tab order.
#pragma once

#include <cstdint>
#include <span>

namespace vorlane::dk {

enum class ControlKind : uint8_t {
    PushButton,
    DefPushButton,  // the dialog's default button: Enter anywhere presses it
    AutoCheckBox,   // toggles itself before its click handler runs
    Edit,
    ComboBox,  // drop-down list; the height is that of the opened list
    GroupBox,
    Static,
    StaticFrame,  // a plain rectangle; its client rect is what painting code maps
    Icon,         // shows the dialog's resource icon at its natural size
    UpDown,       // arrow pair with a range and a position, optionally writing into a buddy
    BitGrid,      // 8 cells a row, one bit each, edited by mouse and keys; reports Change
};

// Control styles. One flag set for all kinds; each flag is read only by the kinds it concerns.
enum ControlStyle : uint32_t {
    kNoStyle = 0,
    kTabStop = 1u << 0,
    kGroup = 1u << 1,
    kStaticEdge = 1u << 3,    // thin sunken edge
    kCentre = 1u << 4,        // text centred horizontally
    kRight = 1u << 5,         // text right-aligned
    kVCentre = 1u << 6,       // text centred vertically (check boxes)
    kReadOnly = 1u << 7,      // edits
    kUpperCase = 1u << 8,     // edits: every text shown, set or typed, in upper case
    kLeftText = 1u << 9,      // check boxes: text left of the box
    kFlat = 1u << 10,         // check boxes
    kHorz = 1u << 12,         // up-down: arrows point left and right
    kArrowKeys = 1u << 13,    // up-down: arrow keys step it
    kAutoBuddy = 1u << 14,    // up-down: the control before it in template order is its buddy
    kSetBuddyInt = 1u << 15,  // up-down: the position is written into the buddy as an integer
    kWhiteFrame = 1u << 16,   // static frames
    kTransparent = 1u << 17,  // static frames: the dialog's painting shows through
    kCentreTitle = 1u << 18,  // group boxes
    kMultiLine = 1u << 19,    // edits: several lines that do not wrap, scrolled as needed
    kFixedPitch = 1u << 20,   // edits: a fixed-pitch font, so that columns of text line up
};

constexpr ControlStyle operator|(ControlStyle a, ControlStyle b) {
    return static_cast<ControlStyle>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}

// Dialog styles.
enum DialogStyle : uint32_t {
    kNoDialogStyle = 0,
    kModalFrame = 1u << 0,
    kCaption = 1u << 1,
    kSysMenu = 1u << 2,
    kMinimizeBox = 1u << 3,
    kMaximizeBox = 1u << 4,
    kAppWindow = 1u << 5,  // shown in the task bar
};

constexpr DialogStyle operator|(DialogStyle a, DialogStyle b) {
    return static_cast<DialogStyle>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;  // dialog units
    ControlStyle style = kNoStyle;
    int iconId = 0;  // icon controls: the registered icon shown
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontName;
    int fontPoints;
    int cx, cy;  // client size in dialog units
    DialogStyle style;
    std::span<const ControlTemplate> controls;
};

// A key sequence ("Ctrl+O") that presses push button `id` while its dialog is active.
struct ButtonShortcut {
    int id;
    const char* keys;
};

// The static text that labels a control without text of its own, as screen readers name the
// control: the nearest one ending just left of it on the same line, or just above it in the same
// column. Null when there is none.
const ControlTemplate* labelFor(const ControlTemplate& control,
                                std::span<const ControlTemplate> controls);

// Dialog units to pixels with the dialog font's base units, 6 x 13, rounded to nearest the way
// the classic MulDiv(v, base, 4 or 8) does. Positions and sizes convert independently.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
constexpr int dluToPixelsX(int dlu) {
    return (dlu * kBaseUnitX + 2) / 4;
}
constexpr int dluToPixelsY(int dlu) {
    return (dlu * kBaseUnitY + 4) / 8;
}

}  // namespace vorlane::dk
