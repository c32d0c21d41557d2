#include "image/Report.h"

#include <algorithm>
#include <string_view>

#include "image/CodePages.h"
#include "image/OlderFamily.h"
#include "image/Text.h"

namespace vorlane {

namespace {

constexpr size_t kRangesShown = 20;
constexpr size_t kRangeBytesShown = 8;  // a range this short shows its bytes
constexpr size_t kTextShown = 40;       // characters of a text value
constexpr size_t kLineWidth = 80;
constexpr size_t kLengthWidth = 12;  // a range's length: "%6u" and its unit, " bytes"

bool startsCodePoint(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

size_t displayWidth(std::string_view utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), startsCodePoint));
}

std::string padded(const std::string& text, size_t width) {
    const size_t shown = displayWidth(text);
    return shown >= width ? text : text + std::string(width - shown, ' ');
}

// A UTF-8 text in quotes, its control characters (C0, DEL, C1) shown as '.', cut short.
std::string quotedText(std::string_view utf8) {
    std::string out = "\"";
    size_t shown = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (startsCodePoint(utf8[i]) && ++shown > kTextShown) {
            return out + "\"...";
        }
        const bool c1 =
            c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (c < 0x20 || c == 0x7F || c1) {
            out += '.';
            i += c1 ? 1 : 0;
        } else {
            out += utf8[i];
        }
    }
    return out + "\"";
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string tvName(int standard, const ReportTexts& texts) {
    switch (standard) {
        case 0:
            return texts.tvNone;
        case 1:
            return "NTSC";
        case 2:
            return "PAL";
        default:
            return texts.tvUnknown;
    }
}

// A field's value as a person reads it; the key says what kind of number it is, and a field
// unknown here shows as its plain value. The message is that of `status`, in the table's words.
std::string shownValue(std::string_view key, const InfoValue& value, RomStatus status,
                       const ReportTexts& texts) {
    if (std::holds_alternative<std::nullptr_t>(value)) {
        return texts.none;
    }
    if (const bool* flag = std::get_if<bool>(&value)) {
        return *flag ? texts.yes : texts.no;
    }
    if (const float* number = std::get_if<float>(&value)) {
        return float32Text(*number);
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        if (key == "engineClock" || key == "memoryClock") {
            return text->empty() ? texts.clockNotFound : fillPlaces(texts.clockMHz, {*text});
        }
        if (key == "message") {
            return oneLine(texts.statusMessage(status));
        }
        return quotedText(*text);
    }
    const int64_t n = std::get<int64_t>(value);
    if (endsWith(key, "Id")) {
        return formatPlain("%04llx", static_cast<long long>(n));
    }
    if (endsWith(key, "Offset") || key == "clockScanStart") {
        return formatPlain("0x%04llx", static_cast<long long>(n));
    }
    if (key == "tvStandard") {
        return formatPlain("%lld (", static_cast<long long>(n)) +
               tvName(static_cast<int>(n), texts) + ")";
    }
    return std::to_string(n);
}

std::string statusLine(const char* label, const DiffSide& side, const ReportTexts& texts) {
    const RomStatus status = side.compared.status;
    return fillPlaces(
               texts.sideStatus,
               {label, side.file, countText(texts, texts.sizeBytes, side.compared.loadedSize),
                std::to_string(status),
                status == kRomOk ? texts.valid : oneLine(texts.statusMessage(status))}) +
           "\n";
}

std::string fieldLines(const DiffSide& a, const DiffSide& b, const ImageDiff& diff,
                       const ReportTexts& texts) {
    if (diff.fields.empty()) {
        return texts.fieldsNoneDiffer + "\n";
    }
    size_t keyWidth = 0, aWidth = 1;
    std::vector<std::pair<std::string, std::string>> shown;
    for (const FieldChange& field : diff.fields) {
        shown.emplace_back(shownValue(field.key, field.a, a.compared.status, texts),
                           shownValue(field.key, field.b, b.compared.status, texts));
        keyWidth = std::max(keyWidth, field.key.size());
        aWidth = std::max(aWidth, displayWidth(shown.back().first));
    }
    std::string out = padded(texts.fields, keyWidth + 4) + padded("A", aWidth + 2) + "B\n";
    for (size_t i = 0; i < shown.size(); ++i) {
        out += "  " + padded(std::string(diff.fields[i].key), keyWidth + 2) +
               padded(shown[i].first, aWidth + 2) + shown[i].second + "\n";
    }
    return out;
}

std::string glyphName(int code, const ReportTexts& texts) {
    std::string out = formatPlain("0x%02x", code);
    const char32_t c = codePageCharacter(CodePage::Cp437, static_cast<uint8_t>(code));
    if (c == U' ' || c == 0 || c == U'\u00A0') {
        return out + " (" +
               (c == 0      ? texts.glyphNull
                : c == U' ' ? texts.glyphSpace
                            : texts.glyphNoBreakSpace) +
               ")";
    }
    return out + ' ' + codePageText(CodePage::Cp437, static_cast<uint8_t>(code));
}

