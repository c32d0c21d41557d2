#include "dialogkit/Widgets.h"

#include <qdrawutil.h>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QStylePainter>
#include <QValidator>
#include <algorithm>

namespace vorlane::dk {

namespace {

// Turns typed text to upper case in place; a QValidator may rewrite its input.
class UpperCaseValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

constexpr int kFirstRepeatMs = 400;
// Between a check box and its text; the classic controls keep it small.
constexpr int kLabelSpacing = 4;
constexpr int kRepeatMs = 60;

}  // namespace

EditWidget::EditWidget(QWidget* parent) : QLineEdit(parent) {}

void EditWidget::setUpperCase(bool on) {
    upperCase_ = on;
    setValidator(on ? new UpperCaseValidator(this) : nullptr);
    if (on) {
        setControlText(text());
    }
}

void EditWidget::setControlText(const QString& text) {
    setText(upperCase_ ? text.toUpper() : text);
    // Show the start of a text too long for the edit, not its end.
    setCursorPosition(0);
}

CheckBoxWidget::CheckBoxWidget(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

QSize CheckBoxWidget::sizeHint() const {
    return QCheckBox::sizeHint() + QSize(4, 2);
}

bool CheckBoxWidget::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

QRect CheckBoxWidget::innerRect() const {
    return edge_ ? rect().adjusted(2, 1, -1, -1) : rect();
}

QRect CheckBoxWidget::boxRect() const {
    const QRect area = innerRect();
    const int boxWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    const int boxHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    const int top = area.top() + (area.height() - boxHeight) / 2;
    return QRect(leftText_ ? area.right() - boxWidth + 1 : area.left(), top, boxWidth, boxHeight);
}

QRect CheckBoxWidget::labelRect() const {
    QRect label = innerRect();
    const QRect box = boxRect();
    if (leftText_) {
        label.setRight(box.left() - kLabelSpacing - 1);
    } else {
        label.setLeft(box.right() + kLabelSpacing + 1);
    }
    return label;
}

void CheckBoxWidget::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (edge_) {
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
    }
    QStyleOptionButton boxOption = option;
    boxOption.rect = boxRect();
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, boxOption);

    const QRect label = labelRect();
    const Qt::Alignment horizontal = alignment_ & Qt::AlignHorizontal_Mask;
    const int flags = static_cast<int>(horizontal) | Qt::AlignVCenter | Qt::TextShowMnemonic;
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(label, flags, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(label, flags, text()).adjusted(-1, 0, 1, 0) & rect();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void GroupBoxWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int top = metrics.height() / 2;
    qDrawShadeRect(&painter, rect().adjusted(0, top, 0, 0), palette(), true, 1, 0);
    if (title().isEmpty()) {
        return;
    }
    const int textWidth = metrics.horizontalAdvance(title()) + 4;
    const int left = (alignment() & Qt::AlignHCenter) != 0 ? (width() - textWidth) / 2 : 6;
    const QRect titleRect(left, 0, textWidth, metrics.height());
    painter.fillRect(titleRect, palette().color(QPalette::Window));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(titleRect, Qt::AlignCenter | Qt::TextShowMnemonic, title());
}

UpDownWidget::UpDownWidget(QWidget* parent) : QWidget(parent) {
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
        position_ = clamped;
        writeBuddy();
    }
}

int UpDownWidget::setPosition(int position) {
    const int previous = position_;
    position_ = std::clamp(position, lower_, upper_);
    writeBuddy();
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
