#include "dialogkit/win32/BitGrid.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "dialogkit/PaintContext.h"
#include "dialogkit/win32/GdiPaint.h"
#include "dialogkit/win32/Messages.h"

namespace vorlane::dk {

namespace {

constexpr int kColumns = 8;
constexpr Rgb kLineColour{64, 64, 64};

struct Grid {
    HWND window = nullptr;
    std::vector<uint8_t> rows;
    Rgb lit{255, 255, 255};
    Rgb unlit{0, 0, 0};
    Point cursor;
    // A drag exists only from a press on a cell; lastCell is empty while the pointer is off the
    // grid, so leaving and coming back does not draw across.
    bool dragging = false;
    bool dragValue = false;
    std::optional<Point> lastCell;

    SIZE size() const {
        RECT r{};
        GetClientRect(window, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    int rowCount() const { return static_cast<int>(rows.size()); }
    // Cell plus one line, in pixels.
    int pitch() const {
        if (rows.empty()) {
            return 0;
        }
        const SIZE s = size();
        return std::max(2, std::min(static_cast<int>(s.cx - 1) / kColumns,
                                    static_cast<int>(s.cy - 1) / rowCount()));
    }
    POINT origin() const {
        const int p = pitch();
        const SIZE s = size();
        return POINT{(s.cx - (p * kColumns + 1)) / 2, (s.cy - (p * rowCount() + 1)) / 2};
    }
    RECT cellRect(int column, int row) const {
        const int p = pitch();
        const POINT o = origin();
        const int left = o.x + column * p + 1;
        const int top = o.y + row * p + 1;
        return RECT{left, top, left + p - 1, top + p - 1};
    }
    std::optional<Point> cellAt(int x, int y) const {
        const int p = pitch();
        if (p == 0) {
            return std::nullopt;
        }
        const POINT o = origin();
        const int ax = x - o.x;
        const int ay = y - o.y;
        if (ax < 0 || ay < 0 || ax / p >= kColumns || ay / p >= rowCount()) {
            return std::nullopt;
        }
        return Point{ax / p, ay / p};
    }
    bool bit(Point cell) const { return (rows[cell.y] & (0x80 >> cell.x)) != 0; }
    void setBit(Point cell, bool on) {
        uint8_t& row = rows[cell.y];
        const auto mask = static_cast<uint8_t>(0x80 >> cell.x);
        row = on ? static_cast<uint8_t>(row | mask) : static_cast<uint8_t>(row & ~mask);
    }
    void changed() {
        InvalidateRect(window, nullptr, FALSE);
        SendMessageW(GetParent(window), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(window), kBitGridChanged),
                     reinterpret_cast<LPARAM>(window));
    }
    // A fast drag reports points cells apart; the cells between them were passed all the same.
    void dragLine(Point from, Point to) {
        const int dx = std::abs(to.x - from.x);
        const int dy = -std::abs(to.y - from.y);
        const int sx = from.x < to.x ? 1 : -1;
        const int sy = from.y < to.y ? 1 : -1;
        Point at = from;
        for (int error = dx + dy;;) {
            setBit(at, dragValue);
            if (at == to) {
                break;
            }
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                at.x += sx;
            }
            if (twice <= dx) {
                error += dx;
                at.y += sy;
            }
        }
    }
};

Grid* gridOf(HWND window) {
    return isBitGrid(window) ? reinterpret_cast<Grid*>(GetWindowLongPtrW(window, GWLP_USERDATA))
                             : nullptr;
}

Rgb rgbOf(COLORREF c) {
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

// A solid block through the paint context's batch of pixels, so that it lands in the image of the
// fill beneath it rather than ending that fill.
void fillBlock(PaintContext& dc, int x, int y, int width, int height, Rgb colour) {
    for (int row = y; row < y + height; ++row) {
        for (int left = x; left < x + width; left += 8) {
            const int count = std::min(8, x + width - left);
            dc.SetPixelRow(left, row, static_cast<uint8_t>(0xFF00 >> count), colour);
        }
    }
}

void paint(Grid& g, HDC target) {
    const int p = g.pitch();
    if (p == 0) {
        return;
    }
    PaintSurface surface(target);
    PaintContext dc(surface);
    const POINT o = g.origin();
    dc.FillSolidRect(Rect{o.x, o.y, o.x + p * kColumns + 1, o.y + p * g.rowCount() + 1},
                     kLineColour);
    for (int row = 0; row < g.rowCount(); ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const RECT cell = g.cellRect(column, row);
            fillBlock(dc, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top,
                      g.bit(Point{column, row}) ? g.lit : g.unlit);
        }
    }
    if (GetFocus() == g.window) {
        // Two pixels wide, over the lines around the cell and its own edge, so that it shows on
        // a lit cell and on a dark one.
        const Rgb mark = rgbOf(GetSysColor(COLOR_HIGHLIGHT));
        RECT c = g.cellRect(g.cursor.x, g.cursor.y);
        InflateRect(&c, 1, 1);
        const int w = c.right - c.left;
        const int h = c.bottom - c.top;
        fillBlock(dc, c.left, c.top, w, 2, mark);
        fillBlock(dc, c.left, c.bottom - 2, w, 2, mark);
        fillBlock(dc, c.left, c.top, 2, h, mark);
        fillBlock(dc, c.right - 2, c.top, 2, h, mark);
    }
}

bool keyDown(Grid& g, WPARAM key) {
    const int lastRow = g.rowCount() - 1;
    if (lastRow < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 ||
        GetKeyState(VK_SHIFT) < 0) {
        return false;
    }
    Point next = g.cursor;
    switch (key) {
        case VK_LEFT:
            next.x -= 1;
            break;
        case VK_RIGHT:
            next.x += 1;
            break;
        case VK_UP:
            next.y -= 1;
            break;
        case VK_DOWN:
            next.y += 1;
            break;
        case VK_SPACE:
            g.setBit(g.cursor, !g.bit(g.cursor));
            g.changed();
            return true;
        default:
            return false;
    }
    g.cursor = Point{std::clamp(next.x, 0, kColumns - 1), std::clamp(next.y, 0, lastRow)};
    InvalidateRect(g.window, nullptr, FALSE);
    return true;
}

LRESULT CALLBACK gridProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Grid* g = reinterpret_cast<Grid*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE: {
            auto* created = new Grid;
            created->window = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
            break;
        }
        case WM_NCDESTROY:
            delete g;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_ERASEBKGND:
            return 1;  // the background is painted with the rest, without a flash between
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            PAINTSTRUCT ps{};
            HDC dc = message == WM_PAINT ? BeginPaint(window, &ps) : reinterpret_cast<HDC>(wParam);
            RECT client{};
            GetClientRect(window, &client);
            HWND parent = GetParent(window);
            auto brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(window)));
            FillRect(dc, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
            if (g != nullptr) {
                paint(*g, dc);
            }
            if (message == WM_PAINT) {
                EndPaint(window, &ps);
            }
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(window, nullptr, FALSE);
            break;
        case WM_LBUTTONDOWN: {
            if (g == nullptr) {
                break;
            }
            if (GetFocus() != window) {
                SetFocus(window);
            }
            const std::optional<Point> cell = g->cellAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (!cell) {
                break;
            }
            SetCapture(window);
            g->cursor = *cell;
            g->dragging = true;
            g->dragValue = !g->bit(*cell);
            g->lastCell = cell;
            g->setBit(*cell, g->dragValue);
            g->changed();
            return 0;
        }
        case WM_MOUSEMOVE: {
            if (g == nullptr || !g->dragging || (wParam & MK_LBUTTON) == 0) {
                break;
            }
            const std::optional<Point> cell = g->cellAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (cell && cell != g->lastCell) {
                g->dragLine(g->lastCell.value_or(*cell), *cell);
                g->cursor = *cell;
                g->changed();
            }
            g->lastCell = cell;
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (g != nullptr) {
                g->dragging = false;
            }
            if (message == WM_LBUTTONUP && GetCapture() == window) {
                ReleaseCapture();
            }
            break;
        case WM_KEYDOWN:
            if (g != nullptr && keyDown(*g, wParam)) {
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L' ') {
                return 0;  // taken by WM_KEYDOWN
            }
            break;
        case kBitGridCellRect: {
            const int column = LOWORD(wParam);
            const int row = HIWORD(wParam);
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (g == nullptr || out == nullptr || column >= kColumns || row >= g->rowCount() ||
                g->pitch() == 0) {
                return FALSE;
            }
            *out = g->cellRect(column, row);
            return TRUE;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void registerBitGridClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = gridProcedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = kBitGridClass;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

bool isBitGrid(HWND window) {
    wchar_t name[32] = {};
    return window != nullptr && IsWindow(window) && GetClassNameW(window, name, 32) > 0 &&
           lstrcmpW(name, kBitGridClass) == 0;
}

void setBitGridRows(HWND grid, std::vector<uint8_t> rows) {
    if (Grid* g = gridOf(grid)) {
        g->rows = std::move(rows);
        g->cursor.y = std::clamp(g->cursor.y, 0, std::max(0, g->rowCount() - 1));
        g->dragging = false;
        InvalidateRect(grid, nullptr, FALSE);
    }
}

std::vector<uint8_t> bitGridRows(HWND grid) {
    const Grid* g = gridOf(grid);
    return g != nullptr ? g->rows : std::vector<uint8_t>{};
}

void setBitGridColours(HWND grid, Rgb lit, Rgb unlit) {
    if (Grid* g = gridOf(grid)) {
        g->lit = lit;
        g->unlit = unlit;
        InvalidateRect(grid, nullptr, FALSE);
    }
}

Point bitGridCursor(HWND grid) {
    const Grid* g = gridOf(grid);
    return g != nullptr ? g->cursor : Point{};
}

}  // namespace vorlane::dk