// Runs of three or more consecutive codes as "first..last", wrapped to the line width.
std::string glyphLine(const char* label, bool compared, const std::vector<int>& codes,
                      const ReportTexts& texts) {
    std::string out = formatPlain("  %-5s ", label);
    if (!compared) {
        return out + texts.fontNotCompared + "\n";
    }
    if (codes.empty()) {
        return out + texts.glyphsNoneDiffer + "\n";
    }
    out += countText(texts, texts.differing, codes.size()) + ":";
    size_t column = displayWidth(out);
    for (size_t i = 0; i < codes.size();) {
        const bool first = i == 0;
        size_t j = i;
        while (j + 1 < codes.size() && codes[j + 1] == codes[j] + 1) {
            ++j;
        }
        std::string item;
        if (j - i >= 2) {
            item = glyphName(codes[i], texts) + " .. " + glyphName(codes[j], texts);
            i = j + 1;
        } else {
            item = glyphName(codes[i], texts);
            ++i;
        }
        if (column + 2 + displayWidth(item) > kLineWidth) {
            out += "\n         ";
            column = 9;
        } else {
            out += first ? " " : "  ";
            column += first ? 1 : 2;
        }
        out += item;
        column += displayWidth(item);
    }
    return out + "\n";
}

std::string rangeBytes(const ComparedImage& side, const ByteRange& range) {
    std::string out;
    for (uint32_t i = range.first; i < range.first + range.length; ++i) {
        out += i < side.loadedSize ? formatPlain(" %02x", side.image.data[i]) : " --";
    }
    return out.substr(1);
}

std::string rangeLines(const DiffSide& a, const DiffSide& b, const ImageDiff& diff,
                       const ReportTexts& texts) {
    if (diff.byteRanges.empty()) {
        return "";
    }
    std::string out =
        fillPlaces(texts.bytesDiffer, {countText(texts, texts.differing, diff.bytesDiffering),
                                       countText(texts, texts.ranges, diff.byteRanges.size())}) +
        "\n";
    const size_t shown = std::min(diff.byteRanges.size(), kRangesShown);
    for (size_t i = 0; i < shown; ++i) {
        const ByteRange& range = diff.byteRanges[i];
        out += formatPlain("  0x%04x  ", range.first) +
               padded(countText(texts, texts.bytes, range.length, formatPlain("%6u", range.length)),
                      kLengthWidth);
        if (range.length <= kRangeBytesShown) {
            out += "  " + rangeBytes(a.compared, range) + " -> " + rangeBytes(b.compared, range);
        }
        out += "\n";
    }
    if (diff.byteRanges.size() > shown) {
        size_t rest = 0;
        for (size_t i = shown; i < diff.byteRanges.size(); ++i) {
            rest += diff.byteRanges[i].length;
        }
        out += "  " +
               fillPlaces(texts.moreRanges,
                          {countText(texts, texts.rangesNotShown, diff.byteRanges.size() - shown),
                           countText(texts, texts.sizeBytes, rest)}) +
               "\n";
    }
    return out;
}

std::string glyphCount(bool compared, size_t count, const char* font, const ReportTexts& texts) {
    return compared ? fillPlaces(texts.glyphsInFont, {std::to_string(count), font})
                    : fillPlaces(texts.fontNotComparedShort, {font});
}

std::string summary(const ImageDiff& diff, const ReportTexts& texts) {
    if (diff.identical()) {
        return texts.identical + "\n";
    }
    return fillPlaces(texts.differ,
                      {countText(texts, texts.bytes, diff.bytesDiffering),
                       countText(texts, texts.ranges, diff.byteRanges.size()),
                       countText(texts, texts.fieldCount, diff.fields.size()),
                       glyphCount(diff.fonts8x16Compared, diff.glyphs8x16.size(), "8x16", texts),
                       glyphCount(diff.fonts8x8Compared, diff.glyphs8x8.size(), "8x8", texts)}) +
           "\n";
}

}  // namespace

const char* tvStandardName(int standard) {
    const ReportTexts& english = englishReportTexts();
    switch (standard) {
        case 0:
            return english.tvNone.c_str();
        case 1:
            return "NTSC";
        case 2:
            return "PAL";
        default:
            return english.tvUnknown.c_str();
    }
}

std::string diffHuman(const DiffSide& a, const DiffSide& b, const ImageDiff& diff,
                      const ReportTexts& texts) {
    std::string out = statusLine("A", a, texts) + statusLine("B", b, texts);
    if (!diff.identical()) {
        out += fieldLines(a, b, diff, texts);
        out += texts.glyphs + "\n";
        out += glyphLine("8x16", diff.fonts8x16Compared, diff.glyphs8x16, texts);
        out += glyphLine("8x8", diff.fonts8x8Compared, diff.glyphs8x8, texts);
        out += rangeLines(a, b, diff, texts);
    }
    return out + summary(diff, texts);
}

const char* checkLevelName(CheckFinding::Level level) {
    return level == CheckFinding::Level::Error ? "error" : "warning";
}

std::string olderFamilyLine(const CRomImage& image, RomStatus status, const ReportTexts& texts) {
    const std::string note = olderFamilyNote(image, status, texts);
    return note.empty() ? "" : "  " + texts.olderCard + "  " + note + "\n";
}

std::string checkHuman(const std::string& file, const CRomImage& image, RomStatus status,
                       const std::vector<CheckFinding>& findings, const ReportTexts& texts) {
    const std::string& verdict = hasError(findings)  ? texts.notFit
                                 : !findings.empty() ? texts.fitWithWarnings
                                                     : texts.fit;
    std::string out = file + ": " + verdict + "\n";
    for (const CheckFinding& finding : findings) {
        const bool error = finding.level == CheckFinding::Level::Error;
        out += "  " + (error ? texts.error : texts.warning) + " " + finding.code + ": " +
               oneLine(finding.message) + "\n";
    }
    return out + olderFamilyLine(image, status, texts);
}

}  // namespace vorlane
