#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "dialogkit/qt/QtPaint.h"
#include "dialogkit/qt/Widgets.h"

namespace vorlane::dk {

namespace {

constexpr Rgb kLineColour{64, 64, 64};

Rgb rgbOf(const QColor& c) {
    return Rgb{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
               static_cast<uint8_t>(c.blue())};
}

// A solid block through the paint context's batch of pixels, so that it lands in the image of the
// fill beneath it rather than ending that fill.
void fillBlock(PaintContext& dc, int x, int y, int width, int height, Rgb colour) {
    for (int row = y; row < y + height; ++row) {
        for (int left = x; left < x + width; left += 8) {
            const int count = std::min(8, x + width - left);
            dc.SetPixelRow(left, row, static_cast<uint8_t>(0xFF00 >> count), colour);
        }
    }
}

}  // namespace

BitGridWidget::BitGridWidget(QWidget* parent) : QWidget(parent) {}

void BitGridWidget::setRows(std::vector<uint8_t> rows) {
    rows_ = std::move(rows);
    cursor_.setY(std::clamp(cursor_.y(), 0, std::max(0, static_cast<int>(rows_.size()) - 1)));
    dragging_ = false;
    update();
}

void BitGridWidget::setColours(Rgb lit, Rgb unlit) {
    lit_ = lit;
    unlit_ = unlit;
    update();
}

int BitGridWidget::pitch() const {
    if (rows_.empty()) {
        return 0;
    }
    return std::max(
        2, std::min((width() - 1) / kColumns, (height() - 1) / static_cast<int>(rows_.size())));
}

QPoint BitGridWidget::origin() const {
    const int p = pitch();
    return QPoint((width() - (p * kColumns + 1)) / 2,
                  (height() - (p * static_cast<int>(rows_.size()) + 1)) / 2);
}

QRect BitGridWidget::cellRect(int column, int row) const {
    const int p = pitch();
    return QRect(origin() + QPoint(column * p + 1, row * p + 1), QSize(p - 1, p - 1));
}

std::optional<QPoint> BitGridWidget::cellAt(QPoint position) const {
    const int p = pitch();
    if (p == 0) {
        return std::nullopt;
    }
    const QPoint at = position - origin();
    if (at.x() < 0 || at.y() < 0) {
        return std::nullopt;
    }
    const QPoint cell(at.x() / p, at.y() / p);
    if (cell.x() >= kColumns || cell.y() >= static_cast<int>(rows_.size())) {
        return std::nullopt;
    }
    return cell;
}

bool BitGridWidget::bit(QPoint cell) const {
    return (rows_[cell.y()] & (0x80 >> cell.x())) != 0;
}

void BitGridWidget::setBit(QPoint cell, bool on) {
    uint8_t& row = rows_[cell.y()];
    const auto mask = static_cast<uint8_t>(0x80 >> cell.x());
    row = on ? row | mask : row & ~mask;
}

void BitGridWidget::changed() {
    update();
    if (onChange) {
        onChange();
    }
}

void BitGridWidget::paintEvent(QPaintEvent*) {
    const int p = pitch();
    if (p == 0) {
        return;
    }
    QPainter painter(this);
    PaintSurface surface(painter);
    PaintContext dc(surface);
    const QPoint o = origin();
    const int rowCount = static_cast<int>(rows_.size());
    dc.FillSolidRect(Rect{o.x(), o.y(), o.x() + p * kColumns + 1, o.y() + p * rowCount + 1},
                     kLineColour);
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QRect cell = cellRect(column, row);
            fillBlock(dc, cell.x(), cell.y(), cell.width(), cell.height(),
                      bit(QPoint(column, row)) ? lit_ : unlit_);
        }
    }
    if (hasFocus()) {
        // Two pixels wide, over the lines around the cell and its own edge, so that it shows on
        // a lit cell and on a dark one.
        const Rgb mark = rgbOf(palette().color(QPalette::Highlight));
        const QRect c = cellRect(cursor_.x(), cursor_.y()).adjusted(-1, -1, 1, 1);
        fillBlock(dc, c.x(), c.y(), c.width(), 2, mark);
        fillBlock(dc, c.x(), c.bottom() - 1, c.width(), 2, mark);
        fillBlock(dc, c.x(), c.y(), 2, c.height(), mark);
        fillBlock(dc, c.right() - 1, c.y(), 2, c.height(), mark);
    }
}

void BitGridWidget::mousePressEvent(QMouseEvent* event) {
    const std::optional<QPoint> cell = cellAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !cell) {
        QWidget::mousePressEvent(event);
        return;
    }
    cursor_ = *cell;
    dragging_ = true;
    dragValue_ = !bit(*cell);
    lastCell_ = cell;
    setBit(*cell, dragValue_);
    changed();
}

void BitGridWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || (event->buttons() & Qt::LeftButton) == 0) {
        return;
    }
    const std::optional<QPoint> cell = cellAt(event->position().toPoint());
    if (cell && cell != lastCell_) {
        dragLine(lastCell_.value_or(*cell), *cell);
        cursor_ = *cell;
        changed();
    }
    lastCell_ = cell;
}

void BitGridWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
    }
}

// A fast drag reports points cells apart; the cells between them were passed all the same.
void BitGridWidget::dragLine(QPoint from, QPoint to) {
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    QPoint at = from;
    for (int error = dx + dy;;) {
        setBit(at, dragValue_);
        if (at == to) {
            break;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += sx;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += sy;
        }
    }
}

void BitGridWidget::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int lastRow = static_cast<int>(rows_.size()) - 1;
    if (!plain || lastRow < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    QPoint next = cursor_;
    switch (event->key()) {
        case Qt::Key_Left:
            next.rx() -= 1;
            break;
        case Qt::Key_Right:
            next.rx() += 1;
            break;
        case Qt::Key_Up:
            next.ry() -= 1;
            break;
        case Qt::Key_Down:
            next.ry() += 1;
            break;
        case Qt::Key_Space:
            setBit(cursor_, !bit(cursor_));
            changed();
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    cursor_ = QPoint(std::clamp(next.x(), 0, kColumns - 1), std::clamp(next.y(), 0, lastRow));
    update();
}

void BitGridWidget::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void BitGridWidget::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

}  // namespace vorlane::dk
