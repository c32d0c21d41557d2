// Kit-internal: the name a screen reader gives a control.
#pragma once

#include "dialogkit/win32/Win32.h"

#include <string>

namespace vorlane::dk {

// From now on the control's accessible object answers `name` when asked for the control's own
// name, and the system's answers to everything else. The system's object names an edit, a list or
// an arrow pair by nothing a dialog controls (Wine by the control's own text), where a reader
// should say the label beside it, as the other backends do.
void setScreenReaderName(HWND control, const std::wstring& name);

}  // namespace vorlane::dk
