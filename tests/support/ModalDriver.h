// Drives a nested modal dialog or popup menu from inside its own event loop: a timer waits for
// a new one to appear and runs an action on it. A watchdog closes whatever is still open after
// five seconds, so that a faulty test fails (fired() stays false) instead of hanging.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace vorlane::test {

class ModalDriver {
  public:
    ModalDriver() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* now = current();
            if (now != nullptr && now != baseline_.data() && now->isVisible()) {
                poll_.stop();
                watchdog_.stop();
                fired_ = true;
                action_(now);
            }
        });
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            poll_.stop();
            // Unblocks every nested loop still running.
            for (QWidget* open = current(); open != nullptr; open = current()) {
                if (auto* dialog = qobject_cast<QDialog*>(open)) {
                    dialog->done(0);
                } else {
                    open->close();
                }
                if (current() == open) {
                    break;
                }
            }
        });
    }
    // `action` runs once on the next popup or modal dialog other than the one active now.
    void onNext(std::function<void(QWidget*)> action) {
        action_ = std::move(action);
        baseline_ = current();
        fired_ = false;
        poll_.start(10);
        watchdog_.start(5000);
    }
    bool fired() const { return fired_; }

  private:
    static QWidget* current() {
        QWidget* popup = QApplication::activePopupWidget();
        return popup != nullptr ? popup : QApplication::activeModalWidget();
    }

    std::function<void(QWidget*)> action_;
    QPointer<QWidget> baseline_;
    QTimer poll_;
    QTimer watchdog_;
    bool fired_ = false;
};

}  // namespace vorlane::test
