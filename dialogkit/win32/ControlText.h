// Kit-internal: a control's text as the user reads it, and setting it, whatever its kind.
#pragma once

#include <string>

#include "dialogkit/win32/Win32.h"

namespace vorlane::dk {

// An edit's, a label's, a button's, a group's title, a drop-down list's current entry (UTF-8).
std::string controlText(HWND control);
// A drop-down list selects the entry with that text, or none.
void setControlText(HWND control, const std::string& text);
// The control's window class, as "Button" or "Edit", compared without case.
bool hasClass(HWND control, const wchar_t* className);

}  // namespace vorlane::dk
