#include "cli/Report.h"

#include <cmath>
#include <cstdio>

#include "cli/Json.h"
#include "cli/Output.h"
#include "cli/Values.h"
#include "image/Clock.h"
#include "image/Info.h"
#include "image/Text.h"

namespace vorlane::cli {

namespace {

constexpr size_t kHeadTextShown = 80;

std::string clockLine(const char* label, const CRomImage& image, uint16_t offset) {
    if (!image.clockRecordLocated()) {
        return formatPlain("  %-11s not found (no clock record)\n", label);
    }
    const int feedback = image.data[offset];
    return formatPlain("  %-11s %s MHz  feedback %d at 0x%04x\n", label,
                       clockText(feedback, image.stepClock).c_str(), feedback, offset);
}

std::string fontOffset(uint16_t offset) {
    return offset != 0 ? formatPlain("at 0x%04x", offset) : std::string("not found");
}

}  // namespace

Json infoObject(const CRomImage& image, RomStatus status, const std::string& file) {
    const InfoRecord record = infoRecord(image, status);
    Json line = Json::object();
    // The keys are distinct by construction: appended without looking each one up.
    auto& members = line.get_ref<Json::object_t&>();
    members.reserve(record.size() + 1);
    members.emplace_back("file", file);
    for (const InfoField& field : record) {
        members.emplace_back(std::string(field.key), jsonOf(field.value));
    }
    return line;
}

std::string infoJson(const CRomImage& image, RomStatus status, const std::string& file) {
    return jsonText(infoObject(image, status, file));
}

std::string infoHuman(const CRomImage& image, RomStatus status, const std::string& file) {
    std::string out =
        file + ": status " + std::to_string(status) + ", " +
        (status == kRomOk ? std::string("valid") : oneLine(CRomImage::statusMessage(status))) +
        "\n";
    // A text at 0x50 that never ends (a blank or short image has no zero byte before the end
    // of the buffer) would fill the terminal with tens of thousands of characters; a person
    // reading the block needs its start only. The JSON keeps the whole text.
    const std::string_view head = image.headText();
    out += "  text        " + printableText(head.substr(0, kHeadTextShown)) +
           (head.size() > kHeadTextShown ? "..." : "") + "   " + printableText(image.info()) + "\n";
    out += clockLine("engine", image, image.engineFeedbackOffset);
    out += clockLine("memory", image, image.memoryFeedbackOffset);
    if (status == kRomOk) {
        out += formatPlain("  step clock  %.9g x 10 kHz = reference %u / divider %u\n",
                           static_cast<double>(image.stepClock), image.referenceFrequency(),
                           static_cast<unsigned>(image.referenceDivider()));
    } else {
        out += formatPlain("  step clock  %.9g x 10 kHz (not computed: the image is not valid)\n",
                           static_cast<double>(image.stepClock));
    }
    if (image.tvOffset == 0) {
        out += "  TV          None (no TV table)\n";
    } else {
        out += formatPlain("  TV          %s (%d)\n", tvStandardName(image.tvStandard),
                           image.tvStandard);
    }
    out += formatPlain(
        "  PCI IDs     vendor %04x  device %04x  subsystem vendor %04x  subsystem %04x\n",
        image.vendorId, image.deviceId, image.subsystemVendorId, image.subsystemId);
    out += "  fonts       8x8 " + fontOffset(image.font8x8Offset) + "  8x16 " +
           fontOffset(image.font8x16Offset) +
           "  Cyrillic set: " + (image.isCyrillicSet() ? "yes" : "no") + "\n";
    return out + olderFamilyLine(image, status);
}

void reportSkipped(const card::CardListing& listing) {
    for (const card::SkippedDevice& skipped : listing.skipped) {
        complain(skipped.path, "skipped: " + skipped.reason);
    }
}

}  // namespace vorlane::cli
