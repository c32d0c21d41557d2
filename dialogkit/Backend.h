// Kit-internal: what the parts every backend shares (dialogkit/*.cpp) give the backends, and
// what they ask of each backend.
#pragma once

#include <exception>
#include <string>

#include "dialogkit/Types.h"

namespace vorlane::dk {

// Reports `error` in an error box owned by `owner` (null: no owner). Never throws: reporting must
// not fail the event loop, and there is nowhere left to report to.
void reportException(std::exception_ptr error, WindowHandle owner);

// The backend's: the program's name as the user sees it, the caption of the kit's boxes by
// default.
std::string applicationDisplayName();
// The backend's: the kit's modal dialog running, null when there is none.
WindowHandle activeModalWindow();

}  // namespace vorlane::dk
