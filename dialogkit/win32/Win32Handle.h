// Kit-internal: the opaque window handles of the kit's interface are HWNDs in this backend, so a
// handle goes to and from the system's own calls unchanged.
#pragma once

#include "dialogkit/win32/Win32.h"

namespace vorlane::dk {

inline HWND toHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}
inline WindowHandle toHandle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

}  // namespace vorlane::dk
