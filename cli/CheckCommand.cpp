#include "cli/CheckCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <span>
#include <system_error>
#include <vector>

#include "cli/Json.h"
#include "cli/Output.h"
#include "cli/Values.h"
#include "image/Check.h"
#include "image/FileError.h"
#include "image/FileIo.h"
#include "image/Report.h"

namespace vorlane::cli {

namespace {

// What check needs of a FILE besides its image: its size, whether it goes on past what was read
// (standard input), and whether its bytes past the image buffer are erased (all 0xFF: padding
// up to a chip's size).
struct CheckedFile {
    uint64_t size = 0;
    FileTail tail;
};

std::span<const uint8_t> pastBuffer(const std::vector<uint8_t>& bytes) {
    const size_t from = std::min(bytes.size(), static_cast<size_t>(CRomImage::kBufferSize));
    return std::span<const uint8_t>(bytes).subspan(from);
}

// Loads FILE as `info` does. Throws FileError.
CheckedFile loadForCheck(CRomImage& image, const std::string& file, RomStatus& status) {
    CheckedFile checked;
    image.reset();
    // One read, through one descriptor: the size is that of the file that was read, not of
    // whatever the path names a moment later. One byte past the limit tells standard input that
    // goes on from one that just fits; a larger file's rest is not known to be padding.
    const std::vector<uint8_t> bytes = readFileUpTo(file, static_cast<size_t>(kLargestChipSize) + 1,
                                                    Dash::StandardInput, &checked.size);
    image.loadBytes(bytes);
    if (isStandardStream(file)) {
        checked.tail.moreThanSize = bytes.size() > kLargestChipSize;
        checked.size = checked.tail.moreThanSize ? kLargestChipSize : bytes.size();
    }
    checked.tail.erasedPastBuffer =
        !checked.tail.moreThanSize && bytes.size() >= checked.size && isErased(pastBuffer(bytes));
    status = image.validate();
    return checked;
}

std::string checkJson(const std::string& file, RomStatus status,
                      const std::vector<CheckFinding>& findings) {
    Json j;
    j["file"] = file;
    j["ok"] = !hasError(findings);
    j["status"] = status;
    j["findings"] = Json::array();
    for (const CheckFinding& finding : findings) {
        j["findings"].push_back({{"level", checkLevelName(finding.level)},
                                 {"code", finding.code},
                                 {"message", finding.message}});
    }
    return jsonText(j) + "\n";
}

}  // namespace

void CheckOptions::declare(CLI::App& sub) {
    sub.add_flag("--json", json);
    chipSize_ = addValue(sub, "--chip-size", chipSizeText_, "SIZE");
    device_ = addValue(sub, "--device", deviceText_, "HEX");
    sub.add_option("FILE", files)->required();
}

void CheckOptions::read() {
    if (isGiven(chipSize_)) {
        chipSize = parseChipSize("--chip-size", chipSizeText_);
    }
    if (isGiven(device_)) {
        deviceId = parseHexId("--device", deviceText_);
    }
    checkStandardInput("check", files, false);
}

int runCheck(const CheckOptions& options) {
    const CheckRequest request{options.chipSize, options.deviceId};
    bool unreadable = false;
    bool unfit = false;
    for (const std::string& file : options.files) {
        CRomImage image;
        RomStatus status = kRomOk;
        CheckedFile checked;
        try {
            checked = loadForCheck(image, file, status);
        } catch (const FileError& error) {
            complain(file, error.reason());
            unreadable = true;
            continue;
        }
        const auto findings = checkImage(image, status, checked.size, request, checked.tail);
        unfit = unfit || hasError(findings);
        const std::string text = options.json ? checkJson(file, status, findings)
                                              : checkHuman(file, image, status, findings);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    return unreadable ? kExitFile : unfit ? kExitInvalid : kExitDone;
}

}  // namespace vorlane::cli
