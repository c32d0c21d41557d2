#include "dialogkit/FirstPaintProbe.h"

#include <unistd.h>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace vorlane::dk {

namespace {

// Paint events of top-level windows; the first one ends the process once painting is done.
class FirstPaintProbe : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!fired_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            fired_ = true;
            // The zero timer runs after the whole window has been painted and flushed.
            QTimer::singleShot(0, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-paint %lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }

  private:
    bool fired_ = false;
};

}  // namespace

void installFirstPaintProbe() {
    qApp->installEventFilter(new FirstPaintProbe(qApp));
}

}  // namespace vorlane::dk
