// What `info` prints about one validated (or failed) image, which `read-card` and `diff` print
// too, and the warnings about the devices a card listing passed over.
#pragma once

#include <string>

#include "card/Cards.h"
#include "cli/Json.h"
#include "image/Info.h"
#include "image/Report.h"
#include "image/RomImage.h"

namespace vorlane::cli {

// The object of one `info --json` line, for a command that adds members of its own.
Json infoObject(const CRomImage& image, RomStatus status, const std::string& file);

// One JSON object on one line, without the line feed.
std::string infoJson(const CRomImage& image, RomStatus status, const std::string& file);

// A block of lines for a person, ending in a line feed.
std::string infoHuman(const CRomImage& image, RomStatus status, const std::string& file);

// One warning line per device the listing passed over; the others are listed all the same.
void reportSkipped(const card::CardListing& listing);

}  // namespace vorlane::cli
