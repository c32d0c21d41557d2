// Kit-internal: the bit grid control, a window class of the kit's own (kBitGridClass) painted with
// GDI through the paint context. A grid of cells 8 wide, one bit each, a row a byte with bit 7 the
// leftmost cell, in square cells as large as the control allows. A click toggles a cell; a drag
// sets every cell it passes to the value the first one took. The arrow keys move a cursor, shown
// while the grid has the focus, and Space toggles the cell under it. Each change by the user is
// reported to the parent as WM_COMMAND with kBitGridChanged; setting the rows from code reports
// nothing. It answers kBitGridCellRect (Messages.h).
#pragma once

#include "dialogkit/win32/Win32.h"

#include <cstdint>
#include <vector>

#include "dialogkit/Types.h"

namespace vorlane::dk {

// The notification code of a change by the user.
inline constexpr WORD kBitGridChanged = 0x0F00;

// Registers the class once; before the first dialog is created.
void registerBitGridClass();
bool isBitGrid(HWND window);

void setBitGridRows(HWND grid, std::vector<uint8_t> rows);
std::vector<uint8_t> bitGridRows(HWND grid);
void setBitGridColours(HWND grid, Rgb lit, Rgb unlit);
Point bitGridCursor(HWND grid);

}  // namespace vorlane::dk
