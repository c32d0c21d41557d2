#include "ui/FontDlg.h"

#include <span>

#include "dialogkit/FileDialog.h"
#include "dialogkit/PaintContext.h"
#include "dialogkit/Translation.h"
#include "fontfile/FontError.h"
#include "fontfile/FontFormats.h"
#include "res/Templates.h"
#include "res/resource.h"
#include "ui/CoreTexts.h"
#include "ui/GlyphDlg.h"

namespace vorlane {

using namespace res;
using dk::IDOK;

namespace {

constexpr unsigned kOpenFlags = dk::OFN_FILEMUSTEXIST | dk::OFN_HIDEREADONLY;
constexpr unsigned kSaveFlags = dk::OFN_HIDEREADONLY | dk::OFN_OVERWRITEPROMPT;

// Requests a repaint of the whole dialog when it goes out of scope, however the scope is left.
class RepaintOnExit {
  public:
    explicit RepaintOnExit(dk::CDialog& dialog) : dialog_(dialog) {}
    ~RepaintOnExit() { dialog_.Invalidate(); }
    RepaintOnExit(const RepaintOnExit&) = delete;
    RepaintOnExit& operator=(const RepaintOnExit&) = delete;

  private:
    dk::CDialog& dialog_;
};

}  // namespace

CFontDlg::CFontDlg() : CDialog(kFontDialog) {}

CFontDlg::~CFontDlg() = default;

const dk::MessageMap* CFontDlg::GetMessageMap() const {
    static const auto map = dk::makeMessageMap<CFontDlg>(
        dk::onPaint(&CFontDlg::OnPaint), dk::onClicked(IDC_LOAD_FONT, &CFontDlg::OnLoadFont),
        dk::onClicked(IDC_SAVE_FONT, &CFontDlg::OnSaveFont),
        dk::onClicked(IDC_RUS, &CFontDlg::OnRus), dk::onLButtonDblClk(&CFontDlg::OnLButtonDblClk));
    return &map;
}

void CFontDlg::DoDataExchange(dk::CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    dk::DDX_Control(dx, IDC_RUS, m_rusBox);
    dk::DDX_Check(dx, IDC_RUS, m_rus);
}

bool CFontDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_rus = m_pImage != nullptr && m_pImage->isCyrillicSet() ? 1 : 0;
    m_rusBox.SetCheck(m_rus);
    SetButtonShortcuts(kFontShortcuts);
    return true;
}

void CFontDlg::OnPaint(dk::PaintContext& dc) {
    if (m_pImage == nullptr) {
        return;
    }
    const auto [area, cw, ch, x0, y0] = MeasureGrid();
    dc.FillSolidRect(area, dk::RGB(0, 0, 0));

    // Read from the image at every paint; a font offset set by hand still stays in the buffer.
    const std::span<const uint8_t> font =
        m_pImage->fontBytes(m_pImage->font8x16Offset, CRomImage::kFont8x16Size);
    for (int g = 0; g < 256; ++g) {
        DrawGlyph(font.data() + kGlyphRows * g, x0 + (g % kGlyphsPerLine) * cw,
                  y0 + (g / kGlyphsPerLine) * ch, dc, kGlyphRows);
    }
}

CFontDlg::GridGeometry CFontDlg::MeasureGrid() const {
    const dk::Rect frame = GetDlgItemClientRect(IDC_GLYPH_FRAME);
    const int cw = frame.width() / kGlyphsPerLine;
    const int ch = (frame.height() * 16) / 256;
    const dk::Rect area = MapDlgItemRectToDialog(IDC_GLYPH_FRAME, frame);
    const int x0 = (area.left + area.right) / 2 - (kGlyphsPerLine * cw) / 2;
    const int y0 = (area.top + area.bottom) / 2 - (kGlyphsPerLine * ch) / 2;
    return GridGeometry{area, cw, ch, x0, y0};
}

