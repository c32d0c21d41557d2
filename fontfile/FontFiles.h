// Font files and the fonts of an image: replacing one font of a CRomImage from a font file, and
// writing one of its fonts as a PC Screen Font or a PNG picture. Every write is atomic.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fontfile/FontReader.h"
#include "image/CodePages.h"
#include "image/RomImage.h"

namespace vorlane::fontfile {

// The whole content of a font file. Throws FileError when it cannot be read and FontError when
// it is larger than any font file (kMaxFontBytes).
std::vector<uint8_t> readFontBytes(const std::string& path);

// Whether the image has a located font of `height` (8 or 16).
bool hasFont(const CRomImage& image, int height);

// Copies the glyphs the font has over the image's font of the same height; a code the font
// lacks keeps the glyph the image has. Does nothing when the image has no font of that height.
void storeFont(CRomImage& image, const CodePageFont& font);

// Reads the file as readFont does and stores it. Returns the height of the font replaced.
// Throws FileError or FontError, the latter also when the image has no font of the file's
// height; the image is then left as it was.
int importFont(CRomImage& image, const std::string& path, int height, CodePage page);

// Write the image's font of `height` (8 or 16), which must be located. Throw FileError.
// A raw font is the glyphs alone, as VGA font collections ship them (.f16, .f08).
// `to` as for writeFileAtomically.
void exportRaw(const CRomImage& image, const std::string& path, int height,
               WriteTo to = WriteTo::AnyFile);
void exportPsf(const CRomImage& image, const std::string& path, int height, CodePage page,
               bool compressed = false, WriteTo to = WriteTo::AnyFile);
void exportPng(const CRomImage& image, const std::string& path, int height, int scale,
               WriteTo to = WriteTo::AnyFile);

}  // namespace vorlane::fontfile
