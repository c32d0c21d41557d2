// The font dialog over a loaded image: the glyph grid pixel by pixel, the repaints it asks for,
// loading, saving and the built-in sets, the "Rus" box, and file errors.
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <span>

#include "fontfile/FontReader.h"
#include "image/BuiltinFonts.h"
#include "tests/support/FontSamples.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/FontDlg.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;

constexpr dk::Rgb kGreen{0x00, 0xFF, 0x00};
constexpr dk::Rgb kBlack{0x00, 0x00, 0x00};

std::vector<uint8_t> bytesOf(std::span<const uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

// An 8x8 font and an 8x16 font as a font file holds them.
std::vector<uint8_t> fontFile(std::span<const uint8_t> narrow, std::span<const uint8_t> tall) {
    std::vector<uint8_t> bytes = bytesOf(narrow);
    bytes.insert(bytes.end(), tall.begin(), tall.end());
    return bytes;
}
std::vector<uint8_t> builtinFile(bool cyrillic) {
    const BuiltinFontSet set = builtinFontSet(cyrillic);
    return fontFile(set.font8x8, set.font8x16);
}

// The pixels where what `window` paints by itself (its background and paint handler, no child
// controls) is not the grid as the user must see it: `frame` black, each glyph g of `font` with
// its top-left pixel at origin + (g mod 16 * cw, g div 16 * ch), one pixel per font pixel, a
// pixel green when any glyph lights it, the background everywhere else.
int gridDifference(dk::WindowHandle window, dk::Rect frame, int cw, int ch, dk::Point origin,
                   const std::vector<uint8_t>& font) {
    const drive::Pixels shot = drive::paintedPixels(window);
    drive::Pixels expected{shot.width, shot.height, {}};
    expected.rgb.assign(static_cast<size_t>(shot.width) * shot.height,
                        drive::backgroundColour(window));
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < expected.width && y < expected.height;
    };
    for (int y = frame.top; y < frame.bottom; ++y) {
        for (int x = frame.left; x < frame.right; ++x) {
            if (inside(x, y)) {
                expected.rgb[static_cast<size_t>(y) * expected.width + x] = kBlack;
            }
        }
    }
    for (int g = 0; g < 256; ++g) {
        for (int row = 0; row < 16; ++row) {
            for (int bit = 0; bit < 8; ++bit) {
                const int x = origin.x + g % 16 * cw + bit;
                const int y = origin.y + g / 16 * ch + row;
                if ((font[g * 16 + row] & (0x80 >> bit)) != 0 && inside(x, y)) {
                    expected.rgb[static_cast<size_t>(y) * expected.width + x] = kGreen;
                }
            }
        }
    }
    int differ = 0;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            differ += shot.at(x, y) == expected.at(x, y) ? 0 : 1;
        }
    }
    return differ;
}

// A PNG picture as read back: its size, and whether every pixel is grey.
struct Picture {
    unsigned width = 0;
    unsigned height = 0;
    bool grey = false;
};
std::optional<Picture> readPicture(const std::vector<uint8_t>& file) {
    png_image picture{};
    picture.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&picture, file.data(), file.size()) == 0) {
        return std::nullopt;
    }
    picture.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(picture));
    if (png_image_finish_read(&picture, nullptr, rgb.data(), 0, nullptr) == 0) {
        return std::nullopt;
    }
    bool grey = true;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        grey = grey && rgb[i] == rgb[i + 1] && rgb[i + 1] == rgb[i + 2];
    }
    return Picture{picture.width, picture.height, grey};
}

