// How every command reads an image: as the editor does, and only from a regular file or from
// standard input asked for by name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "image/RomImage.h"

namespace vorlane::cli {

// Reads `path` into a freshly reset image without validating it, and returns the count of bytes
// read. Anything but a regular file is refused before it is opened. Throws FileError.
size_t loadImage(CRomImage& image, const std::string& path);

// Reads `path` into a freshly reset image and validates it. Anything but a regular file is
// refused before it is opened. Throws FileError.
RomStatus loadAndValidate(CRomImage& image, const std::string& path, bool skipChecksum);

// Loads FILE as above and refuses anything but a valid image: nothing when it is valid, else the
// exit status, the refusal reported. Throws FileError.
std::optional<int> loadValid(CRomImage& image, const std::string& file, bool skipChecksum);

}  // namespace vorlane::cli
