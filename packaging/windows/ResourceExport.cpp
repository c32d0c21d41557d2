// Writes the resources that make vorlane.exe a Windows application, from the editor's own
// resources rather than copies of them: the icon as vorlane.ico (the sizes of the Linux icon
// theme, drawn from the same XPM images), and vorlane.rc, which names that icon, the version block
// with the release, and the manifest.
//   vorlane_resource_export OUT-DIR MANIFEST
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "packaging/IconSizes.h"
#include "res/Strings.h"
#include "res/resource.h"

namespace {

using Pixels = std::vector<std::uint32_t>;  // 0xAARRGGBB, top row first

// An XPM image of one character per pixel, its colours "#RRGGBB" or "None" (transparent).
bool decodeXpm(const char* const* xpm, int size, Pixels& out) {
    int width = 0;
    int height = 0;
    int colours = 0;
    int perPixel = 0;
    if (std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &perPixel) != 4 ||
        width != size || height != size || perPixel != 1) {
        return false;
    }
    std::map<char, std::uint32_t> palette;
    for (int i = 1; i <= colours; ++i) {
        const std::string line = xpm[i];
        const size_t c = line.find(" c ", 1);
        if (c == std::string::npos) {
            return false;
        }
        const std::string value = line.substr(c + 3);
        if (value == "None") {
            palette[line[0]] = 0;
        } else if (value.size() == 7 && value[0] == '#') {
            palette[line[0]] = 0xFF000000u | std::strtoul(value.c_str() + 1, nullptr, 16);
        } else {
            return false;
        }
    }
    out.assign(static_cast<size_t>(width * height), 0);
    for (int y = 0; y < height; ++y) {
        const std::string row = xpm[1 + colours + y];
        if (static_cast<int>(row.size()) != width) {
            return false;
        }
        for (int x = 0; x < width; ++x) {
            const auto colour = palette.find(row[static_cast<size_t>(x)]);
            if (colour == palette.end()) {
                return false;
            }
            out[static_cast<size_t>(y * width + x)] = colour->second;
        }
    }
    return true;
}

Pixels enlarged(const Pixels& drawn, int drawnSize, int size) {
    Pixels out(static_cast<size_t>(size * size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            out[static_cast<size_t>(y * size + x)] =
                drawn[static_cast<size_t>(y * drawnSize / size * drawnSize + x * drawnSize / size)];
        }
    }
    return out;
}

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One image of an .ico file: a 32-bit DIB, bottom row first, with the 1-bit mask that older
// Windows versions draw transparency with.
std::string iconImage(const Pixels& pixels, int size) {
    std::string out;
    const int maskRow = (size + 31) / 32 * 4;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, static_cast<std::uint32_t>(size * 2));  // the colours and the mask
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(size * size * 4 + maskRow * size));
    for (int i = 0; i < 4; ++i) {
        put32(out, 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const std::uint32_t argb = pixels[static_cast<size_t>(y * size + x)];
            put32(out, argb);  // little-endian 0xAARRGGBB is B, G, R, A
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(maskRow), '\0');
        for (int x = 0; x < size; ++x) {
            if ((pixels[static_cast<size_t>(y * size + x)] >> 24) == 0) {
                row[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
        out += row;
    }
    return out;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// A string of a resource script: quotes doubled, backslashes escaped.
std::string rcString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string resourceScript(const std::string& icon, const std::string& manifest) {
    using vorlane::res::kVersionBlock;
    int major = 0;
    int minor = 0;
    int patch = 0;
    std::sscanf(vorlane::res::releaseVersion(), "%d.%d.%d", &major, &minor, &patch);
    std::ostringstream rc;
    rc << "// Generated by vorlane_resource_export from res/Strings.cpp and res/resource.h.\n"
       << "#pragma code_page(65001)\n"
       << vorlane::res::IDR_MAINFRAME << " ICON " << rcString(icon)
       << "\n"
       // CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST
       << "1 24 " << rcString(manifest)
       << "\n"
       // The numbers Windows and installers compare are the release's; the strings are the
       // version block the program has always shown.
       << "1 VERSIONINFO\n"
       << "FILEVERSION " << major << "," << minor << "," << patch << ",0\n"
       << "PRODUCTVERSION " << major << "," << minor << "," << patch << ",0\n"
       << "FILEFLAGSMASK 0x3f\nFILEFLAGS 0\nFILEOS 0x40004\nFILETYPE 1\nFILESUBTYPE 0\n"
       << "BEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n    BLOCK \"040904b0\"\n    BEGIN\n";
    const std::pair<const char*, const char*> values[] = {
        {"CompanyName", kVersionBlock.companyName},
        {"FileDescription", kVersionBlock.fileDescription},
        {"FileVersion", kVersionBlock.fileVersion},
        {"InternalName", kVersionBlock.internalName},
        {"LegalCopyright", kVersionBlock.legalCopyright},
        {"OriginalFilename", kVersionBlock.originalFilename},
        {"ProductName", kVersionBlock.productName},
        {"ProductVersion", kVersionBlock.productVersion},
    };
    for (const auto& [key, value] : values) {
        rc << "      VALUE \"" << key << "\", " << rcString(value) << "\n";
    }
    rc << "    END\n  END\n  BLOCK \"VarFileInfo\"\n  BEGIN\n"
       << "    VALUE \"Translation\", 0x409, 1200\n  END\nEND\n";
    return rc.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: vorlane_resource_export OUT-DIR MANIFEST\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    std::string header;
    std::string images;
    constexpr auto count = std::size(vorlane::packaging::kIconSizes);
    put16(header, 0);
    put16(header, 1);  // an icon
    put16(header, count);
    std::uint32_t offset = 6 + 16 * count;
    for (const vorlane::packaging::IconSize& size : vorlane::packaging::kIconSizes) {
        Pixels drawn;
        if (!decodeXpm(size.drawing, size.drawnPixels, drawn)) {
            std::fprintf(stderr, "vorlane_resource_export: the %d-pixel drawing does not load\n",
                         size.drawnPixels);
            return 1;
        }
        const std::string image =
            iconImage(enlarged(drawn, size.drawnPixels, size.pixels), size.pixels);
        header += static_cast<char>(size.pixels % 256);  // 0 stands for 256
        header += static_cast<char>(size.pixels % 256);
        header += std::string(2, '\0');  // no palette
        put16(header, 1);
        put16(header, 32);
        put32(header, static_cast<std::uint32_t>(image.size()));
        put32(header, offset);
        offset += static_cast<std::uint32_t>(image.size());
        images += image;
    }
    const std::string icon = folder + "/vorlane.ico";
    if (!writeFile(icon, header + images) ||
        !writeFile(folder + "/vorlane.rc", resourceScript(icon, argv[2]))) {
        std::fprintf(stderr, "vorlane_resource_export: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
