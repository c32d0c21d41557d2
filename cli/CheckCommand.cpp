#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <span>
#include <system_error>
#include <vector>

#include "cli/CardCommands.h"
#include "cli/Commands.h"
#include "cli/Report.h"
#include "cli/Values.h"
#include "image/Check.h"
#include "image/FileError.h"
#include "image/FileIo.h"
#include "image/Report.h"

namespace vorlane::cli {

namespace {

using Json = nlohmann::ordered_json;

// Standard input is read no further than this; no flash chip of these cards comes near it.
constexpr size_t kStandardInputLimit = 1024 * 1024;

// What check needs of a FILE besides its image: the size of the whole file, and whether the
// bytes past the image buffer are erased (all 0xFF, padding up to a chip's size).
struct CheckedFile {
    uint64_t size = 0;
    bool erasedPastBuffer = true;
};

std::span<const uint8_t> pastBuffer(const std::vector<uint8_t>& bytes) {
    const size_t from = std::min(bytes.size(), static_cast<size_t>(CRomImage::kBufferSize));
    return std::span<const uint8_t>(bytes).subspan(from);
}

// Loads FILE as `info` does. Throws FileError.
CheckedFile loadForCheck(CRomImage& image, const std::string& file, RomStatus& status) {
    if (isStandardStream(file)) {
        const std::vector<uint8_t> bytes = readFileUpTo(file, kStandardInputLimit);
        image.reset();
        image.loadBytes(bytes);
        status = image.validate();
        return {bytes.size(), isErased(pastBuffer(bytes))};
    }
    status = loadAndValidate(image, file, false);
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        throwFileError(file, "open", errno);
    }
    CheckedFile checked{static_cast<uint64_t>(info.st_size), true};
    if (checked.size > static_cast<uint64_t>(CRomImage::kBufferSize)) {
        // Read as far as standard input is; a larger file's rest is not known to be padding.
        const std::vector<uint8_t> bytes = readFileUpTo(file, kStandardInputLimit);
        checked.erasedPastBuffer = bytes.size() >= checked.size && isErased(pastBuffer(bytes));
    }
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
    return j.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

int runCheck(const Invocation& inv) {
    const CheckRequest request{inv.chipSize, inv.deviceId};
    bool unreadable = false;
    bool unfit = false;
    for (const std::string& file : inv.files) {
        CRomImage image;
        RomStatus status = kRomOk;
        CheckedFile checked;
        try {
            checked = loadForCheck(image, file, status);
        } catch (const FileError& error) {
            std::fflush(stdout);
            std::fprintf(stderr, "vorlane-cli: %s: %s\n", file.c_str(), error.reason().c_str());
            unreadable = true;
            continue;
        }
        const auto findings =
            checkImage(image, status, checked.size, request, checked.erasedPastBuffer);
        unfit = unfit || hasError(findings);
        const std::string text = inv.json ? checkJson(file, status, findings)
                                          : checkHuman(file, image, status, findings);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    return unreadable ? kExitFile : unfit ? kExitInvalid : kExitDone;
}

}  // namespace vorlane::cli
