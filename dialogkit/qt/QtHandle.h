// Kit-internal: the opaque window handles of the kit's interface are Qt widgets in this backend.
#pragma once

#include <QWidget>

#include "dialogkit/Types.h"

namespace vorlane::dk {

inline QWidget* toWidget(WindowHandle handle) {
    return reinterpret_cast<QWidget*>(handle);
}
inline WindowHandle toHandle(const QWidget* widget) {
    return reinterpret_cast<WindowHandle>(const_cast<QWidget*>(widget));
}

}  // namespace vorlane::dk
