// edit FILE (-o OUT | --in-place) [--skip-checksum] [EDIT...]
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "cli/CommandOptions.h"
#include "image/RomImage.h"

namespace vorlane::cli {

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

struct EditOptions : CommandOptions {
    std::string file;
    OutputOptions outputs;
    bool skipChecksum = false;
    EditRequest edits;

    void declare(CLI::App& sub) override;
    void read() override;

  private:
    OptionText engineFeedback_, memoryFeedback_, engineMHz_, memoryMHz_, tv_, subsystemVendor_,
        subsystem_, fontFile_, builtinFont_, font8x16_, font8x8_, codePage_;
};

int runEdit(const EditOptions& options);

}  // namespace vorlane::cli
