// The font dialog: the image's 8x16 text font as a 16 by 16 glyph grid, and the commands that
// replace both text fonts from a file or a built-in set, or write them to a file.
#pragma once

#include <cstdint>

#include "dialogkit/Dialog.h"
#include "image/CodePages.h"
#include "image/RomImage.h"

namespace vorlane {

class CFontDlg : public dk::CDialog {
  public:
    CFontDlg();
    ~CFontDlg() override;

    const dk::MessageMap* GetMessageMap() const override;

    // Members in declaration order; the comments name the bound control.
    CRomImage* m_pImage = nullptr;  // set by the owner before every run; not owned
    dk::CButton m_rusBox;           // 1029
    int m_rus = 0;                  // check of 1029

    // Pixels per font pixel of a saved picture.
    static constexpr int kPngScale = 2;

    static constexpr int kGlyphsPerLine = 16;
    static constexpr int kGlyphRows = 16;

    // Draws one glyph of `rowCount` rows with its top-left pixel at (x, y).
    void DrawGlyph(const uint8_t* rows, int x, int y, dk::PaintContext& dc, int rowCount);

  protected:
    void DoDataExchange(dk::CDataExchange& dx) override;
    bool OnInitDialog() override;

    void OnPaint(dk::PaintContext& dc);
    void OnLoadFont();
    void OnSaveFont();
    void OnRus();
    // Opens the glyph dialog for the code whose cell was double-clicked.
    void OnLButtonDblClk(dk::Point at);

  private:
    // Where the paint puts the grid, measured afresh each time: the frame's area in client
    // coordinates, the cell size and the top-left corner of the first cell.
    struct GridGeometry {
        dk::Rect area;
        int cw;
        int ch;
        int x0;
        int y0;
    };
    GridGeometry MeasureGrid() const;
    // The code page fonts with a Unicode table are mapped to and written in: 866 while the
    // "Rus" box is ticked, else 437.
    CodePage codePage();
};

}  // namespace vorlane