class FontDialogTest : public MainWindowFixture {
  protected:
    // The font dialog over a fresh image, with its grid's repaints counted.
    void open() {
        openFontDialog();
        repaints = std::make_unique<drive::PaintCounter>(font->window(), frameRect());
        repaintsAfter([] {});  // the first paints
    }
    dk::Rect frameRect() const { return drive::geometry(font->GetDlgItem(IDC_GLYPH_FRAME)); }
    void clickFont(int id) { drive::click(font->GetDlgItem(id)); }
    // Grid repaints caused by `action`, once every pending update has turned into paints.
    int repaintsAfter(const std::function<void()>& action) {
        const int before = repaints->count();
        action();
        for (int i = 0; i < 5; ++i) {
            drive::processEvents();
        }
        return repaints->count() - before;
    }
    std::vector<uint8_t> imageFonts() const {
        const CRomImage& m = dlg->m_image;
        return fontFile(m.fontBytes(m.font8x8Offset, CRomImage::kFont8x8Size),
                        m.fontBytes(m.font8x16Offset, CRomImage::kFont8x16Size));
    }

    // Counts the paints of the font dialog in hand.
    std::unique_ptr<drive::PaintCounter> repaints;
};

TEST_F(FontDialogTest, GridShowsTheImagesFontPixelForPixel) {
    open();
    // The frame where its dialog units put it, each glyph's 16th row on the first row of the
    // glyph below; at the classic dialog units the 19 x 15 cells of the original layout.
    const auto [frame, cw, ch, origin] = glyphGrid(font->GetDlgItem(IDC_GLYPH_FRAME));
    ASSERT_EQ(frame, drive::dialogUnitsToPixels(font->window(), {7, 7, 7 + 208, 7 + 152}));
#ifndef _WIN32
    ASSERT_EQ(frame, (dk::Rect{11, 11, 11 + 312, 11 + 247}));
    ASSERT_EQ((dk::Point{cw, ch}), (dk::Point{19, 15}));
    ASSERT_EQ(origin, (dk::Point{frame.left + 4, frame.top + 3}));
#endif
    std::vector<uint8_t> synthetic(4096);
    for (size_t i = 0; i < synthetic.size(); ++i) {
        synthetic[i] = B::defaultFont8x16Byte(i);
    }
    EXPECT_EQ(gridDifference(font->window(), frame, cw, ch, origin, synthetic), 0);
    dlg->m_image.applyBuiltinSet(false);  // a change shows at the next paint
    EXPECT_EQ(gridDifference(font->window(), frame, cw, ch, origin, bytesOf(kStandardFont8x16)), 0);
    // A reset image: every byte 0xFF and no font located, so solid 8 x 16 blocks.
    dlg->m_image.reset();
    EXPECT_EQ(
        gridDifference(font->window(), frame, cw, ch, origin, std::vector<uint8_t>(4096, 0xFF)), 0);
    // The frame is measured at each paint: 100 x 60 gives 6 x 3 cells, glyphs overlap both ways
    // and the last row of glyphs reaches below the frame.
    const dk::Rect small{20, 30, 20 + 100, 30 + 60};
    drive::setGeometry(font->GetDlgItem(IDC_GLYPH_FRAME), small);
    std::ranges::copy(synthetic, dlg->m_image.data.begin());
    EXPECT_EQ(gridDifference(font->window(), small, 6, 3, dk::Point{22, 36}, synthetic), 0);
}

