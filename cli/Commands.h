// The commands of vorlane-cli over the image core.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "cli/CommandLine.h"
#include "image/RomImage.h"

namespace vorlane::cli {

enum ExitStatus : int {
    kExitDone = 0,
    kExitInvalid = 1,  // an image failed validation, or an edit was refused
    kExitUsage = 2,
    kExitFile = 3,
};

// The edits of one `edit` call, resolved against a validated image: every value is what will be
// written. An empty `refusal` means that the image allows every requested edit.
struct EditPlan {
    std::string refusal;
    std::optional<int> engineFeedback;
    std::optional<int> memoryFeedback;
    std::optional<int> tvStandard;
    std::optional<uint16_t> subsystemVendorId;
    std::optional<uint16_t> subsystemId;
    std::optional<std::string> fontFile;
    std::optional<bool> builtinCyrillic;
    std::optional<std::string> font8x8;
    std::optional<std::string> font8x16;
    int codePage = 437;
};

// A file given to --font-8x16 or --font-8x8 that is no font of that size.
class FontRefused : public std::runtime_error {
  public:
    FontRefused(std::string path, const std::string& reason)
        : std::runtime_error(reason), path_(std::move(path)) {}
    const std::string& path() const noexcept { return path_; }

  private:
    std::string path_;
};

EditPlan planEdits(const CRomImage& image, const EditRequest& request);

// Applies a plan without a refusal: fonts, clocks, TV standard, subsystem IDs, in this order.
// Throws FileError when a font file cannot be read, and FontRefused when it holds no font of
// the size asked for.
void applyEdits(CRomImage& image, const EditPlan& plan);

// Anything but a regular file is refused (FileError) before it is opened: a pipe or device could
// block the read or never end.
void requireRegularFile(const std::string& path);

// Reads `path` into a freshly reset image without validating it, and returns the count of bytes
// read. Anything but a regular file is refused before it is opened. Throws FileError.
size_t loadImage(CRomImage& image, const std::string& path);

// Reads `path` into a freshly reset image and validates it. Anything but a regular file is
// refused before it is opened. Throws FileError.
RomStatus loadAndValidate(CRomImage& image, const std::string& path, bool skipChecksum);

// One line on standard error, `vorlane-cli: SUBJECT: REASON`.
void complain(const std::string& subject, const std::string& reason);

// The whole program: parses, runs, reports, and returns the exit status.
int run(int argc, const char* const* argv);

}  // namespace vorlane::cli
