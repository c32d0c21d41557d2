// The glyph dialog as a user reaches it, by a double-click on the font grid, driven by real mouse
// and key events: what OK, Cancel, Escape, the close box and Revert leave in the image, byte for
// byte.
#include <array>
#include <functional>

#include "tests/ui/MainWindowFixture.h"
#include "ui/FontDlg.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;
using dk::IDCANCEL;
using dk::IDOK;

struct Glyphs {
    std::array<uint8_t, 16> tall;
    std::array<uint8_t, 8> small;
};

class GlyphDialogTest : public MainWindowFixture {
  protected:
    // The middle of `code`'s cell of the font dialog's grid.
    dk::Point cellCentre(int code) const {
        const GlyphGrid g = glyphGrid(font->GetDlgItem(IDC_GLYPH_FRAME));
        return dk::Point{g.origin.x + code % 16 * g.cw + g.cw / 2,
                         g.origin.y + code / 16 * g.ch + g.ch / 2};
    }
    // Double-clicks `at` and runs `script` on the glyph dialog; false when none opened.
    bool doubleClick(dk::Point at, const std::function<void(dk::WindowHandle)>& script) {
        drive::ModalDriver driver;
        driver.onNext([&](dk::WindowHandle modal) { script(modal); });
        drive::doubleClickAt(font->window(), at);
        return driver.fired();
    }
    Glyphs glyphsOf(int code) const {
        const CRomImage& m = dlg->m_image;
        Glyphs g{};
        std::ranges::copy(m.fontBytes(m.font8x16Offset, 4096).subspan(code * 16, 16),
                          g.tall.begin());
        std::ranges::copy(m.fontBytes(m.font8x8Offset, 2048).subspan(code * 8, 8), g.small.begin());
        return g;
    }
};

using Dialog = dk::WindowHandle;

// The middle of a cell, rounded toward its top left.
dk::Point cell(Dialog d, int id, int column, int row) {
    const dk::Rect r = drive::cellRect(drive::control(d, id), column, row);
    return dk::Point{(r.left + r.right - 1) / 2, (r.top + r.bottom - 1) / 2};
}
void clickCell(Dialog d, int id, int column, int row) {
    drive::clickAt(drive::control(d, id), cell(d, id, column, row));
}
void press(Dialog d, int id) {
    drive::click(drive::control(d, id));
}
bool bit(const uint8_t& row, int column) {
    return (row & (0x80 >> column)) != 0;
}
void setBit(uint8_t& row, int column, bool on) {
    row = on ? row | (0x80 >> column) : row & ~(0x80 >> column);
}

