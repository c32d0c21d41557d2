#include "dialogkit/PaintContext.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPoint>

#include "dialogkit/Icon.h"

namespace vorlane::dk {

namespace {

// An image larger than this is not worth its memory; its pixels go the slow way.
constexpr int64_t kMaxCanvasPixels = 4096 * 4096;

QColor qcolour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

bool inside(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

PaintContext::PaintContext(QPainter& painter) : painter_(painter) {}

PaintContext::~PaintContext() {
    flush();
}

void PaintContext::flush() {
    if (pixels_ != nullptr) {
        painter_.drawImage(QPoint(canvas_.left, canvas_.top), *image_);
    } else if (fillPending_) {
        painter_.fillRect(QRect(fill_.left, fill_.top, fill_.width(), fill_.height()),
                          qcolour(fillColour_));
    }
    fillPending_ = false;
    canvasRefused_ = false;
    pixels_ = nullptr;
    image_.reset();
    // Never on the fill: a point there would have gone into its image.
    if (!points_.empty()) {
        painter_.setPen(QPen(qcolour(pointColour_), 1));
        painter_.drawPoints(points_.data(), static_cast<int>(points_.size()));
        points_.clear();
    }
}

void PaintContext::FillSolidRect(const Rect& rect, Rgb colour) {
    flush();
    fillPending_ = true;
    fill_ = rect;
    fillColour_ = colour;
}

bool PaintContext::makeCanvas() {
    const int64_t area = int64_t{fill_.width()} * fill_.height();
    if (fill_.width() <= 0 || fill_.height() <= 0 || area > kMaxCanvasPixels) {
        return false;
    }
    image_ = std::make_unique<QImage>(fill_.width(), fill_.height(), QImage::Format_RGB32);
    if (image_->isNull()) {
        image_.reset();
        return false;
    }
    image_->fill(qcolour(fillColour_));
    canvas_ = fill_;
    pixels_ = reinterpret_cast<uint32_t*>(image_->bits());
    stride_ = image_->bytesPerLine() / static_cast<ptrdiff_t>(sizeof(uint32_t));
    return true;
}

void PaintContext::setPixelsSlowly(int x, int y, uint8_t bits, Rgb colour) {
    for (int j = 0; j < 8; ++j) {
        if ((bits & (0x80 >> j)) == 0) {
            continue;
        }
        const int px = x + j;
        if (pixels_ == nullptr && fillPending_ && !canvasRefused_ && inside(fill_, px, y)) {
            canvasRefused_ = !makeCanvas();
        }
        if (onCanvas(px, y, 1)) {
            canvasRow(y)[px - canvas_.left] = opaque(colour);
            continue;
        }
        if (!points_.empty() && !(colour == pointColour_)) {
            flush();
        }
        pointColour_ = colour;
        points_.emplace_back(px, y);
    }
}

void PaintContext::DrawIcon(int x, int y, const Icon& icon) {
    flush();
    if (!icon.isNull()) {
        painter_.drawPixmap(QPoint(x, y), icon.pixmap(32));
    }
}

}  // namespace vorlane::dk
