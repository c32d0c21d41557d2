// JSON as vorlane-cli writes it, the one way for every command: built as an ordered
// nlohmann-json value, written on one line by jsonText.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "image/Info.h"

namespace vorlane::cli {

using Json = nlohmann::ordered_json;

// One info value as JSON; a single-precision number stays one.
Json jsonOf(const InfoValue& value);

// `value` on one line, without a line feed, keys in the order they were set. A text that is not
// UTF-8 (a file name need not be) has its stray bytes replaced by U+FFFD rather than making the
// line invalid. Every number with a fraction is a single-precision value and is written by
// float32Text: nlohmann would print 225 as "225.0" and only the digits that tell doubles apart,
// where a float needs nine significant digits to read back as itself.
std::string jsonText(const Json& value);

}  // namespace vorlane::cli