void CFontDlg::DrawGlyph(const uint8_t* rows, int x, int y, dk::PaintContext& dc, int rowCount) {
    // Each row's lit pixels in one call: set on the black fill, they go straight into its image.
    for (int i = 0; i < rowCount; ++i) {
        dc.SetPixelRow(x, y + i, rows[i], dk::RGB(0, 255, 0));
    }
}

void CFontDlg::OnLoadFont() {
    // Requested even when reading fails part way: the grid must show whatever the image now holds.
    RepaintOnExit repaint(*this);
    if (m_pImage == nullptr || !m_pImage->fontsLocated()) {
        return;
    }
    // The filter as the format table writes it, translated as a whole (ui/CoreTexts.cpp).
    dk::CFileDialog dialog(true, "fnt", "", kOpenFlags,
                           dk::translate("Vorlane", fontfile::dialogFilter(false)));
    if (dialog.DoModal() != IDOK) {
        return;
    }
    // A name whose ending is no format's is read as the font file.
    const std::string path = dialog.GetPathName();
    const fontfile::FontFormat* format = fontfile::formatOfName(path).format;
    // A picture is written for people to look at; read as a font it would scramble both fonts.
    if (format->read == nullptr) {
        MessageBox(path + "\n\n" +
                       dk::translate("Vorlane",
                                     "This font cannot be loaded: a PNG picture is written, not "
                                     "read. Choose a .fnt, .psf, .psf.gz, .f16 or .f08 file."),
                   dk::translate("Vorlane", "Error"), dk::MB_OK | dk::MB_ICONSTOP);
        return;
    }
    try {
        format->read(*m_pImage, path, codePage());
    } catch (const fontfile::FontError& error) {
        MessageBox(path + "\n\n" +
                       dk::formatText(dk::translate("Vorlane", "This font cannot be loaded: %1."),
                                      {fontErrorText(error.what())}),
                   dk::translate("Vorlane", "Error"), dk::MB_OK | dk::MB_ICONSTOP);
    }
}

void CFontDlg::OnSaveFont() {
    if (m_pImage == nullptr || !m_pImage->fontsLocated()) {
        return;
    }
    dk::CFileDialog dialog(false, "fnt", "", kSaveFlags,
                           dk::translate("Vorlane", fontfile::dialogFilter(true)));
    if (dialog.DoModal() != IDOK) {
        return;
    }
    // One font for the formats that hold one: the 8x16 font the grid shows, unless the name
    // asks for the 8x8 font.
    const std::string path = dialog.GetPathName();
    const fontfile::FormatOfName named = fontfile::formatOfName(path);
    fontfile::FontWriteSettings settings;
    settings.page = codePage();
    settings.scale = kPngScale;
    settings.compressed = named.compressed;
    settings.to = WriteTo::RegularFileOnly;
    named.format->write(*m_pImage, path, settings);
}

CodePage CFontDlg::codePage() {
    return m_rusBox.GetCheck() == 1 ? CodePage::Cp866 : CodePage::Cp437;
}

void CFontDlg::OnLButtonDblClk(dk::Point at) {
    if (m_pImage == nullptr || !m_pImage->fontsLocated()) {
        return;
    }
    const GridGeometry grid = MeasureGrid();
    if (grid.cw <= 0 || grid.ch <= 0 || at.x < grid.x0 || at.y < grid.y0) {
        return;
    }
    const int column = (at.x - grid.x0) / grid.cw;
    const int row = (at.y - grid.y0) / grid.ch;
    if (column >= kGlyphsPerLine || row >= kGlyphsPerLine) {
        return;
    }
    CGlyphDlg glyph;
    glyph.m_pImage = m_pImage;
    glyph.m_code = row * kGlyphsPerLine + column;
    glyph.m_codePage = codePage();
    if (glyph.DoModal() == IDOK) {
        Invalidate();
    }
}

void CFontDlg::OnRus() {
    m_rus = m_rusBox.GetCheck();
    if (m_pImage != nullptr) {
        m_pImage->applyBuiltinSet(m_rus == 1);
    }
    Invalidate();
}

}  // namespace vorlane
