// The outer handler: what is thrown out of a handler is reported in an error box and goes no
// further, so no exception ever crosses the backend's event loop.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "dialogkit/Types.h"

namespace vorlane::dk {

// A file error as the outer handler reports it.
struct FileErrorInfo {
    std::string path;
    std::string operation;  // "open for reading", "write", ...
    std::string reason;     // the system's reason
};

// Teaches the outer handler to recognise a file-error type of the program:
//   dk::registerFileError<MyError>([](const MyError& e) { return dk::FileErrorInfo{...}; });
void registerFileErrorTranslator(std::function<std::optional<FileErrorInfo>(std::exception_ptr)>);
template <class E, class F>
void registerFileError(F describe) {
    registerFileErrorTranslator(
        [describe](std::exception_ptr error) -> std::optional<FileErrorInfo> {
            try {
                std::rethrow_exception(error);
            } catch (const E& e) {
                return describe(e);
            } catch (...) {
                return std::nullopt;
            }
        });
}

// The caption of the error box; empty means the application's display name.
void setErrorBoxTitle(std::string title);

// Runs `body`, reporting anything it throws in an error box owned by `owner`. False when it threw.
bool runGuarded(WindowHandle owner, const std::function<void()>& body);

}  // namespace vorlane::dk
