// The font file formats, each declared once: its name, the endings of its file names, its entry
// in the file dialogs' filters, and how it is read into an image and written from one. The
// editor's font dialog builds its filters and routes a chosen name through this table, and
// vorlane-cli's font-export takes its --format words and its extension rule from it. A new
// format is a row here.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "image/CodePages.h"
#include "image/RomImage.h"

namespace vorlane::fontfile {

// How one font of an image is written; a format uses what applies to it.
struct FontWriteSettings {
    int height = 16;  // which font, 8 or 16, for the formats that hold one
    CodePage page = CodePage::Cp437;
    int scale = 2;            // pixels per font pixel of a picture
    bool compressed = false;  // gzip, for a name that asks for it
    WriteTo to = WriteTo::AnyFile;
};

struct FontExtension {
    std::string_view ending;  // lower case, with its dot
    bool compressed = false;  // the file is gzip-compressed
};

struct FontFormat {
    std::string_view name;  // fnt, psf, png, f16, f08
    std::span<const FontExtension> extensions;
    std::string_view filter;  // "Label (*.a *.b)|*.a;*.b", the format's entry in the dialogs
    bool commandLine;         // offered by vorlane-cli's --format and its extension rule
    // Replaces the image's fonts from the file; null for a format that is no font to load.
    // Throws FileError, or FontError for a file that holds no such font.
    void (*read)(CRomImage& image, const std::string& path, CodePage page);
    // Writes the image's fonts, which must be located. Throws FileError.
    void (*write)(CRomImage& image, const std::string& path, const FontWriteSettings& settings);
};

// Every format; the first, the 6144-byte font file, is the one a name without a known ending
// is.
std::span<const FontFormat> fontFormats();
const FontFormat& fontFileFormat();

struct FormatOfName {
    const FontFormat* format;
    bool compressed;
};

// The format whose extension ends `name` (compared without regard to case), among those offered
// on the command line when `commandLineOnly`; the font file when none does.
FormatOfName formatOfName(std::string_view name, bool commandLineOnly = false);

// The format offered on the command line as `word`, or null.
const FontFormat* commandLineFormat(std::string_view word);

// "fnt, psf or png": the --format words.
std::string commandLineFormatWords();

// The filter of the font dialogs: the font file's entry, "All Files", then every other format
// that can be loaded (`forSaving` false) or written (true).
std::string dialogFilter(bool forSaving);

}  // namespace vorlane::fontfile
