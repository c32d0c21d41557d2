// The reports both programs show a person: what differs between two images (`vorlane-cli diff`
// and the editor's "Compare with File...") and whether an image file is fit for a flash chip
// (`vorlane-cli check` and "Check for Flashing..."). The core finds; this renders, once, so that
// the shell and the window say the same words.
#pragma once

#include <string>
#include <vector>

#include "image/Check.h"
#include "image/Diff.h"
#include "image/ReportTexts.h"
#include "image/RomImage.h"

namespace vorlane {

// "None", "NTSC", "PAL" or "unknown".
const char* tvStandardName(int standard);

// One side of a comparison as the report names it.
struct DiffSide {
    const std::string& file;  // the name shown: a command-line argument, or the editor's path
    ComparedImage compared;
};

// Status lines of both sides, then (when any byte differs) the fields with both values, the
// glyph codes and the byte ranges, and a summary line. Every line ends in a line feed.
std::string diffHuman(const DiffSide& a, const DiffSide& b, const ImageDiff& diff,
                      const ReportTexts& texts = englishReportTexts());

// "error" or "warning".
const char* checkLevelName(CheckFinding::Level level);

// "  older card  ..." and a line feed for an intact image of an older family, or "": the human
// reports of info, check and read-card end with it.
std::string olderFamilyLine(const CRomImage& image, RomStatus status,
                            const ReportTexts& texts = englishReportTexts());

// The verdict line ("ok", "ok with warnings" or "not fit"), one line per finding, and the older
// family's line, for `image` as `validate` left it with `status`. The findings' messages are
// in the words of the table that checkImage was given.
std::string checkHuman(const std::string& file, const CRomImage& image, RomStatus status,
                       const std::vector<CheckFinding>& findings,
                       const ReportTexts& texts = englishReportTexts());

}  // namespace vorlane
