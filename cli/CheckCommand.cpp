#include <cstdio>
#include <nlohmann/json.hpp>
#include <system_error>
#include <vector>

#include "cli/CardCommands.h"
#include "cli/Commands.h"
#include "cli/Report.h"
#include "cli/Values.h"
#include "image/Check.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::cli {

namespace {

using Json = nlohmann::ordered_json;

// Standard input is read no further than this; no flash chip of these cards comes near it.
constexpr size_t kStandardInputLimit = 1024 * 1024;

struct CheckedFile {
    uint64_t size = 0;
    bool moreThanSize = false;  // standard input went on past the limit
};

// Loads FILE as `info` does and returns the size of the whole file. Throws FileError.
CheckedFile loadForCheck(CRomImage& image, const std::string& file, RomStatus& status) {
    CheckedFile checked;
    image.reset();
    if (isStandardStream(file)) {
        // One byte past the limit tells an input that goes on from one that just fits.
        const std::vector<uint8_t> bytes = readFileUpTo(file, kStandardInputLimit + 1);
        image.loadBytes(bytes);
        checked.moreThanSize = bytes.size() > kStandardInputLimit;
        checked.size = checked.moreThanSize ? kStandardInputLimit : bytes.size();
    } else {
        // The size of the file that was read, not of whatever the path names a moment later.
        image.loadFile(file, &checked.size);
    }
    status = image.validate();
    return checked;
}

const char* levelName(CheckFinding::Level level) {
    return level == CheckFinding::Level::Error ? "error" : "warning";
}

std::string checkJson(const std::string& file, RomStatus status,
                      const std::vector<CheckFinding>& findings) {
    Json j;
    j["file"] = file;
    j["ok"] = !hasError(findings);
    j["status"] = status;
    j["findings"] = Json::array();
    for (const CheckFinding& finding : findings) {
        j["findings"].push_back({{"level", levelName(finding.level)},
                                 {"code", finding.code},
                                 {"message", finding.message}});
    }
    return j.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string checkHuman(const std::string& file, const std::vector<CheckFinding>& findings) {
    const char* verdict = hasError(findings)  ? "not fit"
                          : !findings.empty() ? "ok with warnings"
                                              : "ok";
    std::string out = file + ": " + verdict + "\n";
    for (const CheckFinding& finding : findings) {
        out += std::string("  ") + levelName(finding.level) + " " + finding.code + ": " +
               oneLine(finding.message) + "\n";
    }
    return out;
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
            checkImage(image, status, checked.size, request, checked.moreThanSize);
        unfit = unfit || hasError(findings);
        const std::string text = inv.json
                                     ? checkJson(file, status, findings)
                                     : checkHuman(file, findings) + olderFamilyLine(image, status);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    return unreadable ? kExitFile : unfit ? kExitInvalid : kExitDone;
}

}  // namespace vorlane::cli
