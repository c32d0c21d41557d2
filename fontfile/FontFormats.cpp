#include "fontfile/FontFormats.h"

#include <vector>

#include "fontfile/FontFiles.h"

namespace vorlane::fontfile {

namespace {

void readFnt(CRomImage& image, const std::string& path, CodePage) {
    image.readFontFile(path);
}
void writeFnt(CRomImage& image, const std::string& path, const FontWriteSettings& settings) {
    image.writeFontFile(path, settings.to);
}

// A PC Screen Font replaces the font of its own height.
void readPsf(CRomImage& image, const std::string& path, CodePage page) {
    importFont(image, path, 0, page);
}
void writePsf(CRomImage& image, const std::string& path, const FontWriteSettings& settings) {
    exportPsf(image, path, settings.height, settings.page, settings.compressed, settings.to);
}

void writePng(CRomImage& image, const std::string& path, const FontWriteSettings& settings) {
    exportPng(image, path, settings.height, settings.scale, settings.to);
}

// A raw font says its size by its name.
template <int Height>
void readRaw(CRomImage& image, const std::string& path, CodePage page) {
    importFont(image, path, Height, page);
}
template <int Height>
void writeRaw(CRomImage& image, const std::string& path, const FontWriteSettings& settings) {
    exportRaw(image, path, Height, settings.to);
}

std::string lowerCase(std::string_view text) {
    std::string lower;
    for (const char c : text) {
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return lower;
}

constexpr FontExtension kFntEndings[] = {{".fnt"}};
constexpr FontExtension kPsfEndings[] = {
    {".psf"}, {".psfu"}, {".psf.gz", true}, {".psfu.gz", true}};
constexpr FontExtension kF16Endings[] = {{".f16"}};
constexpr FontExtension kF08Endings[] = {{".f08"}};
constexpr FontExtension kPngEndings[] = {{".png"}};

constexpr FontFormat kFormats[] = {
    {"fnt", kFntEndings, "Font Files (*.fnt)|*.fnt", true, readFnt, writeFnt},
    {"psf", kPsfEndings, "Console fonts (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz", true,
     readPsf, writePsf},
    {"f16", kF16Endings, "VGA 8x16 fonts (*.f16)|*.f16", false, readRaw<16>, writeRaw<16>},
    {"f08", kF08Endings, "VGA 8x8 fonts (*.f08)|*.f08", false, readRaw<8>, writeRaw<8>},
    {"png", kPngEndings, "PNG pictures (*.png)|*.png", true, nullptr, writePng},
};

}  // namespace

std::span<const FontFormat> fontFormats() {
    return kFormats;
}

const FontFormat& fontFileFormat() {
    return *fontFormats().begin();
}

FormatOfName formatOfName(std::string_view name, bool commandLineOnly) {
    const std::string lower = lowerCase(name);
    for (const FontFormat& format : fontFormats()) {
        if (commandLineOnly && !format.commandLine) {
            continue;
        }
        for (const FontExtension& extension : format.extensions) {
            if (lower.ends_with(extension.ending)) {
                return {&format, extension.compressed};
            }
        }
    }
    return {&fontFileFormat(), false};
}

const FontFormat* commandLineFormat(std::string_view word) {
    for (const FontFormat& format : fontFormats()) {
        if (format.commandLine && format.name == word) {
            return &format;
        }
    }
    return nullptr;
}

std::string commandLineFormatWords() {
    std::vector<std::string_view> words;
    for (const FontFormat& format : fontFormats()) {
        if (format.commandLine) {
            words.push_back(format.name);
        }
    }
    std::string text;
    for (size_t i = 0; i < words.size(); ++i) {
        text += i == 0 ? "" : i + 1 == words.size() ? " or " : ", ";
        text += words[i];
    }
    return text;
}

std::string dialogFilter(bool forSaving) {
    std::string filter = std::string(fontFileFormat().filter) + "|All Files (*.*)|*.*|";
    for (const FontFormat& format : fontFormats()) {
        if (&format != &fontFileFormat() &&
            (forSaving ? format.write != nullptr : format.read != nullptr)) {
            filter += std::string(format.filter) + "|";
        }
    }
    return filter + "|";
}

}  // namespace vorlane::fontfile
