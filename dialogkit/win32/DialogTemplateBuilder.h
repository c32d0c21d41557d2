// Kit-internal: a template of the kit as the system's in-memory dialog template (DLGTEMPLATEEX
// with its DLGITEMTEMPLATEEX items), so that the system creates the dialog, its font and its
// controls and maps the dialog units itself. Pure data: nothing here needs a window.
#pragma once

#include "dialogkit/win32/Win32.h"

#include <functional>
#include <string>
#include <vector>

#include "dialogkit/Template.h"

namespace vorlane::dk {

// The window class and styles a control kind and its template styles become.
struct NativeControl {
    std::wstring className;
    DWORD style = 0;
    DWORD exStyle = 0;
};
NativeControl nativeControl(const ControlTemplate& control);

struct NativeDialogStyle {
    DWORD style = 0;
    DWORD exStyle = 0;
};
NativeDialogStyle nativeDialogStyle(DialogStyle style);

// The template, DWORD-aligned as the system wants it; each text goes through `text` first (the
// translation), the caption and every control's.
std::vector<WORD> buildDialogTemplate(const DialogTemplate& dialog,
                                      const std::function<std::wstring(const char*)>& text);

}  // namespace vorlane::dk
