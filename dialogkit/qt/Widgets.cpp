#include "dialogkit/qt/Widgets.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QPainter>
#include <QStyleOption>
#include <QStylePainter>
#include <QValidator>

namespace vorlane::dk {

namespace {

// Each code point to its one upper-case code point: full case mapping would turn "ß" into "SS",
// and what was typed must keep its length and the cursor its place.
QString upperCaseEach(const QString& text) {
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar unit = result.at(i);
        if (unit.isHighSurrogate() && i + 1 < result.size() && result.at(i + 1).isLowSurrogate()) {
            const char32_t upper = QChar::toUpper(QChar::surrogateToUcs4(unit, result.at(i + 1)));
            if (QChar::requiresSurrogates(upper)) {
                result[i] = QChar(QChar::highSurrogate(upper));
                result[i + 1] = QChar(QChar::lowSurrogate(upper));
            }
            ++i;
        } else if (!unit.isSurrogate()) {
            const char32_t upper = QChar::toUpper(char32_t{unit.unicode()});
            if (!QChar::requiresSurrogates(upper)) {
                result[i] = QChar(static_cast<char16_t>(upper));
            }
        }
    }
    return result;
}

// Turns typed text to upper case in place; a QValidator may rewrite its input.
class UpperCaseValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = upperCaseEach(input);
        return Acceptable;
    }
};

// Between a check box and its text; the classic controls keep it small.
constexpr int kLabelSpacing = 4;

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
    setText(upperCase_ ? upperCaseEach(text) : text);
    // Show the start of a text too long for the edit, not its end.
    setCursorPosition(0);
}

MultiLineEditWidget::MultiLineEditWidget(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab moves on to the next control, as everywhere in a dialog. Escape and Enter, which the
    // text ignores, reach the dialog: Cancel and the default button.
    setTabChangesFocus(true);
}

void MultiLineEditWidget::setFixedPitch(bool on) {
    if (!on) {
        setFont(QFont());
        return;
    }
    QFont fixed(QStringLiteral("Liberation Mono"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    fixed.setPointSizeF(QApplication::font().pointSizeF());
    setFont(fixed);
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

}  // namespace vorlane::dk
