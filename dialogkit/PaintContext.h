// What a paint handler draws with: a few primitives over QPainter in client coordinates.
#pragma once

#include <span>
#include <vector>

#include "dialogkit/Types.h"

class QPainter;
class QImage;
class QPoint;

namespace vorlane::dk {

class Icon;

class PaintContext {
  public:
    explicit PaintContext(QPainter& painter);
    ~PaintContext();
    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;

    void FillSolidRect(const Rect& rect, Rgb colour);
    // Single pixels are gathered and drawn in batches of one colour, so code that sets tens of
    // thousands of pixels one call at a time stays fast; the order of drawing is kept.
    void SetPixel(int x, int y, Rgb colour);
    void SetPixels(std::span<const Point> points, Rgb colour);
    void DrawImage(int x, int y, const QImage& image);
    void DrawIcon(int x, int y, const Icon& icon);
    // Pending pixels are drawn before the painter is handed out.
    QPainter& painter();

  private:
    void flush();

    QPainter& painter_;
    std::vector<QPoint> pending_;
    Rgb pendingColour_{};
};

}  // namespace vorlane::dk
