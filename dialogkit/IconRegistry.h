// Icons by resource ID, registered once at start-up and shown by template icon controls.
#pragma once

#include "dialogkit/Icon.h"

namespace vorlane::dk {

void registerIcon(int id, const Icon& icon);
// The registered icon, or a null icon.
Icon LoadIcon(int id);

}  // namespace vorlane::dk
