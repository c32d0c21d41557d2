// Kit-internal: the paint context's surface on Windows, a device context. A paint handler is given
//   PaintSurface surface(dc);
//   PaintContext context(surface);
#pragma once

#include "dialogkit/win32/Win32.h"

#include <vector>

#include "dialogkit/PaintContext.h"

namespace vorlane::dk {

class PaintSurface {
  public:
    explicit PaintSurface(HDC target) : dc(target) {}
    ~PaintSurface() { releaseImage(); }
    PaintSurface(const PaintSurface&) = delete;
    PaintSurface& operator=(const PaintSurface&) = delete;

    void releaseImage() {
        if (imageDc != nullptr) {
            SelectObject(imageDc, previous);
            DeleteDC(imageDc);
            imageDc = nullptr;
        }
        if (image != nullptr) {
            DeleteObject(image);
            image = nullptr;
        }
    }

    HDC dc;
    // The image of a pending fill once a pixel has been set on it: a top-down 32-bit DIB section
    // selected into its own memory DC.
    HBITMAP image = nullptr;
    HDC imageDc = nullptr;
    HGDIOBJ previous = nullptr;
    // Single pixels off the fill, all of one colour.
    std::vector<POINT> points;
};

}  // namespace vorlane::dk
