#include "ui/CoreTexts.h"

#include "dialogkit/Translation.h"

namespace vorlane {

namespace {

// The core's texts are built where no translation system is, so they are listed here for lupdate,
// each exactly as the core writes it; a font error with its numbers as %1, %2, ... (see
// dk::trNumbered). The translations test finds a text here that the translation lacks.
[[maybe_unused]] constexpr const char* kStatusMessages[] = {
    DK_TRANSLATE_NOOP("Vorlane", "Error N1 \n Error size of file"),
    DK_TRANSLATE_NOOP("Vorlane", "Error N2 \n Bios non ATI"),
    DK_TRANSLATE_NOOP("Vorlane", "Error N3 \n Bios non ATI"),
    DK_TRANSLATE_NOOP("Vorlane", "Error N4 \n Bios non ATI"),
    DK_TRANSLATE_NOOP("Vorlane", "Error N5 \n Error CLK"),
    DK_TRANSLATE_NOOP("Vorlane", "Error N6 \n CheckSum Error!"),
    DK_TRANSLATE_NOOP("Vorlane", "Error N7 \n Bios non ATI"),
};

[[maybe_unused]] constexpr const char* kSaveRefusals[] = {
    DK_TRANSLATE_NOOP("Vorlane",
                      "no Radeon 7000 to 9800 BIOS was recognised in it, so there is nothing to "
                      "repair, and saving it would cut or rewrite a file that is something else"),
    DK_TRANSLATE_NOOP("Vorlane", "it holds no byte, and saving it would empty the file"),
};

// padRefusal's own words, its numbers as %1, %2; or one of the save refusals above.
[[maybe_unused]] constexpr const char* kPadRefusals[] = {
    DK_TRANSLATE_NOOP("Vorlane", "the file is %1 bytes, the chip holds %2"),
    DK_TRANSLATE_NOOP("Vorlane",
                      "status %1, Error N%2 - Error size of file: not a BIOS of this family"),
    DK_TRANSLATE_NOOP("Vorlane", "status %1, Error N%2 - Bios non ATI: not a BIOS of this family"),
};

[[maybe_unused]] constexpr const char* kFileOperations[] = {
    DK_TRANSLATE_NOOP("FileError", "open"),   DK_TRANSLATE_NOOP("FileError", "open for writing"),
    DK_TRANSLATE_NOOP("FileError", "create"), DK_TRANSLATE_NOOP("FileError", "read"),
    DK_TRANSLATE_NOOP("FileError", "write"),
};

// The reasons a user meets when opening, reading and writing files, as the C library words them.
[[maybe_unused]] constexpr const char* kFileReasons[] = {
    DK_TRANSLATE_NOOP("Errno", "No such file or directory"),
    DK_TRANSLATE_NOOP("Errno", "Permission denied"),
    DK_TRANSLATE_NOOP("Errno", "Operation not permitted"),
    DK_TRANSLATE_NOOP("Errno", "Is a directory"),
    DK_TRANSLATE_NOOP("Errno", "Not a directory"),
    DK_TRANSLATE_NOOP("Errno", "No space left on device"),
    DK_TRANSLATE_NOOP("Errno", "Disk quota exceeded"),
    DK_TRANSLATE_NOOP("Errno", "Read-only file system"),
    DK_TRANSLATE_NOOP("Errno", "Too many levels of symbolic links"),
    DK_TRANSLATE_NOOP("Errno", "File exists"),
    DK_TRANSLATE_NOOP("Errno", "File too large"),
    DK_TRANSLATE_NOOP("Errno", "File name too long"),
    DK_TRANSLATE_NOOP("Errno", "Input/output error"),
    DK_TRANSLATE_NOOP("Errno", "No such device or address"),
    DK_TRANSLATE_NOOP("Errno", "Device or resource busy"),
    DK_TRANSLATE_NOOP("Errno", "Text file busy"),
    DK_TRANSLATE_NOOP("Errno", "Invalid argument"),
    DK_TRANSLATE_NOOP("Errno", "Too many open files"),
    DK_TRANSLATE_NOOP("Errno", "Cannot allocate memory"),
    DK_TRANSLATE_NOOP("Errno", "Resource temporarily unavailable"),
    // The file layer's own refusals.
    DK_TRANSLATE_NOOP("Errno", "Not a regular file"),
    DK_TRANSLATE_NOOP("Errno", "Nothing to write (0 bytes), so the file is left as it was"),
};

// The font dialogs' filters as fontfile::dialogFilter builds them from the format table, each
// translated as a whole.
[[maybe_unused]] constexpr const char* kFontFilters[] = {
    DK_TRANSLATE_NOOP("Vorlane",
                      "Font Files (*.fnt)|*.fnt|All Files (*.*)|*.*|"
                      "Console fonts (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|"
                      "VGA 8x16 fonts (*.f16)|*.f16|VGA 8x8 fonts (*.f08)|*.f08||"),
    DK_TRANSLATE_NOOP(
        "Vorlane",
        "Font Files (*.fnt)|*.fnt|All Files (*.*)|*.*|"
        "Console fonts (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|"
        "VGA 8x16 fonts (*.f16)|*.f16|VGA 8x8 fonts (*.f08)|*.f08|PNG pictures (*.png)|*.png||"),
};

[[maybe_unused]] constexpr const char* kFontErrors[] = {
    DK_TRANSLATE_NOOP("FontError", "larger than any font file (over %1 MiB)"),
    DK_TRANSLATE_NOOP("FontError", "larger than any font file"),
    DK_TRANSLATE_NOOP("FontError", "the image has no %1x%2 font to replace"),
    DK_TRANSLATE_NOOP("FontError", "glyphs are %1 pixels wide, need %2"),
    DK_TRANSLATE_NOOP("FontError", "glyphs are %1 pixels high, need %2"),
    DK_TRANSLATE_NOOP("FontError", "glyphs are %1 pixels high, need %2 or %3"),
    DK_TRANSLATE_NOOP("FontError", "glyphs take %1 bytes, but %2 rows of %3 pixels take %4"),
    DK_TRANSLATE_NOOP("FontError", "has %1 glyphs, need at least %2"),
    DK_TRANSLATE_NOOP("FontError",
                      "its glyphs run past the end of the file (%1 glyphs need %2 bytes, the "
                      "file has %3)"),
    DK_TRANSLATE_NOOP("FontError", "its PC Screen Font header is cut short"),
    DK_TRANSLATE_NOOP("FontError", "PC Screen Font version %1.%2 is unknown"),
    DK_TRANSLATE_NOOP("FontError", "its header size %1 is too small"),
    DK_TRANSLATE_NOOP("FontError", "its header size %1 points past the end of the file"),
    DK_TRANSLATE_NOOP("FontError", "its Unicode table ends before the entry of glyph %1"),
    DK_TRANSLATE_NOOP("FontError",
                      "its Unicode table has malformed UTF-%1 in the entry of glyph %2"),
    DK_TRANSLATE_NOOP("FontError", "it has none of the characters of code page %1"),
    DK_TRANSLATE_NOOP("FontError", "%1 bytes: neither a raw %2x%3 font nor a PC Screen Font"),
    DK_TRANSLATE_NOOP("FontError",
                      "%1 bytes: neither a raw %2x%3 or %4x%5 font nor a PC Screen Font"),
    DK_TRANSLATE_NOOP("FontError", "a font %1 pixels high is not a VGA font"),
    DK_TRANSLATE_NOOP("FontError", "cannot start gzip decompression"),
    DK_TRANSLATE_NOOP("FontError", "cannot restart gzip decompression"),
    DK_TRANSLATE_NOOP("FontError", "decompresses to more than %1 MiB"),
    DK_TRANSLATE_NOOP("FontError", "decompresses to more than %1 bytes"),
    DK_TRANSLATE_NOOP("FontError", "has bytes after the end of its gzip data"),
    DK_TRANSLATE_NOOP("FontError", "gzip data is truncated"),
    DK_TRANSLATE_NOOP("FontError", "gzip data is corrupt"),
};

// The reports' phrases (image/ReportTexts.h), each exactly as the table's English default; a
// phrase with a count by its plural form, whose translation has a form for each of the
// language's counts. The reports' test finds a phrase here that no longer matches the table.
[[maybe_unused]] constexpr const char* kReportPhrases[] = {
    DK_TRANSLATE_NOOP("Report", "none"),
    DK_TRANSLATE_NOOP("Report", "yes"),
    DK_TRANSLATE_NOOP("Report", "no"),
    DK_TRANSLATE_NOOP("Report", "not found"),
    DK_TRANSLATE_NOOP("Report", "%1 MHz"),
    DK_TRANSLATE_NOOP("Report", "None"),
    DK_TRANSLATE_NOOP("Report", "unknown"),
    DK_TRANSLATE_NOOP("Report", "%1 %2: %3, status %4, %5"),
    DK_TRANSLATE_NOOP("Report", "valid"),
    DK_TRANSLATE_NOOP("Report", "Fields: none differ"),
    DK_TRANSLATE_NOOP("Report", "Fields"),
    DK_TRANSLATE_NOOP("Report", "Glyphs"),
    DK_TRANSLATE_NOOP("Report", "not compared (a font is not located)"),
    DK_TRANSLATE_NOOP("Report", "none differ"),
    DK_TRANSLATE_NOOP("Report", "null"),
    DK_TRANSLATE_NOOP("Report", "space"),
    DK_TRANSLATE_NOOP("Report", "no-break space"),
    DK_TRANSLATE_NOOP("Report", "Bytes: %1 in %2"),
    DK_TRANSLATE_NOOP("Report", "... and %1 (%2)"),
    DK_TRANSLATE_NOOP("Report", "Identical: no byte differs"),
    DK_TRANSLATE_NOOP("Report", "Differ: %1 in %2; %3; glyphs %4, %5"),
    DK_TRANSLATE_NOOP("Report", "%1 in %2"),
    DK_TRANSLATE_NOOP("Report", "%1 not compared"),
    DK_TRANSLATE_NOOP("Report", "ok"),
    DK_TRANSLATE_NOOP("Report", "ok with warnings"),
    DK_TRANSLATE_NOOP("Report", "not fit"),
    DK_TRANSLATE_NOOP("Report", "error"),
    DK_TRANSLATE_NOOP("Report", "warning"),
    DK_TRANSLATE_NOOP("Report", "more than %1"),
    DK_TRANSLATE_NOOP("Report", "the PCI vendor ID is %1, not ATI's 1002"),
    DK_TRANSLATE_NOOP("Report", "the image is for device %1, not %2"),
    DK_TRANSLATE_NOOP("Report",
                      "the PCI data structure's code type is %1%2, not 0: not a PC image"),
    DK_TRANSLATE_NOOP("Report", "the file is %1, the chip holds %2"),
    DK_TRANSLATE_NOOP("Report", "the file is %1, more than the largest flash chip (%2)"),
    DK_TRANSLATE_NOOP("Report",
                      "the file is %1, the image declares %2: the editor and edit save only "
                      "those %3"),
    DK_TRANSLATE_NOOP(
        "Report",
        "another image follows this one (its PCI data structure does not mark it the last)"),
    DK_TRANSLATE_NOOP(
        "Report",
        "the file is %1, the chip holds %2: the rest of the chip is not part of the image"),
    DK_TRANSLATE_NOOP("Report", "older card"),
    DK_TRANSLATE_NOOP("Report",
                      "device %1 is %2: the image is intact, but not one Vorlane can edit"),
    DK_TRANSLATE_NOOP("Report",
                      "a card of the Radeon 7000 to 7500 family (R100/RV100/RV200), whose clock "
                      "record has another layout"),
    DK_TRANSLATE_NOOP("Report",
                      "a card of the Radeon 8500 to 9250 family (R200/RV250/RV280), not yet "
                      "tested with Vorlane"),
    DK_TRANSLATE_NOOP("Report", "a Rage 128"),
    DK_TRANSLATE_NOOP("Report", "a Mach64"),
    DK_TRANSLATE_N_NOOP("Report", "%1 bytes"),
    DK_TRANSLATE_N_NOOP("Report", "%1 differ"),
    DK_TRANSLATE_N_NOOP("Report", "%1 ranges"),
    DK_TRANSLATE_N_NOOP("Report", "%1 more ranges"),
    DK_TRANSLATE_N_NOOP("Report", "%1 fields"),
};

// The form of a counted phrase in the language installed: the translation system picks it by the
// count from the translation's forms, leaving the count's %1 to the report. Untranslated,
// English's rule.
std::string translatedForm(const CountedText& text, uint64_t count) {
    // The plural rules look at the last digits only, which this keeps within an int.
    const int n = static_cast<int>(count % 1000000000);
    const std::string form = dk::translate(kReportContext, text.other.c_str(), n);
    if (form == text.other) {
        return ReportTexts::englishForm(text, count);
    }
    return form;
}

}  // namespace

ReportTexts reportTexts() {
    ReportTexts texts;
    for (std::string ReportTexts::*phrase : ReportTexts::phrases()) {
        texts.*phrase = dk::translate(kReportContext, texts.*phrase);
    }
    texts.form = translatedForm;
    // A status in the words the main window shows it in.
    texts.statusMessage = statusText;
    return texts;
}

std::string statusText(RomStatus status) {
    return dk::translate("Vorlane", CRomImage::statusMessage(status));
}

std::string saveRefusalText(const char* refusal) {
    return dk::translate("Vorlane", refusal);
}

std::string padRefusalText(const std::string& refusal) {
    return dk::trNumbered("Vorlane", refusal);
}

std::string fileOperationText(const std::string& operation) {
    return dk::translate("FileError", operation);
}

std::string fileReasonText(std::error_code reason) {
    return dk::translate("Errno", reason.message());
}

std::string fontErrorText(const std::string& message) {
    return dk::trNumbered("FontError", message);
}

}  // namespace vorlane