TEST_F(FontDialogTest, LoadSaveAndRusWithAndWithoutLocatedFontsAndOnFileErrors) {
    const std::string cyrillic = dir.file("cyr.fnt");
    writeBytes(cyrillic, builtinFile(true));
    const std::string out = dir.file("out.fnt");
    const std::string folder = dir.file("folder.fnt");
    std::filesystem::create_directory(folder);
    const std::string unwritable = dir.file("no-such-folder/out.fnt");
    const std::string noFile = "No such file or directory";
    // A picture holding what a font file would: read as one, it would replace both fonts.
    const std::string picture = dir.file("grid.PNG");
    writeBytes(picture, builtinFile(true));
#ifdef _WIN32
    // Windows makes no FIFO in a folder; its device NUL (with any extension, as Windows reads a
    // device name) is the file that is no regular file.
    const std::string fifo = "NUL", fifoPsf = "NUL.psf";
#else
    // Reading a FIFO would wait for a writer that never comes, with the window frozen.
    const std::string fifo = dir.file("fifo.fnt"), fifoPsf = dir.file("fifo.psf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(fifoPsf.c_str(), 0600), 0);
    // Nor is one written: its open would wait for a reader. One holds it open here, so that a
    // save that wrongly writes into it fails this test instead of hanging it.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
#endif
    const std::string notRegular = "Not a regular file";
    struct Case {
        const char* name;
        int button;
        bool located;
        std::string answer;  // the file chosen, "cancel", or "" when no file dialog may open
        int repaints;
        bool cyrillic;  // the image then holds the Cyrillic set; otherwise it is unchanged
        bool ticked;
        std::string error = "";  // the reason the error box gives
    };
    const std::vector<Case> cases = {
        // The box shows what it showed on opening, whatever the file held.
        {"load", IDC_LOAD_FONT, true, cyrillic, 1, true, false},
        {"cancelled load", IDC_LOAD_FONT, true, "cancel", 1, false, false},
        {"load without fonts", IDC_LOAD_FONT, false, "", 1, false, false},
        // The grid is redrawn after a failed load too, in case the read stopped part way.
        {"load of a folder", IDC_LOAD_FONT, true, folder, 1, false, false, "Is a directory"},
        {"load of no file", IDC_LOAD_FONT, true, dir.file("gone.fnt"), 1, false, false, noFile},
        {"load of a picture", IDC_LOAD_FONT, true, picture, 1, false, false, "written, not read"},
        {"load of a FIFO", IDC_LOAD_FONT, true, fifo, 1, false, false, notRegular},
        {"load of a FIFO console font", IDC_LOAD_FONT, true, fifoPsf, 1, false, false, notRegular},
        {"save", IDC_SAVE_FONT, true, out, 0, false, false},
        {"cancelled save", IDC_SAVE_FONT, true, "cancel", 0, false, false},
        {"save without fonts", IDC_SAVE_FONT, false, "", 0, false, false},
        {"unwritable save", IDC_SAVE_FONT, true, unwritable, 0, false, false, noFile},
        {"save onto a FIFO", IDC_SAVE_FONT, true, fifo, 0, false, false, notRegular},
        {"Rus", IDC_RUS, true, "", 1, true, true},
        {"Rus without fonts", IDC_RUS, false, "", 1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        if (!c.located) {
            dlg->m_image.font8x8Offset = 0;
        }
        const auto before = dlg->m_image.data;
        const size_t promptsBefore = scripted.asked().size();
        if (!c.answer.empty()) {
            scripted.answerFile(c.answer == "cancel" ? std::nullopt : std::optional(c.answer));
        }
        if (!c.error.empty()) {
            scripted.answerMessage(dk::IDOK);
        }
        EXPECT_EQ(repaintsAfter([&] { clickFont(c.button); }), c.repaints);
        ASSERT_EQ(scripted.asked().size() - promptsBefore,
                  c.answer.empty() ? 0u : (c.error.empty() ? 1u : 2u));
        if (!c.answer.empty()) {
            const bool load = c.button == IDC_LOAD_FONT;
            const auto& r = scripted.asked()[promptsBefore];
            // The font file's entries come first and unchanged; the other formats follow.
            const std::string formats =
                "Console fonts (*.psf *.psfu *.psf.gz)|*.psf;*.psfu;*.psf.gz|"
                "VGA 8x16 fonts (*.f16)|*.f16|VGA 8x8 fonts (*.f08)|*.f08|";
            EXPECT_EQ(std::tie(r.kind, r.file.filter, r.file.defaultExt, r.file.flags),
                      std::make_tuple(load ? dk::ScriptedPrompts::Asked::OpenFile
                                           : dk::ScriptedPrompts::Asked::SaveFile,
                                      "Font Files (*.fnt)|*.fnt|All Files (*.*)|*.*|" + formats +
                                          (load ? "|" : "PNG pictures (*.png)|*.png||"),
                                      std::string("fnt"), load ? 0x1004u : 6u));
        }
        if (!c.error.empty()) {
            const std::string box = errorText();
            EXPECT_NE(box.find(c.answer), std::string::npos) << box;
            EXPECT_NE(box.find(c.error), std::string::npos) << box;
        }
        if (c.cyrillic) {
            EXPECT_EQ(imageFonts(), builtinFile(true));
        } else {
            EXPECT_TRUE(dlg->m_image.data == before);
        }
        EXPECT_EQ(font->IsDlgButtonChecked(IDC_RUS) != 0, c.ticked);
        if (c.answer == out) {
            EXPECT_EQ(readBytes(out), imageFonts());
        }
        // The dialog goes on working: "Rus" puts the set its box then shows into the image, and
        // clearing it gives the standard set, not the fonts held before.
        clickFont(IDC_RUS);
        if (c.located) {
            EXPECT_EQ(imageFonts(), builtinFile(!c.ticked));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(unwritable));
#ifndef _WIN32
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "a save wrote into the FIFO";
    ::close(reader);
#endif
}

// The glyphs the grid must show after a load, each beside the ones the image had.
std::vector<uint8_t> mergedFont(const fontfile::CodePageFont& font, std::vector<uint8_t> old) {
    for (int code = 0; code < 256; ++code) {
        if (font.present.test(code)) {
            std::ranges::copy(font.bytes().subspan(code * 16, 16), old.begin() + code * 16);
        }
    }
    return old;
}

TEST_F(FontDialogTest, LoadsConsoleAndRawFontsIntoTheGrid) {
    const std::string console = consoleFont("CyrSlav-VGA16.psf.gz");
    if (console.empty()) {
        GTEST_SKIP() << "console-setup-linux is not installed (tools/install-deps)";
    }
    std::vector<uint8_t> raw16(4096), raw8(2048);
    for (size_t i = 0; i < raw16.size(); ++i) {
        raw16[i] = static_cast<uint8_t>(i * 29 + 3);
        raw8[i / 2] = static_cast<uint8_t>(i * 11);
    }
    writeBytes(dir.file("vga.F16"), raw16);
    writeBytes(dir.file("vga.f08"), raw8);
    writeBytes(dir.file("wide.psf"), psf({.width = 9}));
    const auto cyrillic = fontfile::readFont(readBytes(console), 16, CodePage::Cp866);
    const auto latin = fontfile::readFont(readBytes(console), 16, CodePage::Cp437);
    ASSERT_NE(mergedFont(cyrillic, std::vector<uint8_t>(4096)),
              mergedFont(latin, std::vector<uint8_t>(4096)));

    open();
    const auto [frame, cw, ch, origin] = glyphGrid(font->GetDlgItem(IDC_GLYPH_FRAME));
    const auto load = [&](const std::string& path) {
        scripted.answerFile(path);
        return repaintsAfter([&] { clickFont(IDC_LOAD_FONT); });
    };
    const auto tall = [&] {
        const auto fonts = imageFonts();
        return std::vector<uint8_t>(fonts.begin() + 2048, fonts.end());
    };
    const auto narrow = [&] {
        const auto fonts = imageFonts();
        return std::vector<uint8_t>(fonts.begin(), fonts.begin() + 2048);
    };

    // With "Rus" ticked the console font is mapped to code page 866.
    repaintsAfter([&] { clickFont(IDC_RUS); });
    const auto before = tall();
    EXPECT_EQ(load(console), 1);
    EXPECT_EQ(tall(), mergedFont(cyrillic, before));
    EXPECT_EQ(gridDifference(font->window(), frame, cw, ch, origin, tall()), 0);

    // A raw font replaces only the font of its size, whatever the case of its name.
    const auto narrowBefore = narrow();
    EXPECT_EQ(load(dir.file("vga.F16")), 1);
    EXPECT_EQ(tall(), raw16);
    EXPECT_EQ(narrow(), narrowBefore);
    EXPECT_EQ(gridDifference(font->window(), frame, cw, ch, origin, raw16), 0);
    EXPECT_EQ(load(dir.file("vga.f08")), 1);
    EXPECT_EQ(narrow(), raw8);
    EXPECT_EQ(tall(), raw16);

    // A font that is refused says why and changes nothing; the grid is still redrawn.
    const auto image = dlg->m_image.data;
    scripted.answerMessage(dk::IDOK);
    EXPECT_EQ(load(dir.file("wide.psf")), 1);
    EXPECT_TRUE(dlg->m_image.data == image);
    EXPECT_EQ(lastAsked().message.caption, "Error");
    const std::string box = errorText();
    EXPECT_NE(box.find(dir.file("wide.psf")), std::string::npos) << box;
    EXPECT_NE(box.find("glyphs are 9 pixels wide, need 8"), std::string::npos) << box;
}

TEST_F(FontDialogTest, SavesEachFormatByItsName) {
    open();
    const auto readBack = [](const std::string& path, CodePage page) {
        return bytesOf(fontfile::readFont(readBytes(path), 16, page).bytes());
    };
    repaintsAfter([&] { clickFont(IDC_RUS); });  // the Cyrillic set, and code page 866
    const std::vector<uint8_t> cyrillic = imageFonts();
    const std::vector<uint8_t> cyrillicTall(cyrillic.begin() + 2048, cyrillic.end());
    for (const char* name : {"a.fnt", "a.f16", "a.F08", "a.psf", "a.psf.gz", "a.png"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.file(name);
        scripted.answerFile(path);
        EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_SAVE_FONT); }), 0);
        const auto file = readBytes(path);
        const std::string n = name;
        if (n == "a.fnt") {
            EXPECT_EQ(file, cyrillic);
        } else if (n == "a.f16") {
            EXPECT_EQ(file, cyrillicTall);
        } else if (n == "a.F08") {
            EXPECT_EQ(file, std::vector<uint8_t>(cyrillic.begin(), cyrillic.begin() + 2048));
        } else if (n == "a.png") {
            const std::optional<Picture> picture = readPicture(file);
            ASSERT_TRUE(picture);
            EXPECT_EQ(std::make_pair(picture->width, picture->height), std::make_pair(256u, 512u));
            EXPECT_TRUE(picture->grey);
        } else {
            EXPECT_EQ(file[0] == 0x1F, n == "a.psf.gz");
            // Named in code page 866, so read in 437 the Cyrillic letters are missing.
            EXPECT_EQ(readBack(path, CodePage::Cp866), cyrillicTall);
            EXPECT_NE(readBack(path, CodePage::Cp437), cyrillicTall);
        }
    }
}

