// The command line of vorlane-cli, parsed and checked in full before any file is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlane::cli {

enum class Command {
    Info,
    Edit,
    FontExport,
    FixChecksum,
    Diff,
    Check,
    Cards,
    ReadCard,
    Pad,
    Help,
    Version
};

// The EDIT options of `edit`, as given; clock options in MHz are resolved against the image.
struct EditRequest {
    std::optional<int> engineFeedback;
    std::optional<int> memoryFeedback;
    std::optional<double> engineMHz;
    std::optional<double> memoryMHz;
    std::optional<int> tvStandard;  // 1 NTSC, 2 PAL
    std::optional<uint16_t> subsystemVendorId;
    std::optional<uint16_t> subsystemId;
    std::optional<std::string> fontFile;
    std::optional<bool> builtinCyrillic;
    std::optional<std::string> font8x8;   // --font-8x8 F
    std::optional<std::string> font8x16;  // --font-8x16 F
    int codePage = 437;                   // for the two above

    bool changesClocks() const {
        return engineFeedback || memoryFeedback || engineMHz || memoryMHz;
    }
};

enum class FontFormat { Fnt, Psf, Png };

// What font-export writes; only `format` matters for fnt.
struct FontExportRequest {
    FontFormat format = FontFormat::Fnt;
    int height = 16;  // --size 8x16 or 8x8
    int codePage = 437;
    int scale = 2;
};

struct Invocation {
    Command command = Command::Help;
    std::vector<std::string> files;  // info: every FILE; diff: A and B; the others: FILE alone
    std::string output;              // -o OUT, or OUT of font-export
    bool inPlace = false;
    bool json = false;
    bool skipChecksum = false;
    EditRequest edits;
    FontExportRequest fontExport;
    // cards, read-card, check and pad
    std::string sysfsRoot = "/sys";
    std::string address;  // read-card's ADDRESS in the kernel's form, or empty
    bool shadow = false;  // read-card --shadow: save the boot display's start-up copy all the same
    std::optional<uint64_t> chipSize;
    std::optional<uint16_t> deviceId;
};

// Throws UsageError for anything malformed, unknown or conflicting.
Invocation parseCommandLine(int argc, const char* const* argv);

// The text of --help.
const char* helpText();
// The line --version prints.
const char* versionLine();

}  // namespace vorlane::cli
