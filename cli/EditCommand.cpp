#include "cli/EditCommand.h"

#include <CLI/CLI.hpp>

#include "cli/LoadImage.h"
#include "cli/Output.h"
#include "fontfile/FontError.h"
#include "fontfile/FontFiles.h"
#include "image/Clock.h"
#include "image/CodePages.h"
#include "image/Text.h"

namespace vorlane::cli {

namespace {

void refuseTogether(const OptionText& a, const OptionText& b) {
    if (a.given() && b.given()) {
        throw UsageError("edit: " + a.name + " and " + b.name + " cannot be used together");
    }
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

}  // namespace

void EditOptions::declare(CLI::App& sub) {
    sub.add_option("FILE", file)->required();
    outputs.declare(sub);
    sub.add_flag("--skip-checksum", skipChecksum);
    engineFeedback_.declare(sub, "--engine-feedback", "N");
    memoryFeedback_.declare(sub, "--memory-feedback", "N");
    engineMHz_.declare(sub, "--engine-mhz", "F");
    memoryMHz_.declare(sub, "--memory-mhz", "F");
    tv_.declare(sub, "--tv", "ntsc|pal");
    subsystemVendor_.declare(sub, "--subsystem-vendor", "HEX");
    subsystem_.declare(sub, "--subsystem", "HEX");
    fontFile_.declare(sub, "--font-file", "F.fnt");
    builtinFont_.declare(sub, "--builtin-font", "standard|cyrillic");
    font8x16_.declare(sub, "--font-8x16", "F");
    font8x8_.declare(sub, "--font-8x8", "F");
    codePage_.declare(sub, "--codepage", "437|866");
}

void EditOptions::read() {
    outputs.read("edit");
    refuseTogether(engineFeedback_, engineMHz_);
    refuseTogether(memoryFeedback_, memoryMHz_);
    refuseTogether(fontFile_, builtinFont_);
    for (const OptionText* single : {&font8x16_, &font8x8_}) {
        refuseTogether(*single, fontFile_);
        refuseTogether(*single, builtinFont_);
    }
    if (codePage_.given() && !font8x16_.given() && !font8x8_.given()) {
        throw UsageError("edit: --codepage needs --font-8x16 or --font-8x8");
    }

    EditRequest& e = edits;
    if (engineFeedback_.given()) {
        e.engineFeedback = parseFeedbackByte(engineFeedback_.name, engineFeedback_.text);
    }
    if (memoryFeedback_.given()) {
        e.memoryFeedback = parseFeedbackByte(memoryFeedback_.name, memoryFeedback_.text);
    }
    if (engineMHz_.given()) {
        e.engineMHz = parseMegahertz(engineMHz_.name, engineMHz_.text);
    }
    if (memoryMHz_.given()) {
        e.memoryMHz = parseMegahertz(memoryMHz_.name, memoryMHz_.text);
    }
    if (tv_.given()) {
        e.tvStandard = tv_.oneOf<int>({{"ntsc", 1}, {"pal", 2}}, "ntsc or pal");
    }
    if (subsystemVendor_.given()) {
        e.subsystemVendorId = parseHexId(subsystemVendor_.name, subsystemVendor_.text);
    }
    if (subsystem_.given()) {
        e.subsystemId = parseHexId(subsystem_.name, subsystem_.text);
    }
    if (fontFile_.given()) {
        e.fontFile = fontFile_.text;
    }
    if (builtinFont_.given()) {
        e.builtinCyrillic = builtinFont_.oneOf<bool>({{"standard", false}, {"cyrillic", true}},
                                                     "standard or cyrillic");
    }
    if (font8x16_.given()) {
        e.font8x16 = font8x16_.text;
    }
    if (font8x8_.given()) {
        e.font8x8 = font8x8_.text;
    }
    if (codePage_.given()) {
        e.codePage = readCodePage(codePage_);
    }
    checkStandardInput("edit", {file}, outputs.inPlace);
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
        image.readFontFile(*plan.fontFile);
    } else if (plan.builtinCyrillic) {
        image.applyBuiltinSet(*plan.builtinCyrillic);
    }
    const auto page = codePageFromNumber(plan.codePage).value_or(CodePage::Cp437);
    for (const auto& [path, height] : {std::pair{plan.font8x8, 8}, {plan.font8x16, 16}}) {
        if (!path) {
            continue;
        }
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

int runEdit(const EditOptions& options) {
    const std::string& file = options.file;
    CRomImage image;
    if (const auto failed = loadValid(image, file, options.skipChecksum)) {
        return *failed;
    }
    const EditPlan plan = planEdits(image, options.edits);
    if (!plan.refusal.empty()) {
        return refuse(file, plan.refusal);
    }
    try {
        applyEdits(image, plan);
    } catch (const FontRefused& refusal) {
        return refuse(refusal.path(), refusal.what());
    }
    image.saveFile(options.outputs.inPlace ? file : options.outputs.output);
    return kExitDone;
}

}  // namespace vorlane::cli
