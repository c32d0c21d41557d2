#include "ui/GlyphDlg.h"

#include <algorithm>
#include <vector>

#include "dialogkit/PaintContext.h"
#include "dialogkit/Translation.h"
#include "image/Text.h"
#include "res/Templates.h"
#include "res/resource.h"

namespace vorlane {

using namespace res;

namespace {

constexpr int kTallRows = 16;
constexpr int kShortRows = 8;
constexpr int kGlyphWidth = 8;
// Between the two glyphs of the preview.
constexpr int kPreviewGap = 8;
constexpr dk::Rgb kLit = dk::RGB(0, 255, 0);
constexpr dk::Rgb kUnlit = dk::RGB(0, 0, 0);

}  // namespace

CGlyphDlg::CGlyphDlg() : CDialog(kGlyphDialog) {}

CGlyphDlg::~CGlyphDlg() = default;

const dk::MessageMap* CGlyphDlg::GetMessageMap() const {
    static const auto map = dk::makeMessageMap<CGlyphDlg>(
        dk::onPaint(&CGlyphDlg::OnPaint), dk::onClicked(IDC_REVERT, &CGlyphDlg::OnRevert),
        dk::onChange(IDC_GLYPH_8X16, &CGlyphDlg::OnGridChange),
        dk::onChange(IDC_GLYPH_8X8, &CGlyphDlg::OnGridChange));
    return &map;
}

void CGlyphDlg::DoDataExchange(dk::CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    dk::DDX_Control(dx, IDC_GLYPH_8X16, m_grid8x16);
    dk::DDX_Control(dx, IDC_GLYPH_8X8, m_grid8x8);
}

std::string CGlyphDlg::CodeText(int code, CodePage page) {
    return dk::formatText(
        dk::translate("Vorlane", "%1   %2   (code page %3)"),
        {formatPlain("0x%02X", code & 0xFF), codePageText(page, static_cast<uint8_t>(code)),
         std::to_string(static_cast<int>(page))});
}

bool CGlyphDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_grid8x16.SetColours(kLit, kUnlit);
    m_grid8x8.SetColours(kLit, kUnlit);
    SetDlgItemText(IDC_GLYPH_CODE, CodeText(m_code, m_codePage));
    OnRevert();
    return true;
}

std::span<uint8_t> CGlyphDlg::ImageGlyph(int rows) {
    if (m_pImage == nullptr) {
        return {};
    }
    const bool tall = rows == kTallRows;
    const std::span<uint8_t> font =
        tall ? m_pImage->fontBytes(m_pImage->font8x16Offset, CRomImage::kFont8x16Size)
             : m_pImage->fontBytes(m_pImage->font8x8Offset, CRomImage::kFont8x8Size);
    return font.subspan(static_cast<size_t>(std::clamp(m_code, 0, 255)) * rows, rows);
}

void CGlyphDlg::OnRevert() {
    m_grid8x16.SetRows(ImageGlyph(kTallRows));
    m_grid8x8.SetRows(ImageGlyph(kShortRows));
    Invalidate();
}

void CGlyphDlg::OnGridChange() {
    // The preview follows every change.
    Invalidate();
}

void CGlyphDlg::OnOK() {
    const std::vector<uint8_t> tall = m_grid8x16.GetRows();
    const std::vector<uint8_t> small = m_grid8x8.GetRows();
    const std::span<uint8_t> tallGlyph = ImageGlyph(kTallRows);
    const std::span<uint8_t> smallGlyph = ImageGlyph(kShortRows);
    // The 8x16 glyph last, as when a whole set is copied: where the two fonts overlap, it wins.
    if (small.size() == smallGlyph.size()) {
        std::ranges::copy(small, smallGlyph.begin());
    }
    if (tall.size() == tallGlyph.size()) {
        std::ranges::copy(tall, tallGlyph.begin());
    }
    CDialog::OnOK();
}

// Both glyphs one screen pixel per font pixel, green on black like the font grid, side by side
// in the middle of the preview frame.
void CGlyphDlg::OnPaint(dk::PaintContext& dc) {
    const dk::Rect frame = GetDlgItemClientRect(IDC_GLYPH_PREVIEW);
    const dk::Rect area = MapDlgItemRectToDialog(IDC_GLYPH_PREVIEW, frame);
    dc.FillSolidRect(area, kUnlit);
    const int x = (area.left + area.right) / 2 - (2 * kGlyphWidth + kPreviewGap) / 2;
    const int y = (area.top + area.bottom) / 2 - kTallRows / 2;
    const std::vector<uint8_t> tall = m_grid8x16.GetRows();
    const std::vector<uint8_t> small = m_grid8x8.GetRows();
    for (size_t i = 0; i < tall.size(); ++i) {
        dc.SetPixelRow(x, y + static_cast<int>(i), tall[i], kLit);
    }
    // The 8x8 glyph centred in height beside the 8x16 one.
    const int smallY = y + (kTallRows - kShortRows) / 2;
    for (size_t i = 0; i < small.size(); ++i) {
        dc.SetPixelRow(x + kGlyphWidth + kPreviewGap, smallY + static_cast<int>(i), small[i], kLit);
    }
}

}  // namespace vorlane
