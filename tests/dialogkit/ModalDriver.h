// Drives a nested modal dialog or popup menu from inside its own event loop: a timer waits for
// it to appear and runs an action on it. A watchdog closes whatever is still open after the
// timeout and records the failure, so a faulty test fails instead of hanging.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vorlane::test {

class ModalDriver {
  public:
    enum class Kind { Modal, Popup };

    // Arms the driver: `action` runs once on the next modal dialog (or popup) that is not the
    // one active now.
    void onNext(Kind kind, std::function<void(QWidget*)> action, int timeoutMs = 5000);
    bool fired() const { return fired_; }
    bool timedOut() const { return timedOut_; }

  private:
    void poll();
    static QWidget* current(Kind kind);

    Kind kind_ = Kind::Modal;
    std::function<void(QWidget*)> action_;
    QPointer<QWidget> baseline_;
    QTimer poll_;
    QTimer watchdog_;
    bool fired_ = false;
    bool timedOut_ = false;
};

}  // namespace vorlane::test
