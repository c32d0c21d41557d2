#include "ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>

namespace vorlane::test {

QWidget* ModalDriver::current(Kind kind) {
    return kind == Kind::Modal ? QApplication::activeModalWidget()
                               : QApplication::activePopupWidget();
}

void ModalDriver::onNext(Kind kind, std::function<void(QWidget*)> action, int timeoutMs) {
    kind_ = kind;
    action_ = std::move(action);
    baseline_ = current(kind);
    fired_ = false;
    timedOut_ = false;
    poll_.disconnect();
    watchdog_.disconnect();
    QObject::connect(&poll_, &QTimer::timeout, [this] { poll(); });
    poll_.start(10);
    watchdog_.setSingleShot(true);
    QObject::connect(&watchdog_, &QTimer::timeout, [this] {
        poll_.stop();
        timedOut_ = true;
        // Unblock every nested loop still running.
        while (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->done(0);
            } else {
                modal->close();
            }
            if (QApplication::activeModalWidget() == modal) {
                break;
            }
        }
    });
    watchdog_.start(timeoutMs);
}

void ModalDriver::poll() {
    QWidget* now = current(kind_);
    if (now == nullptr || now == baseline_.data() || !now->isVisible()) {
        return;
    }
    poll_.stop();
    watchdog_.stop();
    fired_ = true;
    action_(now);
}

}  // namespace vorlane::test
