#include "image/FileError.h"

#include <utility>

namespace vorlane {

FileError::FileError(std::string path, std::string operation, std::error_code reason)
    : std::runtime_error("cannot " + operation + " " + path + ": " + reason.message()),
      path_(std::move(path)),
      operation_(std::move(operation)),
      reason_(reason) {}

void throwFileError(const std::string& path, const char* operation, int error) {
    throw FileError(path, operation, std::error_code(error, std::generic_category()));
}

}  // namespace vorlane
