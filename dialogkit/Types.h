// Plain values shared by the dialog kit and the dialogs built on it: command and control IDs,
// message-box and file-dialog flags, rectangles and colours. No Qt types, so dialog code that only
// needs these stays free of them.
#pragma once

#include <cstdint>

namespace vorlane::dk {

// A window or control as the backend made it, opaque to everything above the backend, the way a
// classic window handle is: code that only passes windows around names no toolkit. Null is no
// window.
struct WindowObject;
using WindowHandle = WindowObject*;

// Commands the kit itself sends.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;   // a control nobody reaches by ID
inline constexpr int ID_HELP = 0xE146;  // the help command (F1)

// System commands; an application's own items stay below 0xF000.
inline constexpr int SC_MINIMIZE = 0xF020;
inline constexpr int SC_MAXIMIZE = 0xF030;
inline constexpr int SC_CLOSE = 0xF060;

// Message-box types and results.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_TYPEMASK = 0xF;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONMASK = 0xF0;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// File-dialog flags.
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x2;
inline constexpr unsigned OFN_HIDEREADONLY = 0x4;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;

// Menu item flags.
inline constexpr unsigned MF_STRING = 0x0;
inline constexpr unsigned MF_SEPARATOR = 0x800;

// A rectangle as left, top, right, bottom; right and bottom lie just outside it.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb RGB(uint8_t r, uint8_t g, uint8_t b) {
    return Rgb{r, g, b};
}

}  // namespace vorlane::dk
