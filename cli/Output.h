// What every command of vorlane-cli shares: its exit statuses, the one error line, and writing
// to standard output.
#pragma once

#include <string>

#include "image/FileError.h"
#include "image/RomImage.h"

namespace vorlane::cli {

enum ExitStatus : int {
    kExitDone = 0,
    kExitInvalid = 1,  // an image failed validation, or an edit was refused
    kExitUsage = 2,
    kExitFile = 3,
};

// One line on standard error, `vorlane-cli: SUBJECT: REASON`.
void complain(const std::string& subject, const std::string& reason);

// A file error names the file it met, as given on the command line; returns kExitFile.
int fileFailure(const FileError& error);

// `vorlane-cli: FILE: refused: REASON`; returns kExitInvalid.
int refuse(const std::string& file, const std::string& reason);

// "status N, MESSAGE" on one line, for a refusal.
std::string statusReason(RomStatus status);

void writeOut(const std::string& text);

}  // namespace vorlane::cli
