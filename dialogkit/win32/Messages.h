// Kit-internal: the private messages of the kit's own window classes, which the backend and its
// test driver both send.
#pragma once

#include "dialogkit/win32/Win32.h"

namespace vorlane::dk {

// The window class of the bit grid control.
inline constexpr wchar_t kBitGridClass[] = L"VorlaneBitGrid";

// To a bit grid: wParam MAKEWPARAM(column, row), lParam a RECT* that receives the cell in the
// grid's client coordinates, without the lines around it. Returns TRUE when the cell exists.
inline constexpr UINT kBitGridCellRect = WM_APP + 0x100;

}  // namespace vorlane::dk
