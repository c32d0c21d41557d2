#include "dialogkit/Icon.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace vorlane::dk {

namespace {

std::optional<uint32_t> colourValue(const std::string& colour) {
    if (colour == "None" || colour == "none") {
        return 0u;
    }
    if (colour.size() == 7 && colour[0] == '#') {
        return 0xFF000000u | static_cast<uint32_t>(std::strtoul(colour.c_str() + 1, nullptr, 16));
    }
    return std::nullopt;
}

}  // namespace

std::optional<IconPixels> decodeXpm(const char* const* lines) {
    IconPixels xpm;
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
        std::string colour = line.substr(c + 3);
        colour.erase(0, colour.find_first_not_of(' '));
        colour.erase(colour.find_last_not_of(' ') + 1);
        const std::optional<uint32_t> value = colourValue(colour);
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

}  // namespace vorlane::dk
