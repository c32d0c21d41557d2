#include "cli/PadCommand.h"

#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Values.h"
#include "image/Check.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::cli {

namespace {

// Standard input is read at least this far, as check reads it, so that a refusal names its size.
constexpr uint64_t kStandardInputLimit = 1024 * 1024;

// pad FILE --chip-size SIZE (-o OUT | --in-place)
class PadOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        sub.add_option("FILE", file_)->required();
        addValue(sub, "--chip-size", chipSizeText_, "SIZE")->required();
        outputs_.declare(sub);
    }
    void read(Invocation& inv) const override {
        inv.files = {file_};
        outputs_.read(inv, "pad");
        inv.chipSize = parseChipSize("--chip-size", chipSizeText_);
    }

  private:
    std::string file_;
    std::string chipSizeText_;
    OutputOptions outputs_;
};

}  // namespace

std::unique_ptr<CommandOptions> makePadOptions() {
    return std::make_unique<PadOptions>();
}

int runPad(const Invocation& inv) {
    const std::string& file = inv.files.front();
    const uint64_t chipSize = inv.chipSize.value_or(0);
    // A file larger than the chip is refused, so only its image is read then.
    uint64_t limit = std::max(chipSize, kStandardInputLimit) + 1;
    uint64_t size = 0;
    if (!isStandardStream(file)) {
        requireRegularFile(file);
        struct stat info {};
        if (::stat(file.c_str(), &info) != 0) {
            throwFileError(file, "open", errno);
        }
        size = static_cast<uint64_t>(info.st_size);
        limit = size > chipSize ? CRomImage::kBufferSize : size;
    }
    const std::vector<uint8_t> bytes = readFileUpTo(file, static_cast<size_t>(limit));
    size = std::max<uint64_t>(size, bytes.size());

    CRomImage image;
    image.loadBytes(bytes);
    const RomStatus status = image.validate();
    if (const std::string refusal = padRefusal(image, status, size, chipSize); !refusal.empty()) {
        complain(file, "refused: " + refusal);
        return kExitInvalid;
    }
    writePadded(inv.inPlace ? file : inv.output, bytes, chipSize);
    return kExitDone;
}

}  // namespace vorlane::cli
