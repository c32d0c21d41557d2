// `diff`: what differs between two images, for a person or as one JSON object.
#pragma once

#include <string>

#include "image/Diff.h"
#include "image/Report.h"

namespace vorlane::cli {

// The human report is the core's diffHuman, which the editor shows too.
std::string diffJson(const DiffSide& a, const DiffSide& b, const ImageDiff& diff);

// Loads, compares and prints; the exit status: 0 when no byte differs, 1 when any does.
// Throws FileError when A or B cannot be read.
int runDiff(const std::string& fileA, const std::string& fileB, bool json, bool skipChecksum);

}  // namespace vorlane::cli
