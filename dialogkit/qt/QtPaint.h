// Kit-internal: the paint context's surface on Qt, a QPainter. A paint handler is given
//   PaintSurface surface(painter);
//   PaintContext dc(surface);
#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <memory>
#include <vector>

#include "dialogkit/PaintContext.h"

namespace vorlane::dk {

class PaintSurface {
  public:
    explicit PaintSurface(QPainter& p) : painter(p) {}

    QPainter& painter;
    // The image of a pending fill once a pixel has been set on it.
    std::unique_ptr<QImage> image;
    // Single pixels off the fill, all of one colour.
    std::vector<QPoint> points;
};

}  // namespace vorlane::dk
