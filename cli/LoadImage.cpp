#include "cli/LoadImage.h"

#include "cli/Output.h"
#include "image/FileIo.h"

namespace vorlane::cli {

size_t loadImage(CRomImage& image, const std::string& path) {
    // The file layer opens regular files only, and standard input when it is asked for by name.
    image.reset();
    image.loadFile(path);
    return static_cast<size_t>(image.length);
}

RomStatus loadAndValidate(CRomImage& image, const std::string& path, bool skipChecksum) {
    loadImage(image, path);
    image.skipChecksum = skipChecksum ? 1 : 0;
    return image.validate();
}

std::optional<int> loadValid(CRomImage& image, const std::string& file, bool skipChecksum) {
    const RomStatus status = loadAndValidate(image, file, skipChecksum);
    if (status != kRomOk) {
        return refuse(file, statusReason(status));
    }
    return std::nullopt;
}

}  // namespace vorlane::cli
