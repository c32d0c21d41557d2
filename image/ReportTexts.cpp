#include "image/ReportTexts.h"

#include <iterator>

namespace vorlane {

namespace {

using T = ReportTexts;

constexpr std::string T::*kPhrases[] = {
    &T::none,
    &T::yes,
    &T::no,
    &T::clockNotFound,
    &T::clockMHz,
    &T::tvNone,
    &T::tvUnknown,
    &T::sideStatus,
    &T::valid,
    &T::fieldsNoneDiffer,
    &T::fields,
    &T::glyphs,
    &T::fontNotCompared,
    &T::glyphsNoneDiffer,
    &T::glyphNull,
    &T::glyphSpace,
    &T::glyphNoBreakSpace,
    &T::bytesDiffer,
    &T::moreRanges,
    &T::identical,
    &T::differ,
    &T::glyphsInFont,
    &T::fontNotComparedShort,
    &T::fit,
    &T::fitWithWarnings,
    &T::notFit,
    &T::error,
    &T::warning,
    &T::moreThan,
    &T::vendorMessage,
    &T::deviceMessage,
    &T::codeTypeMessage,
    &T::tooBigMessage,
    &T::tooBigForAnyChipMessage,
    &T::trailingBytesMessage,
    &T::moreImagesMessage,
    &T::smallerThanChipMessage,
    &T::olderCard,
    &T::olderFamilyNote,
    &T::radeon7000Family,
    &T::radeon8500Family,
    &T::rage128Family,
    &T::mach64Family,
};

constexpr CountedText T::*kCounted[] = {
    &T::sizeBytes, &T::bytes, &T::differing, &T::ranges, &T::rangesNotShown, &T::fieldCount,
};

// A phrase added to the table and not to the lists would stay English in every translation.
static_assert(sizeof(ReportTexts) == 2 * sizeof(void*) + std::size(kPhrases) * sizeof(std::string) +
                                         std::size(kCounted) * sizeof(CountedText),
              "every member of ReportTexts is listed in kPhrases or kCounted");

}  // namespace

std::string ReportTexts::englishForm(const CountedText& text, uint64_t count) {
    return count == 1 ? text.one : text.other;
}

std::string ReportTexts::englishStatusMessage(RomStatus status) {
    return CRomImage::statusMessage(status);
}

std::span<std::string ReportTexts::*const> ReportTexts::phrases() {
    return kPhrases;
}

std::span<CountedText ReportTexts::*const> ReportTexts::counted() {
    return kCounted;
}

const ReportTexts& englishReportTexts() {
    static const ReportTexts english;
    return english;
}

std::string fillPlaces(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const size_t place = static_cast<size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && place < values.size()) {
            out += values.begin()[place];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string countText(const ReportTexts& texts, const CountedText& text, uint64_t count,
                      std::string_view shown) {
    return fillPlaces(texts.form(text, count), {shown});
}

std::string countText(const ReportTexts& texts, const CountedText& text, uint64_t count) {
    return countText(texts, text, count, std::to_string(count));
}

}  // namespace vorlane
