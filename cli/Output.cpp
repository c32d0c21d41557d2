#include "cli/Output.h"

#include <cstdio>

#include "image/Text.h"

namespace vorlane::cli {

// Standard output is flushed first so that a terminal shows reports and errors in order.
void complain(const std::string& subject, const std::string& reason) {
    std::fflush(stdout);
    std::fprintf(stderr, "vorlane-cli: %s: %s\n", subject.c_str(), reason.c_str());
}

int fileFailure(const FileError& error) {
    complain(error.path(), error.reason());
    return kExitFile;
}

int refuse(const std::string& file, const std::string& reason) {
    complain(file, "refused: " + reason);
    return kExitInvalid;
}

std::string statusReason(RomStatus status) {
    return "status " + std::to_string(status) + ", " + oneLine(CRomImage::statusMessage(status));
}

void writeOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace vorlane::cli
