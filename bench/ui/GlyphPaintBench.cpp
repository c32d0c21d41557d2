// A full paint of the glyph dialog, offscreen: the window's background and preview, both enlarged
// grids with every pixel lit, the buttons and texts, as the window system asks for it at the
// first show or after the dialog was uncovered.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "bench/ui/OffscreenBenchMain.h"
#include "dialogkit/qt/QtHandle.h"
#include "image/RomImage.h"
#include "res/resource.h"
#include "ui/GlyphDlg.h"

namespace {

using namespace vorlane;

// A reset image with fonts "located" at the start: every byte 0xFF, so every pixel of both
// glyphs is lit.
struct LitGlyph {
    LitGlyph() {
        image.font8x8Offset = 0x1000;
        image.font8x16Offset = 0x2000;
        dialog.m_pImage = &image;
        dialog.m_code = 0xDB;
        dialog.Create();
        vorlane::dk::toWidget(dialog.window())->ensurePolished();
        vorlane::dk::toWidget(dialog.GetDlgItem(res::IDC_GLYPH_8X16))->setFocus();
    }
    CRomImage image;
    CGlyphDlg dialog;
};

LitGlyph* g_lit = nullptr;

void paint(benchmark::State& state, QWidget* widget, QWidget::RenderFlags flags) {
    QImage target(widget->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        widget->render(&target, QPoint(), QRegion(), flags);
        benchmark::DoNotOptimize(target.constBits());
    }
}

// Everything, children included: what the benchmark's figure is about.
void BM_GlyphDialogFullPaint(benchmark::State& state) {
    paint(state, vorlane::dk::toWidget(g_lit->dialog.window()),
          QWidget::DrawWindowBackground | QWidget::DrawChildren);
}
// Its parts: the dialog's own paint (background and preview), and each enlarged grid.
void BM_GlyphDialogOwnPaint(benchmark::State& state) {
    paint(state, vorlane::dk::toWidget(g_lit->dialog.window()), QWidget::DrawWindowBackground);
}
void BM_GlyphGrid8x16(benchmark::State& state) {
    paint(state, vorlane::dk::toWidget(g_lit->dialog.GetDlgItem(res::IDC_GLYPH_8X16)), {});
}
void BM_GlyphGrid8x8(benchmark::State& state) {
    paint(state, vorlane::dk::toWidget(g_lit->dialog.GetDlgItem(res::IDC_GLYPH_8X8)), {});
}

BENCHMARK(BM_GlyphDialogFullPaint)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_GlyphDialogOwnPaint)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_GlyphGrid8x16)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_GlyphGrid8x8)->Unit(benchmark::kMicrosecond)->Repetitions(10);

}  // namespace

int main(int argc, char** argv) {
    return vorlane::bench::offscreenBenchmarkMain(argc, argv, g_lit);
}
