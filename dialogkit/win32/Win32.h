// Kit-internal: <windows.h> for the kit's Windows backend. The kit's plain values (Types.h) come
// first, since the system's macros of the same names (IDOK, MB_OK, SC_CLOSE, OFN_*, RGB) would
// otherwise rewrite their definitions; they stand for the same numbers. The system's A/W macros
// that share a name with a member of the kit's classes are taken back, so that the kit's headers
// mean the same in every file, whichever was included first.
#pragma once

#include "dialogkit/Types.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef AppendMenu
#undef GetDlgItemText
#undef GetWindowText
#undef LoadIcon
#undef MessageBox
#undef SetDlgItemText
#undef SetWindowText
