// What `info` prints about one validated (or failed) image.
#pragma once

#include <string>

#include "image/Info.h"
#include "image/Report.h"
#include "image/RomImage.h"

namespace vorlane::cli {

// One value as JSON text, on one line; a float with at least nine significant digits.
std::string jsonValue(const InfoValue& value);

// One JSON object on one line, without the line feed.
std::string infoJson(const CRomImage& image, RomStatus status, const std::string& file);

// A block of lines for a person, ending in a line feed.
std::string infoHuman(const CRomImage& image, RomStatus status, const std::string& file);

}  // namespace vorlane::cli
