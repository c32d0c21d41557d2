// The sizes the editor's icon is exported in, for the Linux icon theme and the Windows .ico
// alike. Larger sizes are whole-number enlargements of a drawn size: every pixel of the
// 16-colour drawing stays a sharp square.
#pragma once

#include "res/Strings.h"

namespace vorlane::packaging {

struct IconSize {
    int pixels;
    const char* const* drawing;
    int drawnPixels;
};

// 48 comes from the 16-pixel drawing (three times), since 48 is no whole multiple of 32.
inline constexpr IconSize kIconSizes[] = {
    {16, res::kIcon16, 16}, {32, res::kIcon32, 32},  {48, res::kIcon16, 16},
    {64, res::kIcon32, 32}, {128, res::kIcon32, 32},
};

}  // namespace vorlane::packaging
