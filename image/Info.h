// What is known about an image after validation, as one ordered list of named values: the single
// source of the fields that `info` reports and `diff` compares. Plain values only, so that each
// front end renders them its own way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "image/RomImage.h"

namespace vorlane {

// null, an integer, a truth value, a UTF-8 text or a single-precision number.
using InfoValue = std::variant<std::nullptr_t, int64_t, bool, std::string, float>;

struct InfoField {
    std::string_view key;  // a static name, spelled as the JSON key
    InfoValue value;
};

using InfoRecord = std::vector<InfoField>;

// The fields of `image` as the failed or successful `validate` that returned `status` left them.
// The keys and their order are the same for every image.
InfoRecord infoRecord(const CRomImage& image, RomStatus status);

// Equal as reported: floats by their bits (so that 0 and -0 differ, as their texts do), every NaN
// equal to every other.
bool sameInfoValue(const InfoValue& a, const InfoValue& b);

// A float as decimal text with at least nine significant digits, which a float needs to read
// back as itself: the shortest text of the same double when that has nine or more, else "%#.9g"
// (225 gives "225.000000"). Non-finite values give "nan", "inf" or "-inf".
std::string float32Text(float value);

}  // namespace vorlane
