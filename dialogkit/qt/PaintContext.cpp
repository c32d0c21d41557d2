#include "dialogkit/PaintContext.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPoint>

#include "dialogkit/Icon.h"
#include "dialogkit/qt/QtIcon.h"
#include "dialogkit/qt/QtPaint.h"

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

PaintContext::PaintContext(PaintSurface& surface) : surface_(surface) {}

PaintContext::~PaintContext() {
    flush();
}

void PaintContext::flush() {
    if (pixels_ != nullptr) {
        surface_.painter.drawImage(QPoint(canvas_.left, canvas_.top), *surface_.image);
    } else if (fillPending_) {
        surface_.painter.fillRect(QRect(fill_.left, fill_.top, fill_.width(), fill_.height()),
                                  qcolour(fillColour_));
    }
    fillPending_ = false;
    canvasRefused_ = false;
    pixels_ = nullptr;
    surface_.image.reset();
    // Never on the fill: a point there would have gone into its image.
    if (!surface_.points.empty()) {
        surface_.painter.setPen(QPen(qcolour(pointColour_), 1));
        surface_.painter.drawPoints(surface_.points.data(),
                                    static_cast<int>(surface_.points.size()));
        surface_.points.clear();
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
    surface_.image = std::make_unique<QImage>(fill_.width(), fill_.height(), QImage::Format_RGB32);
    if (surface_.image->isNull()) {
        surface_.image.reset();
        return false;
    }
    surface_.image->fill(qcolour(fillColour_));
    canvas_ = fill_;
    pixels_ = reinterpret_cast<uint32_t*>(surface_.image->bits());
    stride_ = surface_.image->bytesPerLine() / static_cast<ptrdiff_t>(sizeof(uint32_t));
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
        if (!surface_.points.empty() && !(colour == pointColour_)) {
            flush();
        }
        pointColour_ = colour;
        surface_.points.emplace_back(px, y);
    }
}

void PaintContext::DrawIcon(int x, int y, const Icon& icon) {
    flush();
    if (!icon.isNull()) {
        surface_.painter.drawPixmap(QPoint(x, y), qtPixmap(icon, 32));
    }
}

}  // namespace vorlane::dk
