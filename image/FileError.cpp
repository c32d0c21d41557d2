#include "image/FileError.h"

#include <utility>

namespace vorlane {

FileError::FileError(std::string path, std::string operation, std::error_code reason)
    : std::runtime_error("cannot " + operation + " " + path + ": " + reason.message()),
      path_(std::move(path)),
      operation_(std::move(operation)),
      reason_(reason) {}

namespace {

class FileRefusalCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "vorlane-file"; }
    std::string message(int code) const override {
        switch (static_cast<FileRefusal>(code)) {
            case FileRefusal::NotRegularFile:
                return "Not a regular file";
            case FileRefusal::NothingToWrite:
                return "Nothing to write (0 bytes), so the file is left as it was";
        }
        return "Unknown refusal";
    }
};

}  // namespace

std::error_code makeErrorCode(FileRefusal refusal) {
    static const FileRefusalCategory category;
    return {static_cast<int>(refusal), category};
}

void throwFileError(const std::string& path, const char* operation, int error) {
    throw FileError(path, operation, std::error_code(error, std::generic_category()));
}

}  // namespace vorlane
