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

// A field's value as a person reads it; the key says what kind of number it is, and a field
// unknown here shows as its plain value.
std::string shownValue(std::string_view key, const InfoValue& value) {
    if (std::holds_alternative<std::nullptr_t>(value)) {
        return "none";
    }
    if (const bool* flag = std::get_if<bool>(&value)) {
        return *flag ? "yes" : "no";
    }
    if (const float* number = std::get_if<float>(&value)) {
        return float32Text(*number);
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        if (key == "engineClock" || key == "memoryClock") {
            return text->empty() ? "not found" : *text + " MHz";
        }
        if (key == "message") {
            return oneLine(*text);
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
        return formatPlain("%lld (%s)", static_cast<long long>(n),
                           tvStandardName(static_cast<int>(n)));
    }
    return std::to_string(n);
}

std::string statusLine(const char* label, const DiffSide& side) {
    const RomStatus status = side.compared.status;
    return formatPlain("%s %s: %zu bytes, status %d, ", label, side.file.c_str(),
                       side.compared.loadedSize, status) +
           (status == kRomOk ? std::string("valid") : oneLine(CRomImage::statusMessage(status))) +
           "\n";
}

std::string fieldLines(const ImageDiff& diff) {
    if (diff.fields.empty()) {
        return "Fields: none differ\n";
    }
    size_t keyWidth = 0, aWidth = 1;
    std::vector<std::pair<std::string, std::string>> shown;
    for (const FieldChange& field : diff.fields) {
        shown.emplace_back(shownValue(field.key, field.a), shownValue(field.key, field.b));
        keyWidth = std::max(keyWidth, field.key.size());
        aWidth = std::max(aWidth, displayWidth(shown.back().first));
    }
    std::string out = padded("Fields", keyWidth + 4) + padded("A", aWidth + 2) + "B\n";
    for (size_t i = 0; i < shown.size(); ++i) {
        out += "  " + padded(std::string(diff.fields[i].key), keyWidth + 2) +
               padded(shown[i].first, aWidth + 2) + shown[i].second + "\n";
    }
    return out;
}

std::string glyphName(int code) {
    std::string out = formatPlain("0x%02x", code);
    const char32_t c = codePageCharacter(CodePage::Cp437, static_cast<uint8_t>(code));
    if (c == U' ' || c == 0 || c == U'\u00A0') {
        return out + (c == 0 ? " (null)" : c == U' ' ? " (space)" : " (no-break space)");
    }
    return out + ' ' + codePageText(CodePage::Cp437, static_cast<uint8_t>(code));
}

// Runs of three or more consecutive codes as "first..last", wrapped to the line width.
std::string glyphLine(const char* label, bool compared, const std::vector<int>& codes) {
    std::string out = formatPlain("  %-5s ", label);
    if (!compared) {
        return out + "not compared (a font is not located)\n";
    }
    if (codes.empty()) {
        return out + "none differ\n";
    }
    out += formatPlain("%zu differ:", codes.size());
    size_t column = displayWidth(out);
    for (size_t i = 0; i < codes.size();) {
        const bool first = i == 0;
        size_t j = i;
        while (j + 1 < codes.size() && codes[j + 1] == codes[j] + 1) {
            ++j;
        }
        std::string item;
        if (j - i >= 2) {
            item = glyphName(codes[i]) + " .. " + glyphName(codes[j]);
            i = j + 1;
        } else {
            item = glyphName(codes[i]);
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

std::string rangeLines(const DiffSide& a, const DiffSide& b, const ImageDiff& diff) {
    if (diff.byteRanges.empty()) {
        return "";
    }
    std::string out = formatPlain("Bytes: %zu differ in %zu range%s\n", diff.bytesDiffering,
                                  diff.byteRanges.size(), diff.byteRanges.size() == 1 ? "" : "s");
    const size_t shown = std::min(diff.byteRanges.size(), kRangesShown);
    for (size_t i = 0; i < shown; ++i) {
        const ByteRange& range = diff.byteRanges[i];
        out += formatPlain("  0x%04x  %6u byte%s", range.first, range.length,
                           range.length == 1 ? " " : "s");
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
        out += formatPlain("  ... and %zu more ranges (%zu bytes)\n",
                           diff.byteRanges.size() - shown, rest);
    }
    return out;
}

std::string plural(size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string glyphCount(bool compared, size_t count, const char* font) {
    return compared ? std::to_string(count) + " in " + font : std::string(font) + " not compared";
}

std::string summary(const ImageDiff& diff) {
    if (diff.identical()) {
        return "Identical: no byte differs\n";
    }
    return "Differ: " + plural(diff.bytesDiffering, "byte") + " in " +
           plural(diff.byteRanges.size(), "range") + "; " + plural(diff.fields.size(), "field") +
           "; glyphs " + glyphCount(diff.fonts8x16Compared, diff.glyphs8x16.size(), "8x16") + ", " +
           glyphCount(diff.fonts8x8Compared, diff.glyphs8x8.size(), "8x8") + "\n";
}

}  // namespace

const char* tvStandardName(int standard) {
    switch (standard) {
        case 0:
            return "None";
        case 1:
            return "NTSC";
        case 2:
            return "PAL";
        default:
            return "unknown";
    }
}

std::string diffHuman(const DiffSide& a, const DiffSide& b, const ImageDiff& diff) {
    std::string out = statusLine("A", a) + statusLine("B", b);
    if (!diff.identical()) {
        out += fieldLines(diff);
        out += "Glyphs\n";
        out += glyphLine("8x16", diff.fonts8x16Compared, diff.glyphs8x16);
        out += glyphLine("8x8", diff.fonts8x8Compared, diff.glyphs8x8);
        out += rangeLines(a, b, diff);
    }
    return out + summary(diff);
}

const char* checkLevelName(CheckFinding::Level level) {
    return level == CheckFinding::Level::Error ? "error" : "warning";
}

std::string olderFamilyLine(const CRomImage& image, RomStatus status) {
    const std::string note = olderFamilyNote(image, status);
    return note.empty() ? "" : "  older card  " + note + "\n";
}

std::string checkHuman(const std::string& file, const CRomImage& image, RomStatus status,
                       const std::vector<CheckFinding>& findings) {
    const char* verdict = hasError(findings)  ? "not fit"
                          : !findings.empty() ? "ok with warnings"
                                              : "ok";
    std::string out = file + ": " + verdict + "\n";
    for (const CheckFinding& finding : findings) {
        out += std::string("  ") + checkLevelName(finding.level) + " " + finding.code + ": " +
               oneLine(finding.message) + "\n";
    }
    return out + olderFamilyLine(image, status);
}

}  // namespace vorlane
