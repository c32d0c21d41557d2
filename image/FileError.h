// The one exception of the core: a file that could not be opened, read or written.
#pragma once

#include <stdexcept>
#include <string>
#include <system_error>

namespace vorlane {

class FileError : public std::runtime_error {
  public:
    // `operation` says what was being done, in a few words ("open for reading", "write").
    FileError(std::string path, std::string operation, std::error_code reason);

    const std::string& path() const noexcept { return path_; }
    const std::string& operation() const noexcept { return operation_; }
    std::error_code code() const noexcept { return reason_; }
    // The system's reason as text ("No such file or directory").
    std::string reason() const { return reason_.message(); }

  private:
    std::string path_;
    std::string operation_;
    std::error_code reason_;
};

// Throws a FileError whose reason is the system's error number `error` (errno).
[[noreturn]] void throwFileError(const std::string& path, const char* operation, int error);

// The reasons the file layer has that the system has no errno for.
enum class FileRefusal {
    NotRegularFile = 1,  // a device, FIFO, terminal or socket where a file's bytes were asked for
    NothingToWrite,      // a write of 0 bytes, which would only empty the file
};
std::error_code makeErrorCode(FileRefusal refusal);

}  // namespace vorlane
