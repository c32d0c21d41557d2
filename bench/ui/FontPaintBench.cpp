// A full paint of the font dialog with every glyph pixel lit (256 glyphs x 16 rows x 8 pixels =
// 32768 pixels), offscreen. The dialog's own paint is measured against the same grid drawn with a
// paint-context call per pixel, and against a repaint of the whole window with its controls.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "bench/ui/OffscreenBenchMain.h"
#include "dialogkit/qt/QtHandle.h"
#include "dialogkit/qt/QtPaint.h"
#include "image/RomImage.h"
#include "res/resource.h"
#include "ui/FontDlg.h"

namespace {

using namespace vorlane;

// A reset image: every byte 0xFF and no font located, so the grid is the first 4096 bytes and
// every glyph is a solid block.
struct LitDialog {
    LitDialog() {
        dialog.m_pImage = &image;
        dialog.Create();
        vorlane::dk::toWidget(dialog.window())->ensurePolished();
    }
    CRomImage image;
    CFontDlg dialog;
};

// Made in main(), once the application exists, and gone before it ends.
LitDialog* g_lit = nullptr;

LitDialog& lit() {
    return *g_lit;
}

// The dialog's background and paint handler into an image like the offscreen backing store.
void BM_FontGridPaint(benchmark::State& state) {
    QWidget* window = vorlane::dk::toWidget(lit().dialog.window());
    QImage target(window->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window->render(&target, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 32768);
}

// The same grid, one paint-context call per lit pixel instead of one per glyph row.
void BM_FontGridPaintPerPixelCalls(benchmark::State& state) {
    LitDialog& d = lit();
    QWidget* window = vorlane::dk::toWidget(d.dialog.window());
    QImage target(window->size(), QImage::Format_ARGB32_Premultiplied);
    const dk::Rect frame = d.dialog.GetDlgItemClientRect(res::IDC_GLYPH_FRAME);
    const dk::Rect area = d.dialog.MapDlgItemRectToDialog(res::IDC_GLYPH_FRAME, frame);
    const int cw = frame.width() / 16;
    const int ch = frame.height() / 16;
    const int x0 = (area.left + area.right) / 2 - 8 * cw;
    const int y0 = (area.top + area.bottom) / 2 - 8 * ch;
    for (auto _ : state) {
        target.fill(window->palette().color(QPalette::Window));
        QPainter painter(&target);
        dk::PaintSurface surface(painter);
        dk::PaintContext dc(surface);
        dc.FillSolidRect(area, dk::RGB(0, 0, 0));
        for (int g = 0; g < 256; ++g) {
            const uint8_t* rows = d.image.data.data() + 16 * g;
            for (int i = 0; i < 16; ++i) {
                for (int j = 0; j < 8; ++j) {
                    if ((rows[i] & (0x80 >> j)) != 0) {
                        dc.SetPixelRow(x0 + g % 16 * cw + j, y0 + g / 16 * ch + i, 0x80,
                                       dk::RGB(0, 255, 0));
                    }
                }
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * 32768);
}

// The paint handler alone, without the window's background.
void BM_FontGridPaintHandlerOnly(benchmark::State& state) {
    QWidget* window = vorlane::dk::toWidget(lit().dialog.window());
    QImage target(window->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window->render(&target, QPoint(), QRegion(), {});
        benchmark::DoNotOptimize(target.constBits());
    }
}

// The whole window with its controls, as a screenshot draws it.
void BM_FontDialogWithControls(benchmark::State& state) {
    QWidget* window = vorlane::dk::toWidget(lit().dialog.window());
    QImage target(window->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

BENCHMARK(BM_FontGridPaint)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_FontGridPaintPerPixelCalls)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_FontGridPaintHandlerOnly)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_FontDialogWithControls)->Unit(benchmark::kMicrosecond)->Repetitions(10);

}  // namespace

int main(int argc, char** argv) {
    return vorlane::bench::offscreenBenchmarkMain(argc, argv, g_lit);
}
