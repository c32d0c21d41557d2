// Every word of the reports that people read (diff, check and the older family's line), in one
// table. Its defaults are the English of vorlane-cli, which scripts read, so the command-line tool
// uses the table as it stands; the editor fills in the user's language. The core stays free of
// any translation system: a language that needs more than English's two forms for a count, or
// its own words for a status, hands in a function for them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "image/RomImage.h"

namespace vorlane {

// A phrase that agrees with a count, which stands in it as %1. English writes `one` for a count
// of 1 and `other` for any other; the translations are found by `other`.
struct CountedText {
    std::string one;
    std::string other;
};

struct ReportTexts {
    // The form of `text` that `count` takes, its %1 still in place: the core fills it, padded
    // where a column needs it.
    std::string (*form)(const CountedText& text, uint64_t count) = englishForm;
    // The image check's message for `status`, in its two lines ("Error N2 \n Bios non ATI").
    std::string (*statusMessage)(RomStatus status) = englishStatusMessage;

    // Values of the fields that diff compares.
    std::string none = "none";
    std::string yes = "yes";
    std::string no = "no";
    std::string clockNotFound = "not found";
    std::string clockMHz = "%1 MHz";
    std::string tvNone = "None";
    std::string tvUnknown = "unknown";

    // diff. Places are filled in the order of the English.
    std::string sideStatus = "%1 %2: %3, status %4, %5";  // A or B, file, size, status, state
    std::string valid = "valid";
    std::string fieldsNoneDiffer = "Fields: none differ";
    std::string fields = "Fields";
    std::string glyphs = "Glyphs";
    std::string fontNotCompared = "not compared (a font is not located)";
    std::string glyphsNoneDiffer = "none differ";
    std::string glyphNull = "null";
    std::string glyphSpace = "space";
    std::string glyphNoBreakSpace = "no-break space";
    std::string bytesDiffer = "Bytes: %1 in %2";  // how many differ, in how many ranges
    std::string moreRanges = "... and %1 (%2)";   // ranges not shown, their bytes
    std::string identical = "Identical: no byte differs";
    std::string differ = "Differ: %1 in %2; %3; glyphs %4, %5";  // bytes, ranges, fields, fonts
    std::string glyphsInFont = "%1 in %2";                       // count, font
    std::string fontNotComparedShort = "%1 not compared";        // font

    // check
    std::string fit = "ok";
    std::string fitWithWarnings = "ok with warnings";
    std::string notFit = "not fit";
    std::string error = "error";
    std::string warning = "warning";
    std::string moreThan = "more than %1";  // a size known only to exceed %1
    std::string vendorMessage = "the PCI vendor ID is %1, not ATI's 1002";
    std::string deviceMessage = "the image is for device %1, not %2";
    std::string codeTypeMessage =
        "the PCI data structure's code type is %1%2, not 0: not a PC image";
    std::string tooBigMessage = "the file is %1, the chip holds %2";
    std::string tooBigForAnyChipMessage = "the file is %1, more than the largest flash chip (%2)";
    std::string trailingBytesMessage =
        "the file is %1, the image declares %2: the editor and edit save only those %3";
    std::string moreImagesMessage =
        "another image follows this one (its PCI data structure does not mark it the last)";
    std::string smallerThanChipMessage =
        "the file is %1, the chip holds %2: the rest of the chip is not part of the image";

    // The older family's line: its label, then the note naming the device and its family.
    std::string olderCard = "older card";
    std::string olderFamilyNote =
        "device %1 is %2: the image is intact, but not one Vorlane can edit";
    std::string radeon7000Family =
        "a card of the Radeon 7000 to 7500 family (R100/RV100/RV200), whose clock record has "
        "another layout";
    std::string radeon8500Family =
        "a card of the Radeon 8500 to 9250 family (R200/RV250/RV280), not yet tested with Vorlane";
    std::string rage128Family = "a Rage 128";
    std::string mach64Family = "a Mach64";

    // Counts. Sizes are plural even for one byte, as vorlane-cli has always written them.
    CountedText sizeBytes{"%1 bytes", "%1 bytes"};
    CountedText bytes{"%1 byte", "%1 bytes"};
    CountedText differing{"%1 differ", "%1 differ"};
    CountedText ranges{"%1 range", "%1 ranges"};  // after "in"
    CountedText rangesNotShown{"%1 more ranges", "%1 more ranges"};
    CountedText fieldCount{"%1 field", "%1 fields"};

    static std::string englishForm(const CountedText& text, uint64_t count);
    static std::string englishStatusMessage(RomStatus status);

    // Every phrase of the table, for whoever translates them all.
    static std::span<std::string ReportTexts::*const> phrases();
    static std::span<CountedText ReportTexts::*const> counted();
};

// The table as vorlane-cli uses it.
const ReportTexts& englishReportTexts();

// `pattern` with %1 to %9 replaced by `values` in one pass, so that a value holding a '%' (a
// file name) is never read as a place.
std::string fillPlaces(std::string_view pattern, std::initializer_list<std::string_view> values);

// `count` in `text`'s form for it, filled in as `shown` (the count padded, or as it is).
std::string countText(const ReportTexts& texts, const CountedText& text, uint64_t count,
                      std::string_view shown);
std::string countText(const ReportTexts& texts, const CountedText& text, uint64_t count);

}  // namespace vorlane
