// The glyph dialog: one code of both text fonts, enlarged for editing pixel by pixel. The dialog
// edits copies; only OK writes them into the image.
#pragma once

#include "dialogkit/Dialog.h"
#include "image/CodePages.h"
#include "image/RomImage.h"

namespace vorlane {

class CGlyphDlg : public dk::CDialog {
  public:
    CGlyphDlg();
    ~CGlyphDlg() override;

    const dk::MessageMap* GetMessageMap() const override;

    // Set by the owner before every run. The image must have both fonts located.
    CRomImage* m_pImage = nullptr;          // not owned
    int m_code = 0;                         // 0 to 255
    CodePage m_codePage = CodePage::Cp437;  // for the character the code stands for
    dk::CBitGrid m_grid8x16;                // 1043
    dk::CBitGrid m_grid8x8;                 // 1044

    // The code as the dialog shows it: "0x41   A   (code page 437)".
    static std::string CodeText(int code, CodePage page);

  protected:
    void DoDataExchange(dk::CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    void OnPaint(dk::PaintContext& dc);
    void OnRevert();
    void OnGridChange();

  private:
    // The code's glyph in the image's font of `rows` rows.
    std::span<uint8_t> ImageGlyph(int rows);
};

}  // namespace vorlane
