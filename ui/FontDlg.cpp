#include "ui/FontDlg.h"

#include <algorithm>
#include <array>
#include <span>

#include "dialogkit/PaintContext.h"
#include "fontfile/FontError.h"
#include "fontfile/FontFiles.h"
#include "res/Templates.h"
#include "res/resource.h"

namespace vorlane {

using namespace res;
using dk::IDOK;

namespace {

constexpr unsigned kOpenFlags = dk::OFN_FILEMUSTEXIST | dk::OFN_HIDEREADONLY;
constexpr unsigned kSaveFlags = dk::OFN_HIDEREADONLY | dk::OFN_OVERWRITEPROMPT;
constexpr int kGlyphWidth = 8;

// For each glyph row byte, the colour ORed into each of its 8 pixels: green where a bit is set,
// nothing where it is clear.
constexpr auto kRowMasks = [] {
    std::array<std::array<QRgb, kGlyphWidth>, 256> masks{};
    for (unsigned bits = 0; bits < 256; ++bits) {
        for (int j = 0; j < kGlyphWidth; ++j) {
            masks[bits][j] = (bits & (0x80u >> j)) != 0 ? GlyphCanvas::kLit : 0u;
        }
    }
    return masks;
}();

bool contains(const dk::Rect& outer, const dk::Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// How a font file chosen in the dialogs is read or written, by the end of its name (in any case).
enum class FontFileKind { Fnt, Psf, PsfGz, Raw16, Raw8, Png };

FontFileKind fontFileKind(const std::string& path) {
    std::string name;
    for (const char c : path) {
        name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const std::pair<const char*, FontFileKind> endings[] = {
        {".psf", FontFileKind::Psf},      {".psfu", FontFileKind::Psf},
        {".psf.gz", FontFileKind::PsfGz}, {".f16", FontFileKind::Raw16},
        {".f08", FontFileKind::Raw8},     {".png", FontFileKind::Png},
    };
    for (const auto& [ending, kind] : endings) {
        if (name.ends_with(ending)) {
            return kind;
        }
    }
    return FontFileKind::Fnt;
}

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

GlyphCanvas::GlyphCanvas(const dk::Rect& extent, const dk::Rect& black) : extent_(extent) {
    const int width = std::max(0, extent.width());
    const int height = std::max(0, extent.height());
    extent_.right = extent_.left + width;
    extent_.bottom = extent_.top + height;
    if (contains(black, extent_)) {
        // The usual case: every glyph lies on the black area, so the canvas is opaque and is
        // drawn as a plain copy.
        image_ = QImage(width, height, QImage::Format_RGB32);
        image_.fill(QColor(0, 0, 0));
        takePixels();
        return;
    }
    image_ = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    takePixels();
    // The part of the black area the canvas covers, in canvas coordinates.
    const int left = std::max(black.left, extent_.left) - extent_.left;
    const int right = std::min(black.right, extent_.right) - extent_.left;
    const int top = std::max(black.top, extent_.top) - extent_.top;
    const int bottom = std::min(black.bottom, extent_.bottom) - extent_.top;
    if (left >= right) {
        return;
    }
    for (int y = top; y < bottom; ++y) {
        QRgb* line = row(extent_.top + y);
        std::fill(line + left, line + right, qRgb(0, 0, 0));
    }
}

void GlyphCanvas::takePixels() {
    if (image_.isNull()) {
        // Nothing to draw on (an empty extent, or no memory for it): every pixel is dropped.
        extent_.right = extent_.left;
        extent_.bottom = extent_.top;
        return;
    }
    pixels_ = reinterpret_cast<QRgb*>(image_.bits());
    stride_ = image_.bytesPerLine() / static_cast<ptrdiff_t>(sizeof(QRgb));
}

void GlyphCanvas::SetRow(int x, int y, uint8_t bits) {
    if (bits == 0 || y < extent_.top || y >= extent_.bottom) {
        return;
    }
    QRgb* line = row(y);
    if (x >= extent_.left && x + kGlyphWidth <= extent_.right) {
        // Black and transparent both turn into the lit colour when it is ORed in, so the row is
        // written without a branch per pixel, and a lit pixel of an overlapping glyph stays lit.
        const std::array<QRgb, kGlyphWidth>& lit = kRowMasks[bits];
        QRgb* at = line + (x - extent_.left);
        for (int j = 0; j < kGlyphWidth; ++j) {
            at[j] |= lit[j];
        }
        return;
    }
    for (int j = 0; j < kGlyphWidth; ++j) {
        if ((bits & (0x80 >> j)) != 0) {
            SetPixelV(x + j, y);
        }
    }
}

void GlyphCanvas::Draw(dk::PaintContext& dc) const {
    if (!image_.isNull()) {
        dc.DrawImage(extent_.left, extent_.top, image_);
    }
}

CFontDlg::CFontDlg() : CDialog(kFontDialog) {}

CFontDlg::~CFontDlg() = default;

const dk::MessageMap* CFontDlg::GetMessageMap() const {
    static const auto map = dk::makeMessageMap<CFontDlg>(
        dk::onPaint(&CFontDlg::OnPaint), dk::onClicked(IDC_LOAD_FONT, &CFontDlg::OnLoadFont),
        dk::onClicked(IDC_SAVE_FONT, &CFontDlg::OnSaveFont),
        dk::onClicked(IDC_RUS, &CFontDlg::OnRus));
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
    return true;
}

void CFontDlg::OnPaint(dk::PaintContext& dc) {
    if (m_pImage == nullptr) {
        return;
    }
    const dk::Rect frame = GetDlgItemClientRect(IDC_GLYPH_FRAME);
    const int cw = frame.width() / kGlyphsPerLine;
    const int ch = (frame.height() * 16) / 256;
    const dk::Rect area = MapDlgItemRectToDialog(IDC_GLYPH_FRAME, frame);
    dc.FillSolidRect(area, dk::RGB(0, 0, 0));

    const int x0 = (area.left + area.right) / 2 - (kGlyphsPerLine * cw) / 2;
    const int y0 = (area.top + area.bottom) / 2 - (kGlyphsPerLine * ch) / 2;
    const int lines = 256 / kGlyphsPerLine;
    const dk::Rect extent{x0, y0, x0 + (kGlyphsPerLine - 1) * cw + kGlyphWidth,
                          y0 + (lines - 1) * ch + kGlyphRows};
    GlyphCanvas canvas(extent, area);

    // Read from the image at every paint; a font offset set by hand still stays in the buffer.
    const std::span<const uint8_t> font =
        m_pImage->fontBytes(m_pImage->font8x16Offset, CRomImage::kFont8x16Size);
    for (int g = 0; g < 256; ++g) {
        DrawGlyph(font.data() + kGlyphRows * g, x0 + (g % kGlyphsPerLine) * cw,
                  y0 + (g / kGlyphsPerLine) * ch, canvas, kGlyphRows);
    }
    canvas.Draw(dc);
}

void CFontDlg::DrawGlyph(const uint8_t* rows, int x, int y, GlyphCanvas& dc, int rowCount) {
    for (int i = 0; i < rowCount; ++i) {
        dc.SetRow(x, y + i, rows[i]);
    }
}

void CFontDlg::OnLoadFont() {
    // Requested even when reading fails part way: the grid must show whatever the image now holds.
    RepaintOnExit repaint(*this);
    if (m_pImage == nullptr || !m_pImage->fontsLocated()) {
        return;
    }
    dk::CFileDialog dialog(true, "fnt", "", kOpenFlags, kLoadFontFilter);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const std::string path = dialog.GetPathName();
    const FontFileKind kind = fontFileKind(path);
    // A picture is no font to load: chosen through "All Files", it is read as a font file.
    if (kind == FontFileKind::Fnt || kind == FontFileKind::Png) {
        m_pImage->readFontFile(path);
        return;
    }
    // A raw font says its size by its name; a PC Screen Font replaces the font of its height.
    const int height = kind == FontFileKind::Raw16 ? 16 : kind == FontFileKind::Raw8 ? 8 : 0;
    try {
        fontfile::importFont(*m_pImage, path, height, codePage());
    } catch (const fontfile::FontError& error) {
        MessageBox(path + "\n\nThis font cannot be loaded: " + error.what() + ".", "Error",
                   dk::MB_OK | dk::MB_ICONSTOP);
    }
}

void CFontDlg::OnSaveFont() {
    if (m_pImage == nullptr || !m_pImage->fontsLocated()) {
        return;
    }
    dk::CFileDialog dialog(false, "fnt", "", kSaveFlags, kSaveFontFilter);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    // One font for the formats that hold one: the 8x16 font the grid shows, unless the name
    // asks for the 8x8 font.
    const std::string path = dialog.GetPathName();
    const FontFileKind kind = fontFileKind(path);
    switch (kind) {
        case FontFileKind::Fnt:
            m_pImage->writeFontFile(path);
            break;
        case FontFileKind::Psf:
        case FontFileKind::PsfGz:
            fontfile::exportPsf(*m_pImage, path, 16, codePage(), kind == FontFileKind::PsfGz);
            break;
        case FontFileKind::Raw16:
            fontfile::exportRaw(*m_pImage, path, 16);
            break;
        case FontFileKind::Raw8:
            fontfile::exportRaw(*m_pImage, path, 8);
            break;
        case FontFileKind::Png:
            fontfile::exportPng(*m_pImage, path, 16, kPngScale);
            break;
    }
}

fontfile::CodePage CFontDlg::codePage() {
    return m_rusBox.GetCheck() == 1 ? fontfile::CodePage::Cp866 : fontfile::CodePage::Cp437;
}

void CFontDlg::OnRus() {
    m_rus = m_rusBox.GetCheck();
    if (m_pImage != nullptr) {
        m_pImage->applyBuiltinSet(m_rus == 1);
    }
    Invalidate();
}

}  // namespace vorlane
