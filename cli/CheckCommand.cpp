#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <system_error>
#include <vector>

#include "cli/CardCommands.h"
#include "cli/Commands.h"
#include "cli/Values.h"
#include "image/Check.h"
#include "image/FileError.h"

namespace vorlane::cli {

namespace {

using Json = nlohmann::ordered_json;

// Standard input is read no further than this; no flash chip of these cards comes near it.
constexpr size_t kStandardInputLimit = 1024 * 1024;

// Reads standard input up to the limit; the count is the "file size" of `-`.
std::vector<uint8_t> readStandardInput() {
    std::vector<uint8_t> bytes(kStandardInputLimit);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(STDIN_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw FileError("-", "read", std::error_code(errno, std::generic_category()));
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

// Loads FILE as `info` does and returns the size of the whole file. Throws FileError.
uint64_t loadForCheck(CRomImage& image, const std::string& file, RomStatus& status) {
    if (file == "-") {
        const std::vector<uint8_t> bytes = readStandardInput();
        image.reset();
        image.loadBytes(bytes);
        status = image.validate();
        return bytes.size();
    }
    status = loadAndValidate(image, file, false);
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        throw FileError(file, "open", std::error_code(errno, std::generic_category()));
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
        const std::string text =
            inv.json ? checkJson(file, status, findings) : checkHuman(file, findings);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    return unreadable ? kExitFile : unfit ? kExitInvalid : kExitDone;
}

}  // namespace vorlane::cli
