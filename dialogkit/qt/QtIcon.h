// Kit-internal: an icon of the kit as Qt shows it.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "dialogkit/Icon.h"

namespace vorlane::dk {

// Made from the icon's images once and kept: the same images give the same QIcon.
const QIcon& qtIcon(const Icon& icon);
// The image closest to `size` pixels square.
inline QPixmap qtPixmap(const Icon& icon, int size) {
    return qtIcon(icon).pixmap(size, size);
}

}  // namespace vorlane::dk
