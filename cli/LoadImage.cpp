#include "cli/LoadImage.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "cli/Output.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::cli {

namespace {

// The one reason the system has no errno for: a device, pipe or socket given as an image.
class CliErrorCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "vorlane-cli"; }
    std::string message(int) const override { return "Not a regular file"; }
};

std::error_code notRegularFile() {
    static const CliErrorCategory category;
    return {1, category};
}

}  // namespace

void requireRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throwFileError(path, "open", errno);
    }
    if (S_ISDIR(info.st_mode)) {
        throw FileError(path, "open", std::make_error_code(std::errc::is_a_directory));
    }
    if (!S_ISREG(info.st_mode)) {
        throw FileError(path, "open", notRegularFile());
    }
}

size_t loadImage(CRomImage& image, const std::string& path) {
    // Only regular files are images, and standard input when the user asks for it by name.
    if (!isStandardStream(path)) {
        requireRegularFile(path);
    }
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
