#include "cli/Commands.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

#include "cli/CardCommands.h"
#include "cli/DiffCommand.h"
#include "cli/PadCommand.h"
#include "cli/Report.h"
#include "cli/Values.h"
#include "fontfile/FontError.h"
#include "fontfile/FontFiles.h"
#include "image/Clock.h"
#include "image/FileError.h"
#include "image/FileIo.h"
#include "image/Text.h"

namespace vorlane::cli {

// Standard output is flushed first so that a terminal shows reports and errors in order.
void complain(const std::string& subject, const std::string& reason) {
    std::fflush(stdout);
    std::fprintf(stderr, "vorlane-cli: %s: %s\n", subject.c_str(), reason.c_str());
}

namespace {

// The one reason the system has no errno for: a device, pipe or socket given as an image.
class CliErrorCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "vorlane-cli"; }
    std::string message(int) const override { return "Not a regular file"; }
};

std::error_code notRegularFile() {
    static const CliErrorCategory category;
    return {1, category};
}

void writeOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// A file error names the file it met, as given on the command line.
int fileFailure(const FileError& error) {
    complain(error.path(), error.reason());
    return kExitFile;
}

int refuse(const std::string& file, const std::string& reason) {
    complain(file, "refused: " + reason);
    return kExitInvalid;
}

std::string statusReason(RomStatus status) {
    return "status " + std::to_string(status) + ", " + oneLine(CRomImage::statusMessage(status));
}

// The MHz options in the refusals name themselves; `which` is "engine" or "memory".
std::optional<int> resolveClock(const CRomImage& image, const char* which,
                                std::optional<int> feedback, std::optional<double> mhz,
                                std::string& refusal) {
    if (feedback) {
        return feedback;
    }
    if (!mhz) {
        return std::nullopt;
    }
    const FeedbackChoice choice = nearestFeedback(*mhz, image.stepClock);
    if (!choice.inReach) {
        refusal = formatPlain(
            "--%s-mhz %.6g: no feedback byte gives that clock (the nearest is %s MHz "
            "with byte %d, and a step is %s MHz)",
            which, *mhz, clockText(choice.feedback, image.stepClock).c_str(), choice.feedback,
            clockText(1, image.stepClock).c_str());
        return std::nullopt;
    }
    return choice.feedback;
}

int runInfo(const Invocation& inv) {
    int worst = kExitDone;
    bool first = true;
    for (const std::string& file : inv.files) {
        CRomImage image;
        RomStatus status = kRomOk;
        try {
            status = loadAndValidate(image, file, inv.skipChecksum);
        } catch (const FileError& error) {
            // One unreadable FILE does not keep the others from being reported.
            worst = fileFailure(error);
            continue;
        }
        if (inv.json) {
            writeOut(infoJson(image, status, file));
            writeOut("\n");
        } else {
            writeOut(first ? "" : "\n");
            writeOut(infoHuman(image, status, file));
        }
        first = false;
        if (status != kRomOk && worst == kExitDone) {
            worst = kExitInvalid;
        }
    }
    return worst;
}

// Loads FILE and refuses anything but a valid image; the exit status when it does not go on.
std::optional<int> loadValid(CRomImage& image, const std::string& file, bool skipChecksum) {
    const RomStatus status = loadAndValidate(image, file, skipChecksum);
    if (status != kRomOk) {
        return refuse(file, statusReason(status));
    }
    return std::nullopt;
}

int runEdit(const Invocation& inv) {
    const std::string& file = inv.files.front();
    CRomImage image;
    if (const auto failed = loadValid(image, file, inv.skipChecksum)) {
        return *failed;
    }
    const EditPlan plan = planEdits(image, inv.edits);
    if (!plan.refusal.empty()) {
        return refuse(file, plan.refusal);
    }
    try {
        applyEdits(image, plan);
    } catch (const FontRefused& refusal) {
        return refuse(refusal.path(), refusal.what());
    }
    image.saveFile(inv.inPlace ? file : inv.output);
    return kExitDone;
}

int runFontExport(const Invocation& inv) {
    const std::string& file = inv.files.front();
    CRomImage image;
    if (const auto failed = loadValid(image, file, inv.skipChecksum)) {
        return *failed;
    }
    if (!image.fontsLocated()) {
        return refuse(file, "the image's fonts are not located, so there is nothing to export");
    }
    const FontExportRequest& r = inv.fontExport;
    const auto page = codePageFromNumber(r.codePage).value_or(CodePage::Cp437);
    switch (r.format) {
        case FontFormat::Fnt:
            image.writeFontFile(inv.output);
            break;
        case FontFormat::Psf:
            fontfile::exportPsf(image, inv.output, r.height, page);
            break;
        case FontFormat::Png:
            fontfile::exportPng(image, inv.output, r.height, r.scale);
            break;
    }
    return kExitDone;
}

int runFixChecksum(const Invocation& inv) {
    const std::string& file = inv.files.front();
    CRomImage image;
    const RomStatus status = loadAndValidate(image, file, false);
    if (const char* refusal = saveRefusal(status, image.length)) {
        return refuse(file, statusReason(status) + ": " + refusal);
    }
    image.saveFile(inv.inPlace ? file : inv.output);
    return kExitDone;
}

