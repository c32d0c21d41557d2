#include "image/Info.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "image/Clock.h"
#include "image/Text.h"

namespace vorlane {

namespace {

InfoValue byteOrNull(const CRomImage& image, uint16_t offset) {
    return offset != 0 ? InfoValue(int64_t{image.data[offset]}) : InfoValue(nullptr);
}

InfoValue number(int64_t value) {
    return value;
}

}  // namespace

InfoRecord infoRecord(const CRomImage& image, RomStatus status) {
    const bool clocks = image.clockRecordLocated();
    const auto clock = [&](uint8_t feedback) {
        return clocks ? clockText(feedback, image.stepClock) : std::string();
    };
    return {
        {"status", number(status)},
        {"message", status != kRomOk ? InfoValue(std::string(CRomImage::statusMessage(status)))
                                     : InfoValue(nullptr)},
        {"length", number(image.length)},
        {"pcirOffset", number(image.pcirOffset)},
        {"headerOffset", number(image.headerOffset)},
        {"pllOffset", number(image.pllOffset)},
        {"tvOffset", number(image.tvOffset)},
        {"clockScanStart", number(image.clockScanStart)},
        {"engineFeedbackOffset", number(image.engineFeedbackOffset)},
        {"memoryFeedbackOffset", number(image.memoryFeedbackOffset)},
        {"referenceDividerOffset", number(image.referenceDividerOffset)},
        {"font8x8Offset", number(image.font8x8Offset)},
        {"font8x16Offset", number(image.font8x16Offset)},
        {"vendorId", number(image.vendorId)},
        {"deviceId", number(image.deviceId)},
        {"subsystemVendorId", number(image.subsystemVendorId)},
        {"subsystemId", number(image.subsystemId)},
        {"engineFeedback", byteOrNull(image, image.engineFeedbackOffset)},
        {"memoryFeedback", byteOrNull(image, image.memoryFeedbackOffset)},
        {"referenceDivider", byteOrNull(image, image.referenceDividerOffset)},
        {"engineClock", clock(image.engineFeedback())},
        {"memoryClock", clock(image.memoryFeedback())},
        {"tvStandard", number(image.tvStandard)},
        {"headText", latin1ToUtf8(image.headText())},
        {"infoText", latin1ToUtf8(image.info())},
        {"byteSum", number(image.byteSum())},
        {"cyrillicFont", image.isCyrillicSet()},
        {"stepClock", image.stepClock},
    };
}

bool sameInfoValue(const InfoValue& a, const InfoValue& b) {
    const float* fa = std::get_if<float>(&a);
    const float* fb = std::get_if<float>(&b);
    if (fa != nullptr && fb != nullptr) {
        return std::bit_cast<uint32_t>(*fa) == std::bit_cast<uint32_t>(*fb) ||
               (std::isnan(*fa) && std::isnan(*fb));
    }
    return a == b;
}

std::string float32Text(float value) {
    const double wide = value;
    char text[64];
    if (!std::isfinite(wide)) {
        std::snprintf(text, sizeof text, "%g", wide);
        return text;
    }
    const auto end = std::to_chars(text, text + sizeof text, wide).ptr;
    int digits = 0;
    bool leading = true;
    for (const char* c = text; c != end && *c != 'e'; ++c) {
        if (*c >= '1' && *c <= '9') {
            leading = false;
        }
        if (*c >= '0' && *c <= '9' && !leading) {
            ++digits;
        }
    }
    if (digits >= 9) {
        return std::string(text, end);
    }
    std::snprintf(text, sizeof text, "%#.9g", wide);
    return text;
}

}  // namespace vorlane
