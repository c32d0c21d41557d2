#include "cli/Values.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "image/Check.h"
#include "image/Text.h"

namespace vorlane::cli {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigit(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

[[noreturn]] void reject(std::string_view option, std::string_view text, std::string_view what) {
    throw UsageError(std::string(option) + ": '" + std::string(text) + "' is not " +
                     std::string(what));
}

}  // namespace

int parseDecimal(std::string_view option, std::string_view text, int min, int max) {
    const std::string what =
        "a decimal integer from " + std::to_string(min) + " to " + std::to_string(max);
    if (text.empty()) {
        reject(option, text, what);
    }
    for (char c : text) {
        if (!isDigit(c)) {
            reject(option, text, what);
        }
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < min || value > max) {
        reject(option, text, what);
    }
    return value;
}

int parseFeedbackByte(std::string_view option, std::string_view text) {
    return parseDecimal(option, text, 0, 255);
}

uint64_t parseChipSize(std::string_view option, std::string_view text) {
    constexpr std::string_view kWhat = "32K, 64K, 128K or a number of bytes";
    for (const auto& [name, bytes] : {std::pair{"32", 32768u}, {"64", 65536u}, {"128", 131072u}}) {
        if (text.size() == std::string_view(name).size() + 1 && text.starts_with(name) &&
            (text.back() == 'K' || text.back() == 'k')) {
            return bytes;
        }
    }
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || !isDigit(text.front()) || error != std::errc{} ||
        end != text.data() + text.size() || value == 0) {
        reject(option, text, kWhat);
    }
    if (value > kLargestChipSize) {
        throw UsageError(std::string(option) + ": '" + std::string(text) +
                         "' is more than 16 MiB (" + std::to_string(kLargestChipSize) +
                         " bytes): no flash chip of these cards comes near it");
    }
    return value;
}

double parseMegahertz(std::string_view option, std::string_view text) {
    constexpr std::string_view kWhat = "a decimal number of MHz greater than 0";
    // strtod alone would also take signs, exponents, hexadecimal, "inf" and "nan".
    size_t digits = 0;
    size_t points = 0;
    for (char c : text) {
        if (isDigit(c)) {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            reject(option, text, kWhat);
        }
    }
    if (digits == 0 || points > 1) {
        reject(option, text, kWhat);
    }
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(value) || value <= 0.0) {
        reject(option, text, kWhat);
    }
    return value;
}

uint16_t parseHexId(std::string_view option, std::string_view text) {
    constexpr std::string_view kWhat = "1 to 4 hexadecimal digits (an optional 0x may lead)";
    std::string_view digits = text;
    if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
    }
    if (digits.empty() || digits.size() > 4) {
        reject(option, text, kWhat);
    }
    unsigned value = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0) {
            reject(option, text, kWhat);
        }
        value = value * 16 + static_cast<unsigned>(d);
    }
    return static_cast<uint16_t>(value);
}

std::string printableText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
        if (control) {
            out += '.';
        } else {
            appendLatin1AsUtf8(out, c);
        }
    }
    return out;
}

}  // namespace vorlane::cli
