#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogkit/win32/Win32Icon.h"

namespace vorlane::dk {

namespace {

struct Xpm {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // row by row, top first; alpha 0 where the image has None
};

std::optional<uint32_t> colourValue(const std::string& spec) {
    if (spec == "None" || spec == "none") {
        return 0u;
    }
    if (spec.size() == 7 && spec[0] == '#') {
        return 0xFF000000u | static_cast<uint32_t>(std::strtoul(spec.c_str() + 1, nullptr, 16));
    }
    return std::nullopt;
}

// The subset of XPM the kit's icons use: "W H colours chars", colour lines of the "c" key with
// #RRGGBB or None, then the rows.
std::optional<Xpm> parseXpm(const char* const* lines) {
    Xpm xpm;
    int colours = 0;
    int perPixel = 0;
    if (lines == nullptr ||
        std::sscanf(lines[0], "%d %d %d %d", &xpm.width, &xpm.height, &colours, &perPixel) != 4 ||
        xpm.width <= 0 || xpm.height <= 0 || perPixel <= 0 || colours <= 0) {
        return std::nullopt;
    }
    std::map<std::string, uint32_t> palette;
    for (int i = 0; i < colours; ++i) {
        const std::string line = lines[1 + i];
        if (line.size() < static_cast<size_t>(perPixel)) {
            return std::nullopt;
        }
        const std::string key = line.substr(0, static_cast<size_t>(perPixel));
        const size_t c = line.find(" c ", static_cast<size_t>(perPixel) - 1);
        if (c == std::string::npos) {
            return std::nullopt;
        }
        std::string spec = line.substr(c + 3);
        spec.erase(0, spec.find_first_not_of(' '));
        spec.erase(spec.find_last_not_of(' ') + 1);
        const std::optional<uint32_t> value = colourValue(spec);
        if (!value) {
            return std::nullopt;
        }
        palette[key] = *value;
    }
    xpm.argb.reserve(static_cast<size_t>(xpm.width) * xpm.height);
    for (int y = 0; y < xpm.height; ++y) {
        const char* row = lines[1 + colours + y];
        if (std::strlen(row) < static_cast<size_t>(xpm.width * perPixel)) {
            return std::nullopt;
        }
        for (int x = 0; x < xpm.width; ++x) {
            const auto found =
                palette.find(std::string(row + x * perPixel, static_cast<size_t>(perPixel)));
            xpm.argb.push_back(found != palette.end() ? found->second : 0u);
        }
    }
    return xpm;
}

HICON makeIcon(const Xpm& xpm) {
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
    std::optional<Xpm> best;
    for (const char* const* image : icon.images()) {
        std::optional<Xpm> xpm = parseXpm(image);
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
