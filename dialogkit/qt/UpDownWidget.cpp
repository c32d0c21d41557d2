#include "dialogkit/qt/Widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <algorithm>

namespace vorlane::dk {

namespace {

constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 60;

// What a screen reader sees of an up-down control: a spin button with its position, range and
// the two steps the arrow buttons take.
class UpDownAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit UpDownAccessible(UpDownWidget* upDown)
        : QAccessibleWidget(upDown, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? QString::number(upDown()->position())
                                       : QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return upDown()->position(); }
    // As the user moving it there: reported once, like a step.
    void setCurrentValue(const QVariant& value) override {
        if (!upDown()->isEnabled()) {
            return;
        }
        upDown()->setPosition(value.toInt());
        if (upDown()->onScroll) {
            upDown()->onScroll();
        }
    }
    QVariant maximumValue() const override { return upDown()->upper(); }
    QVariant minimumValue() const override { return upDown()->lower(); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << increaseAction() << decreaseAction();
    }
    void doAction(const QString& name) override {
        if (name == increaseAction() || name == decreaseAction()) {
            // A disabled control ignores its arrows as well.
            if (upDown()->isEnabled()) {
                upDown()->step(name == increaseAction() ? +1 : -1);
            }
            return;
        }
        QAccessibleWidget::doAction(name);
    }

  private:
    UpDownWidget* upDown() const { return static_cast<UpDownWidget*>(widget()); }
};

QAccessibleInterface* upDownAccessible(const QString&, QObject* object) {
    auto* upDown = dynamic_cast<UpDownWidget*>(object);
    return upDown != nullptr ? new UpDownAccessible(upDown) : nullptr;
}

}  // namespace

UpDownWidget::UpDownWidget(QWidget* parent) : QWidget(parent) {
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(&upDownAccessible);
        return true;
    }();
    repeatTimer_.setSingleShot(false);
    QObject::connect(&repeatTimer_, &QTimer::timeout, this, [this] { repeat(); });
}

UpDownWidget::~UpDownWidget() {
    if (buddy_) {
        buddy_->removeEventFilter(this);
    }
}

void UpDownWidget::setBuddy(QLineEdit* buddy, bool writeInteger) {
    if (buddy_) {
        buddy_->removeEventFilter(this);
    }
    buddy_ = buddy;
    writeInteger_ = writeInteger;
    if (buddy_) {
        buddy_->installEventFilter(this);
    }
    writeBuddy();
}

void UpDownWidget::setRange(int lower, int upper) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    const int clamped = std::clamp(position_, lower_, upper_);
    if (clamped != position_) {
        setPosition(clamped);
    }
}

int UpDownWidget::setPosition(int position) {
    const int previous = position_;
    position_ = std::clamp(position, lower_, upper_);
    writeBuddy();
    if (position_ != previous) {
        QAccessibleValueChangeEvent event(this, position_);
        QAccessible::updateAccessibility(&event);
    }
    return previous;
}

void UpDownWidget::step(int direction) {
    setPosition(position_ + direction);
    if (onScroll) {
        onScroll();
    }
}

void UpDownWidget::writeBuddy() {
    QLineEdit* edit = buddy();
    if (edit != nullptr && writeInteger_) {
        if (auto* upper = dynamic_cast<EditWidget*>(edit)) {
            upper->setControlText(QString::number(position_));
        } else {
            edit->setText(QString::number(position_));
        }
    }
}

void UpDownWidget::repeat() {
    repeatTimer_.setInterval(kRepeatMs);
    if (pressed_ != 0) {
        step(pressed_);
    }
}

QSize UpDownWidget::sizeHint() const {
    return horizontal_ ? QSize(32, 16) : QSize(16, 32);
}

void UpDownWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();
    QRect down = all;
    QRect up = all;
    if (horizontal_) {
        down.setRight(all.left() + all.width() / 2 - 1);
        up.setLeft(down.right() + 1);
    } else {
        up.setBottom(all.top() + all.height() / 2 - 1);
        down.setTop(up.bottom() + 1);
    }
    const auto drawHalf = [&](const QRect& r, int direction) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = r;
        button.state |= QStyle::State_Raised;
        if (pressed_ == direction) {
            button.state |= QStyle::State_Sunken;
            button.state &= ~QStyle::State_Raised;
        }
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = r.adjusted(2, 2, -2, -2);
        const QStyle::PrimitiveElement element =
            horizontal_
                ? (direction < 0 ? QStyle::PE_IndicatorArrowLeft : QStyle::PE_IndicatorArrowRight)
                : (direction < 0 ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowUp);
        style()->drawPrimitive(element, &arrow, &painter, this);
    };
    drawHalf(down, -1);
    drawHalf(up, +1);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = all.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void UpDownWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const bool firstHalf = horizontal_ ? at.x() < width() / 2 : at.y() >= height() / 2;
    pressed_ = firstHalf ? -1 : +1;
    update();
    step(pressed_);
    repeatTimer_.start(kFirstRepeatMs);
}

void UpDownWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = 0;
        repeatTimer_.stop();
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

int UpDownWidget::stepForKey(int key) const {
    switch (key) {
        case Qt::Key_Up:
            return +1;
        case Qt::Key_Down:
            return -1;
        case Qt::Key_Right:
            return horizontal_ ? +1 : 0;
        case Qt::Key_Left:
            return horizontal_ ? -1 : 0;
        default:
            return 0;
    }
}

void UpDownWidget::keyPressEvent(QKeyEvent* event) {
    const int direction = arrowKeys_ && isEnabled() ? stepForKey(event->key()) : 0;
    if (direction == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    step(direction);
}

bool UpDownWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_.data() && event->type() == QEvent::KeyPress && arrowKeys_ &&
        isEnabled() && buddy() != nullptr) {
        auto* key = static_cast<QKeyEvent*>(event);
        int direction = stepForKey(key->key());
        // Left and right keep moving the cursor in a buddy the user can type in.
        if ((key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) && !buddy()->isReadOnly()) {
            direction = 0;
        }
        if (direction != 0) {
            step(direction);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vorlane::dk
