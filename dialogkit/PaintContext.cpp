#include "dialogkit/PaintContext.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPoint>

#include "dialogkit/Icon.h"

namespace vorlane::dk {

namespace {
QColor qcolour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}
}  // namespace

PaintContext::PaintContext(QPainter& painter) : painter_(painter) {}

PaintContext::~PaintContext() {
    flush();
}

QPainter& PaintContext::painter() {
    flush();
    return painter_;
}

void PaintContext::flush() {
    if (pending_.empty()) {
        return;
    }
    painter_.setPen(QPen(qcolour(pendingColour_), 1));
    painter_.drawPoints(pending_.data(), static_cast<int>(pending_.size()));
    pending_.clear();
}

void PaintContext::FillSolidRect(const Rect& rect, Rgb colour) {
    flush();
    painter_.fillRect(QRect(rect.left, rect.top, rect.width(), rect.height()), qcolour(colour));
}

void PaintContext::SetPixel(int x, int y, Rgb colour) {
    if (!pending_.empty() && !(colour == pendingColour_)) {
        flush();
    }
    pendingColour_ = colour;
    pending_.emplace_back(x, y);
}

void PaintContext::SetPixels(std::span<const Point> points, Rgb colour) {
    for (const Point& p : points) {
        SetPixel(p.x, p.y, colour);
    }
}

void PaintContext::DrawImage(int x, int y, const QImage& image) {
    flush();
    painter_.drawImage(QPoint(x, y), image);
}

void PaintContext::DrawIcon(int x, int y, const Icon& icon) {
    flush();
    if (!icon.isNull()) {
        painter_.drawPixmap(QPoint(x, y), icon.pixmap(32));
    }
}

}  // namespace vorlane::dk
