#include "dialogkit/PaintContext.h"

#include "dialogkit/Icon.h"
#include "dialogkit/win32/GdiPaint.h"
#include "dialogkit/win32/Win32Icon.h"

namespace vorlane::dk {

namespace {

// An image larger than this is not worth its memory; its pixels go the slow way.
constexpr int64_t kMaxCanvasPixels = 4096 * 4096;

COLORREF colourRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

bool inside(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

PaintContext::PaintContext(PaintSurface& surface) : surface_(surface) {}

PaintContext::~PaintContext() {
    flush();
}

void PaintContext::flush() {
    if (pixels_ != nullptr) {
        BitBlt(surface_.dc, canvas_.left, canvas_.top, canvas_.width(), canvas_.height(),
               surface_.imageDc, 0, 0, SRCCOPY);
    } else if (fillPending_) {
        const RECT r{fill_.left, fill_.top, fill_.right, fill_.bottom};
        // The solid background of an empty text: a fill without a brush to make and free.
        const COLORREF old = SetBkColor(surface_.dc, colourRef(fillColour_));
        ExtTextOutW(surface_.dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
        SetBkColor(surface_.dc, old);
    }
    fillPending_ = false;
    canvasRefused_ = false;
    pixels_ = nullptr;
    surface_.releaseImage();
    // Never on the fill: a point there would have gone into its image.
    for (const POINT& p : surface_.points) {
        SetPixelV(surface_.dc, p.x, p.y, colourRef(pointColour_));
    }
    surface_.points.clear();
}

void PaintContext::FillSolidRect(const Rect& rect, Rgb colour) {
    flush();
    fillPending_ = true;
    fill_ = rect;
    fillColour_ = colour;
}

bool PaintContext::makeCanvas() {
    const int64_t area = int64_t{fill_.width()} * fill_.height();
    if (fill_.width() <= 0 || fill_.height() <= 0 || area > kMaxCanvasPixels) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = fill_.width();
    info.bmiHeader.biHeight = -fill_.height();  // top-down, as the canvas rows run
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    surface_.image = CreateDIBSection(surface_.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (surface_.image == nullptr || bits == nullptr) {
        surface_.releaseImage();
        return false;
    }
    surface_.imageDc = CreateCompatibleDC(surface_.dc);
    if (surface_.imageDc == nullptr) {
        surface_.releaseImage();
        return false;
    }
    surface_.previous = SelectObject(surface_.imageDc, surface_.image);
    canvas_ = fill_;
    pixels_ = static_cast<uint32_t*>(bits);
    stride_ = fill_.width();
    const uint32_t value = opaque(fillColour_);
    for (int64_t i = 0; i < area; ++i) {
        pixels_[i] = value;
    }
    return true;
}

void PaintContext::setPixelsSlowly(int x, int y, uint8_t bits, Rgb colour) {
    for (int j = 0; j < 8; ++j) {
        if ((bits & (0x80 >> j)) == 0) {
            continue;
        }
        const int px = x + j;
        if (pixels_ == nullptr && fillPending_ && !canvasRefused_ && inside(fill_, px, y)) {
            canvasRefused_ = !makeCanvas();
        }
        if (onCanvas(px, y, 1)) {
            canvasRow(y)[px - canvas_.left] = opaque(colour);
            continue;
        }
        if (!surface_.points.empty() && !(colour == pointColour_)) {
            flush();
        }
        pointColour_ = colour;
        surface_.points.push_back(POINT{px, y});
    }
}

void PaintContext::DrawIcon(int x, int y, const Icon& icon) {
    flush();
    if (HICON native = nativeIcon(icon, 32)) {
        DrawIconEx(surface_.dc, x, y, native, 32, 32, 0, nullptr, DI_NORMAL);
    }
}

}  // namespace vorlane::dk
