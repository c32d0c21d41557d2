// The core's messages as the editor shows them: in the user's language when the editor has it.
// The core itself writes English for the command line; the editor translates what it reports.
#pragma once

#include <string>
#include <system_error>

#include "image/ReportTexts.h"
#include "image/RomImage.h"

namespace vorlane {

std::string statusText(RomStatus status);
// What a file operation was doing ("open", "write") and the system's reason for its failure.
std::string fileOperationText(const std::string& operation);
std::string fileReasonText(std::error_code reason);
// Why an image is not saved (saveRefusal).
std::string saveRefusalText(const char* refusal);
// Why an image is not padded to a chip's size (padRefusal).
std::string padRefusalText(const std::string& refusal);
// A font file's fault ("glyphs are 9 pixels wide, need 8").
std::string fontErrorText(const std::string& message);
// The words of the Compare and Check reports in the language installed now; English without one.
ReportTexts reportTexts();
// The context of the reports' phrases.
inline constexpr const char* kReportContext = "Report";

}  // namespace vorlane
