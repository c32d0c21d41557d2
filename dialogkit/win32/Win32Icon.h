// Kit-internal: the kit's XPM icons as system icons.
#pragma once

#include "dialogkit/win32/Win32.h"

#include "dialogkit/Icon.h"

namespace vorlane::dk {

// The icon at `size` pixels square, made from the image of that size or else the nearest larger
// (the system scales it); null for a null icon. Made once and kept for the program's life.
HICON nativeIcon(const Icon& icon, int size);

}  // namespace vorlane::dk