TEST_F(GlyphDialogTest, OkWritesExactlyTheEditedGlyphsAndEveryOtherWayOutNothing) {
    constexpr int kCode = 0x41;
    struct Case {
        const char* name;
        std::function<void(Dialog)> script;
        std::function<void(Glyphs&)> expected;  // what the glyphs become; null: nothing changes
    };
    const std::vector<Case> cases = {
        {"a click toggles a pixel",
         [](Dialog d) {
             clickCell(d, IDC_GLYPH_8X16, 2, 3);
             clickCell(d, IDC_GLYPH_8X8, 7, 7);
             press(d, IDOK);
         },
         [](Glyphs& g) {
             g.tall[3] ^= 0x20;
             g.small[7] ^= 0x01;
         }},
        // The pointer jumps from one end of the top row to the other and then down: the cells
        // in between were passed all the same.
        {"a drag sets what it passes to the first pixel's new value",
         [](Dialog d) {
             drive::drag(drive::control(d, IDC_GLYPH_8X16),
                         {cell(d, IDC_GLYPH_8X16, 0, 0), cell(d, IDC_GLYPH_8X16, 7, 0),
                          cell(d, IDC_GLYPH_8X16, 7, 5)});
             press(d, IDOK);
         },
         [](Glyphs& g) {
             const bool value = !bit(g.tall[0], 0);
             g.tall[0] = value ? 0xFF : 0x00;
             for (int row = 1; row <= 5; ++row) {
                 setBit(g.tall[row], 7, value);
             }
         }},
        // The 8x16 grid has the focus first; arrows stop at the edges; Enter is OK.
        {"keys",
         [](Dialog) {
             using K = drive::Key;
             for (K key :
                  {K::Left, K::Up, K::Space, K::Tab, K::Right, K::Right, K::Down, K::Space}) {
                 drive::pressKey(drive::focus(), key);
             }
             drive::pressKey(drive::focus(), K::Return);
         },
         [](Glyphs& g) {
             g.tall[0] ^= 0x80;
             g.small[1] ^= 0x20;
         }},
        {"Revert, then a click",
         [](Dialog d) {
             clickCell(d, IDC_GLYPH_8X16, 2, 3);
             clickCell(d, IDC_GLYPH_8X8, 4, 4);
             press(d, IDC_REVERT);
             clickCell(d, IDC_GLYPH_8X16, 0, 15);
             press(d, IDOK);
         },
         [](Glyphs& g) { g.tall[15] ^= 0x80; }},
        {"Cancel",
         [](Dialog d) {
             clickCell(d, IDC_GLYPH_8X16, 2, 3);
             press(d, IDCANCEL);
         },
         nullptr},
        {"Escape",
         [](Dialog d) {
             clickCell(d, IDC_GLYPH_8X8, 2, 3);
             drive::pressKey(d, drive::Key::Escape);
         },
         nullptr},
        {"close box",
         [](Dialog d) {
             clickCell(d, IDC_GLYPH_8X8, 2, 3);
             drive::close(d);
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openFontDialog();
        auto expected = dlg->m_image.data;
        if (c.expected) {
            Glyphs g = glyphsOf(kCode);
            c.expected(g);
            std::ranges::copy(g.tall, expected.begin() + B::kFont8x16 + kCode * 16);
            std::ranges::copy(g.small, expected.begin() + B::kFont8x8 + kCode * 8);
        }
        bool stillOpen = true;
        ASSERT_TRUE(doubleClick(cellCentre(kCode), [&](Dialog d) {
            c.script(d);
            stillOpen = drive::isVisible(d);
        }));
        EXPECT_FALSE(stillOpen);
        EXPECT_TRUE(dlg->m_image.data == expected);
    }
}

TEST_F(GlyphDialogTest, OpensOnlyOnACellOfAGridWithBothFontsLocated) {
    using Offset = uint16_t CRomImage::*;
    struct Case {
        const char* name;
        Offset notLocated;  // a font offset cleared, or null
        int code;
        dk::Point offset;  // from the middle of the code's cell
        bool opens;
    };
    const std::vector<Case> cases = {
        {"a cell", nullptr, 0xFF, {}, true},
        {"no 8x8 font", &CRomImage::font8x8Offset, 0x41, {}, false},
        {"no 8x16 font", &CRomImage::font8x16Offset, 0x41, {}, false},
        // The frame's margin left of the first column, and right of the last one.
        {"left of the cells", nullptr, 0x00, {-12, 0}, false},
        {"right of the cells", nullptr, 0x0F, {12, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openFontDialog();
        if (c.notLocated != nullptr) {
            dlg->m_image.*c.notLocated = 0;
        }
        const auto before = dlg->m_image.data;
        std::string code;
        const dk::Point at{cellCentre(c.code).x + c.offset.x, cellCentre(c.code).y + c.offset.y};
        const bool opened = doubleClick(at, [&](Dialog d) {
            code = drive::text(drive::control(d, IDC_GLYPH_CODE));
            clickCell(d, IDC_GLYPH_8X16, 0, 0);
            press(d, IDOK);
        });
        EXPECT_EQ(opened, c.opens);
        if (c.opens) {
            EXPECT_EQ(code, "0xFF   \u00A0   (code page 437)");
        }
        EXPECT_EQ(dlg->m_image.data == before, !c.opens);
    }
}

TEST_F(GlyphDialogTest, ShowsTheCodeInCodePage866WhileRusIsTicked) {
    openFontDialog();
    const auto codeShown = [&](int code) {
        std::string text;
        doubleClick(cellCentre(code), [&](Dialog d) {
            text = drive::text(drive::control(d, IDC_GLYPH_CODE));
            drive::pressKey(d, drive::Key::Escape);
        });
        return text;
    };
    EXPECT_EQ(codeShown(0x80), "0x80   Ç   (code page 437)");
    drive::click(font->GetDlgItem(IDC_RUS));
    EXPECT_EQ(codeShown(0x80), "0x80   А   (code page 866)");
    EXPECT_EQ(codeShown(0xF0), "0xF0   Ё   (code page 866)");
    EXPECT_EQ(codeShown(0x01), "0x01   ☺   (code page 866)");
}

}  // namespace
}  // namespace vorlane::test
