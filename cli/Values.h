// Argument values of vorlane-cli: strict parsers that reject anything a script did not mean, and
// the small conversions the reports need.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlane::cli {

// A malformed command line. The message names the problem in one line, without the program name.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A decimal integer from `min` to `max`, digits only.
int parseDecimal(std::string_view option, std::string_view text, int min, int max);

// A decimal integer from 0 to 255, digits only.
int parseFeedbackByte(std::string_view option, std::string_view text);

// A decimal number greater than 0: digits with an optional fraction, no sign or exponent.
double parseMegahertz(std::string_view option, std::string_view text);

// One to four hexadecimal digits, with an optional 0x or 0X in front.
uint16_t parseHexId(std::string_view option, std::string_view text);

// A flash chip's size: 32K, 64K, 128K (either case of K) or a decimal number of bytes from 1 to
// kLargestChipSize; a larger one is a usage error that names that limit.
uint64_t parseChipSize(std::string_view option, std::string_view text);

// As vorlane::latin1ToUtf8, with control characters shown as '.', for text meant for a terminal.
std::string printableText(std::string_view bytes);

}  // namespace vorlane::cli
