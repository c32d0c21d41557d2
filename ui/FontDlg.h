// The font dialog: the image's 8x16 text font as a 16 by 16 glyph grid, and the commands that
// replace both text fonts from a file or a built-in set, or write them to a file.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>

#include "dialogkit/Dialog.h"
#include "fontfile/CodePages.h"
#include "image/RomImage.h"

namespace vorlane {

// Where the glyphs of one paint are drawn: raw pixels over the area the glyphs can reach, put on
// the screen with one call when the paint ends. Setting tens of thousands of pixels one painter
// call at a time is far too slow; writing them into memory and drawing that once is not. It lives
// only inside one paint, so nothing of the image is kept from one paint to the next.
class GlyphCanvas {
  public:
    static constexpr QRgb kLit = 0xFF00FF00;  // RGB(0, 255, 0), opaque

    // `extent` is every pixel the glyphs may light; `black` is the area already filled with black.
    // Unlit pixels of the canvas inside `black` are black, elsewhere they leave what is beneath.
    GlyphCanvas(const dk::Rect& extent, const dk::Rect& black);

    // Lights the pixel at (x, y) in client coordinates; pixels outside the extent are dropped.
    void SetPixelV(int x, int y) {
        if (x >= extent_.left && x < extent_.right && y >= extent_.top && y < extent_.bottom) {
            row(y)[x - extent_.left] = kLit;
        }
    }
    // Lights the set bits of one glyph row at (x, y), bit 7 leftmost.
    void SetRow(int x, int y, uint8_t bits);
    // Draws the canvas where it belongs.
    void Draw(dk::PaintContext& dc) const;

  private:
    void takePixels();

    QRgb* row(int y) { return pixels_ + static_cast<ptrdiff_t>(y - extent_.top) * stride_; }

    dk::Rect extent_;
    QImage image_;
    // Taken once: every scanLine() call on a writable image checks whether it must detach.
    QRgb* pixels_ = nullptr;
    ptrdiff_t stride_ = 0;  // in pixels
};

class CFontDlg : public dk::CDialog {
  public:
    CFontDlg();
    ~CFontDlg() override;

    const dk::MessageMap* GetMessageMap() const override;

    // Members in declaration order; the comments name the bound control.
    CRomImage* m_pImage = nullptr;  // set by the owner before every run; not owned
    dk::CButton m_rusBox;           // 1029
    int m_rus = 0;                  // check of 1029

    // The font file dialogs' filters: the font file's entries first, then the font formats
    // people have, read and written through the font-file layer. A file whose name ends in one
    // of their extensions goes through that layer whichever entry it was chosen with.
    static constexpr const char* kLoadFontFilter =
        "Font Files (*.fnt)|*.fnt|All Files (*.*)|*.*|"
        "Console fonts (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|"
        "VGA 8x16 fonts (*.f16)|*.f16|VGA 8x8 fonts (*.f08)|*.f08||";
    static constexpr const char* kSaveFontFilter =
        "Font Files (*.fnt)|*.fnt|All Files (*.*)|*.*|"
        "Console fonts (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|"
        "VGA 8x16 fonts (*.f16)|*.f16|VGA 8x8 fonts (*.f08)|*.f08|PNG pictures (*.png)|*.png||";
    // Pixels per font pixel of a saved picture.
    static constexpr int kPngScale = 2;

    static constexpr int kGlyphsPerLine = 16;
    static constexpr int kGlyphRows = 16;

    // Draws one glyph of `rowCount` rows with its top-left pixel at (x, y).
    void DrawGlyph(const uint8_t* rows, int x, int y, GlyphCanvas& dc, int rowCount);

  protected:
    void DoDataExchange(dk::CDataExchange& dx) override;
    bool OnInitDialog() override;

    void OnPaint(dk::PaintContext& dc);
    void OnLoadFont();
    void OnSaveFont();
    void OnRus();

  private:
    // The code page fonts with a Unicode table are mapped to and written in: 866 while the
    // "Rus" box is ticked, else 437.
    fontfile::CodePage codePage();
};

}  // namespace vorlane