int dispatch(const Invocation& inv) {
    switch (inv.command) {
        case Command::Help:
            writeOut(helpText());
            return kExitDone;
        case Command::Version:
            writeOut(versionLine());
            writeOut("\n");
            return kExitDone;
        case Command::Info:
            return runInfo(inv);
        case Command::Edit:
            return runEdit(inv);
        case Command::FontExport:
            return runFontExport(inv);
        case Command::FixChecksum:
            return runFixChecksum(inv);
        case Command::Diff:
            return runDiff(inv.files[0], inv.files[1], inv.json, inv.skipChecksum);
        case Command::Cards:
            return runCards(inv);
        case Command::ReadCard:
            return runReadCard(inv);
        case Command::Check:
            return runCheck(inv);
        case Command::Pad:
            return runPad(inv);
    }
    return kExitUsage;
}

}  // namespace

void requireRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throwFileError(path, "open", errno);
    }
    if (S_ISDIR(info.st_mode)) {
        throw FileError(path, "open", std::make_error_code(std::errc::is_a_directory));
    }
    if (!S_ISREG(info.st_mode)) {
        throw FileError(path, "open", notRegularFile());
    }
}

size_t loadImage(CRomImage& image, const std::string& path) {
    // A pipe or device could block the read or never end; only regular files are images, and
    // standard input when the user asks for it by name.
    if (!isStandardStream(path)) {
        requireRegularFile(path);
    }
    image.reset();
    image.loadFile(path);
    return static_cast<size_t>(image.length);
}

RomStatus loadAndValidate(CRomImage& image, const std::string& path, bool skipChecksum) {
    loadImage(image, path);
    image.skipChecksum = skipChecksum ? 1 : 0;
    return image.validate();
}

EditPlan planEdits(const CRomImage& image, const EditRequest& request) {
    EditPlan plan;
    if (request.changesClocks()) {
        if (!image.clockWriteGateOpen()) {
            plan.refusal = "the clock record is not located, so the clocks cannot be changed";
            return plan;
        }
        plan.engineFeedback =
            resolveClock(image, "engine", request.engineFeedback, request.engineMHz, plan.refusal);
        if (!plan.refusal.empty()) {
            return plan;
        }
        plan.memoryFeedback =
            resolveClock(image, "memory", request.memoryFeedback, request.memoryMHz, plan.refusal);
        if (!plan.refusal.empty()) {
            return plan;
        }
    }
    if (request.tvStandard) {
        if (!image.tvGateOpen()) {
            plan.refusal = image.pllOffset == 0
                               ? "--tv: the image has no PLL block"
                               : "--tv: the image has no TV standard to change (it is 0)";
            return plan;
        }
        plan.tvStandard = request.tvStandard;
    }
    if (request.subsystemVendorId || request.subsystemId) {
        if (image.subsystemVendorId == 0) {
            plan.refusal = "the image's subsystem vendor ID is 0, so its subsystem IDs stay";
            return plan;
        }
        plan.subsystemVendorId = request.subsystemVendorId;
        plan.subsystemId = request.subsystemId;
    }
    if (request.fontFile || request.builtinCyrillic) {
        if (!image.fontsLocated()) {
            plan.refusal = std::string(request.fontFile ? "--font-file" : "--builtin-font") +
                           ": the image's fonts are not located";
            return plan;
        }
        plan.fontFile = request.fontFile;
        plan.builtinCyrillic = request.builtinCyrillic;
    }
    if (request.font8x8 && image.font8x8Offset == 0) {
        plan.refusal = "--font-8x8: the image's 8x8 font is not located";
        return plan;
    }
    if (request.font8x16 && image.font8x16Offset == 0) {
        plan.refusal = "--font-8x16: the image's 8x16 font is not located";
        return plan;
    }
    plan.font8x8 = request.font8x8;
    plan.font8x16 = request.font8x16;
    plan.codePage = request.codePage;
    return plan;
}

void applyEdits(CRomImage& image, const EditPlan& plan) {
    if (plan.fontFile) {
        requireRegularFile(*plan.fontFile);
        image.readFontFile(*plan.fontFile);
    } else if (plan.builtinCyrillic) {
        image.applyBuiltinSet(*plan.builtinCyrillic);
    }
    const auto page = codePageFromNumber(plan.codePage).value_or(CodePage::Cp437);
    for (const auto& [path, height] : {std::pair{plan.font8x8, 8}, {plan.font8x16, 16}}) {
        if (!path) {
            continue;
        }
        requireRegularFile(*path);
        try {
            fontfile::importFont(image, *path, height, page);
        } catch (const fontfile::FontError& error) {
            throw FontRefused(*path, error.what());
        }
    }
    if (plan.engineFeedback || plan.memoryFeedback) {
        // Read only now: a new font that overlaps the clock record has already changed it.
        image.writeClocks(plan.engineFeedback.value_or(image.engineFeedback()),
                          plan.memoryFeedback.value_or(image.memoryFeedback()));
    }
    if (plan.tvStandard) {
        image.setTvStandard(*plan.tvStandard);
    }
    if (plan.subsystemVendorId || plan.subsystemId) {
        image.setSubsystemIds(plan.subsystemVendorId.value_or(image.subsystemVendorId),
                              plan.subsystemId.value_or(image.subsystemId));
    }
}

int run(int argc, const char* const* argv) {
    int status = kExitDone;
    try {
        status = dispatch(parseCommandLine(argc, argv));
    } catch (const FileError& error) {
        // Any other command ends at its first file error, whichever file it met.
        status = fileFailure(error);
    } catch (const UsageError& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "vorlane-cli: %s (see 'vorlane-cli --help')\n", error.what());
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        complain("error", "out of memory");
        return kExitFile;
    }
    // A report that did not reach its reader is a failed write like any other.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno != 0 ? errno : EIO;
        std::fprintf(stderr, "vorlane-cli: standard output: %s\n", std::strerror(error));
        return kExitFile;
    }
    return status;
}

}  // namespace vorlane::cli
