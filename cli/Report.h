// What `info` prints about one validated (or failed) image.
#pragma once

#include <string>

#include "image/RomImage.h"

namespace vorlane::cli {

// One JSON object on one line, without the line feed.
std::string infoJson(const CRomImage& image, RomStatus status, const std::string& file);

// A block of lines for a person, ending in a line feed.
std::string infoHuman(const CRomImage& image, RomStatus status, const std::string& file);

}  // namespace vorlane::cli
