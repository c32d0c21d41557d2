#include "dialogkit/OuterHandler.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "dialogkit/Backend.h"
#include "dialogkit/qt/QtHandle.h"

namespace vorlane::dk {

std::string applicationDisplayName() {
    return QApplication::applicationDisplayName().toStdString();
}

bool runGuarded(WindowHandle owner, const std::function<void()>& body) {
    // The handler may destroy the owner before it throws.
    QPointer<QWidget> guardedOwner = toWidget(owner);
    try {
        body();
        return true;
    } catch (...) {
        reportException(std::current_exception(), toHandle(guardedOwner.data()));
        return false;
    }
}

}  // namespace vorlane::dk
