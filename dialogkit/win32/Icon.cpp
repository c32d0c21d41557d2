#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogkit/win32/Win32Icon.h"

namespace vorlane::dk {

namespace {

HICON makeIcon(const IconPixels& xpm) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = xpm.width;
    header.bV5Height = -xpm.height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (colour == nullptr || bits == nullptr) {
        return nullptr;
    }
    std::memcpy(bits, xpm.argb.data(), xpm.argb.size() * sizeof(uint32_t));
    // The mask is required even though the alpha channel decides: set where transparent.
    const int stride = ((xpm.width + 15) / 16) * 2;
    std::vector<uint8_t> maskBits(static_cast<size_t>(stride) * xpm.height, 0);
    for (int y = 0; y < xpm.height; ++y) {
        for (int x = 0; x < xpm.width; ++x) {
            if ((xpm.argb[static_cast<size_t>(y) * xpm.width + x] >> 24) == 0) {
                maskBits[static_cast<size_t>(y) * stride + x / 8] |=
                    static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    HBITMAP mask = CreateBitmap(xpm.width, xpm.height, 1, 1, maskBits.data());
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

}  // namespace

HICON nativeIcon(const Icon& icon, int size) {
    if (icon.isNull()) {
        return nullptr;
    }
    // Icons are a handful of constant images registered at start-up, so the cache stays small.
    static std::map<std::pair<std::vector<const char* const*>, int>, HICON> made;
    const auto key = std::make_pair(icon.images(), size);
    if (const auto found = made.find(key); found != made.end()) {
        return found->second;
    }
    std::optional<IconPixels> best;
    for (const char* const* image : icon.images()) {
        std::optional<IconPixels> xpm = decodeXpm(image);
        if (!xpm) {
            continue;
        }
        const bool fits = xpm->width >= size;
        const bool bestFits = best && best->width >= size;
        if (!best || (fits && (!bestFits || xpm->width < best->width)) ||
            (!fits && !bestFits && xpm->width > best->width)) {
            best = std::move(xpm);
        }
    }
    HICON native = best ? makeIcon(*best) : nullptr;
    made[key] = native;
    return native;
}

}  // namespace vorlane::dk
