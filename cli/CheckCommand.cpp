#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// Loads FILE as `info` does and returns the size of the whole file. Throws FileError.
uint64_t loadForCheck(CRomImage& image, const std::string& file, RomStatus& status) {
    if (isStandardStream(file)) {
        const std::vector<uint8_t> bytes = readFileUpTo(file, kStandardInputLimit);
        image.reset();
        image.loadBytes(bytes);
        status = image.validate();
        return bytes.size();
    }
    status = loadAndValidate(image, file, false);
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        throwFileError(file, "open", errno);
    }
    return static_cast<uint64_t>(info.st_size);
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
        uint64_t size = 0;
        try {
            size = loadForCheck(image, file, status);
        } catch (const FileError& error) {
            std::fflush(stdout);
            std::fprintf(stderr, "vorlane-cli: %s: %s\n", file.c_str(), error.reason().c_str());
            unreadable = true;
            continue;
        }
        const auto findings = checkImage(image, status, size, request);
        unfit = unfit || hasError(findings);
        const std::string text = inv.json
                                     ? checkJson(file, status, findings)
                                     : checkHuman(file, findings) + olderFamilyLine(image, status);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    return unreadable ? kExitFile : unfit ? kExitInvalid : kExitDone;
}

}  // namespace vorlane::cli