TEST_F(MainWindowFixture, FontButtonTicksTheBoxExactlyForTheCyrillic8x8Font) {
    const std::vector<std::tuple<const char*, B, bool>> cases = {
        {"standard", B(), false},
        {"Cyrillic 8x16 only", B().poke(B::kFont8x16, bytesOf(kCyrillicFont8x16)), false},
        {"Cyrillic 8x8", B().poke(B::kFont8x8, bytesOf(kCyrillicFont8x8)), true},
    };
    for (const auto& [name, builder, cyrillic] : cases) {
        SCOPED_TRACE(name);
        load(write("card.rom", builder));
        bool ticked = !cyrillic;
        drive::ModalDriver driver;
        driver.onNext([&](dk::WindowHandle modal) {
            ticked = dlg->m_fontDlg.IsDlgButtonChecked(IDC_RUS) != 0;
            // The set the box chooses stays in the image even when the dialog is left by Escape.
            drive::click(dlg->m_fontDlg.GetDlgItem(IDC_RUS));
            drive::pressKey(modal, drive::Key::Escape);
        });
        click(IDC_FONT);
        EXPECT_TRUE(driver.fired());
        EXPECT_EQ(ticked, cyrillic);
        EXPECT_EQ(dlg->m_image.isCyrillicSet(), !cyrillic);
    }
}

}  // namespace
}  // namespace vorlane::test
