// The font dialog over a loaded image: the glyph grid pixel by pixel, the repaints it asks for,
// loading, saving and the built-in sets, the "Rus" box, and file errors.
#include <QPaintEvent>
#include <QRegion>
#include <algorithm>
#include <filesystem>
#include <span>

#include "BuiltinFonts.h"
#include "FontDlg.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;

constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlack = 0xFF000000;

std::vector<uint8_t> bytesOf(std::span<const uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> fontFile(bool cyrillic) {
    const BuiltinFontSet set = builtinFontSet(cyrillic);
    std::vector<uint8_t> bytes(CRomImage::kFontFileSize);
    std::ranges::copy(set.font8x16, std::ranges::copy(set.font8x8, bytes.begin()).out);
    return bytes;
}

// What the dialog paints by itself (its background and its paint handler, no child controls).
QImage ownPaint(QWidget* window) {
    QImage shot(window->size(), QImage::Format_RGB32);
    shot.fill(Qt::magenta);
    window->render(&shot, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return shot;
}

// The grid as the user must see it: `frame` black, each glyph g of `font` with its top-left pixel
// at origin + (g mod 16 * cw, g div 16 * ch), one pixel per font pixel, a pixel green when any
// glyph lights it, and the window background everywhere else.
QImage expectedGrid(QSize size, QRgb background, QRect frame, int cw, int ch, QPoint origin,
                    std::span<const uint8_t> font) {
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(background);
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
        for (int x = frame.left(); x <= frame.right(); ++x) {
            expected.setPixel(x, y, kBlack);
        }
    }
    for (int g = 0; g < 256; ++g) {
        for (int row = 0; row < 16; ++row) {
            for (int bit = 0; bit < 8; ++bit) {
                const QPoint at = origin + QPoint(g % 16 * cw + bit, g / 16 * ch + row);
                if ((font[g * 16 + row] & (0x80 >> bit)) != 0 && expected.rect().contains(at)) {
                    expected.setPixel(at, kGreen);
                }
            }
        }
    }
    return expected;
}

// "" when the images agree; otherwise the count and the first pixel that differs.
std::string difference(const QImage& shot, const QImage& expected) {
    int count = 0;
    QString first;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (shot.pixel(x, y) != expected.pixel(x, y)) {
                if (count++ == 0) {
                    first = QStringLiteral("(%1, %2) is %3, expected %4")
                                .arg(x)
                                .arg(y)
                                .arg(shot.pixel(x, y), 8, 16)
                                .arg(expected.pixel(x, y), 8, 16);
                }
            }
        }
    }
    return count == 0 ? "" : std::to_string(count) + " pixels differ, first " + first.toStdString();
}

// Counts the paints of a window that cover the whole glyph frame: the repaints the dialog asked
// for, as against a button redrawing its own small area.
class GridRepaints : public QObject {
  public:
    GridRepaints(QWidget* window, QRect frame) : window_(window), frame_(frame) {
        window_->installEventFilter(this);
    }
    ~GridRepaints() override {
        if (window_) {
            window_->removeEventFilter(this);
        }
    }
    int count() const { return count_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint &&
            QRegion(frame_).subtracted(static_cast<QPaintEvent*>(event)->region()).isEmpty()) {
            ++count_;
        }
        return false;
    }

  private:
    QPointer<QWidget> window_;
    QRect frame_;
    int count_ = 0;
};

// Lets every pending update turn into paint events.
void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

class FontDialogTest : public MainWindowFixture {
  protected:
    void TearDown() override {
        repaints.reset();
        font.reset();
        MainWindowFixture::TearDown();
    }

    // Loads the image into the main window and shows a font dialog over it.
    void open(const RomBuilder& builder = B()) {
        load(write("card.rom", builder));
        font = std::make_unique<CFontDlg>();
        font->m_pImage = &dlg->m_image;
        ASSERT_TRUE(font->Create());
        QApplication::setActiveWindow(font->window());
        settle();
        repaints = std::make_unique<GridRepaints>(font->window(), frameRect());
    }
    QRect frameRect() const { return font->GetDlgItem(IDC_GLYPH_FRAME)->geometry(); }
    void clickFont(int id) { QTest::mouseClick(font->GetDlgItem(id), Qt::LeftButton); }
    // Grid repaints caused by `action`.
    int repaintsAfter(const std::function<void()>& action) {
        settle();
        const int before = repaints->count();
        action();
        settle();
        return repaints->count() - before;
    }
    QRgb background() const { return font->window()->palette().color(QPalette::Window).rgb(); }

    std::span<const uint8_t> image8x8() const {
        return dlg->m_image.fontBytes(dlg->m_image.font8x8Offset, CRomImage::kFont8x8Size);
    }
    std::span<const uint8_t> image8x16() const {
        return dlg->m_image.fontBytes(dlg->m_image.font8x16Offset, CRomImage::kFont8x16Size);
    }

    std::unique_ptr<CFontDlg> font;
    std::unique_ptr<GridRepaints> repaints;
};

TEST_F(FontDialogTest, GridShowsTheImagesFontPixelForPixel) {
    open();
    // 208 x 152 dialog units at (7, 7): 19 x 15 cells, the grid 4 right of and 3 below the
    // frame's corner, each glyph's 16th row on the first row of the glyph below.
    const QRect frame = frameRect();
    ASSERT_EQ(frame, QRect(11, 11, 312, 247));
    const QPoint origin = frame.topLeft() + QPoint(4, 3);
    EXPECT_EQ(
        difference(ownPaint(font->window()), expectedGrid(font->window()->size(), background(),
                                                          frame, 19, 15, origin, image8x16())),
        "");

    // Real glyphs, and a change to the image shows at the next paint.
    dlg->m_image.applyBuiltinSet(false);
    const QImage standard = ownPaint(font->window());
    EXPECT_EQ(difference(standard, expectedGrid(font->window()->size(), background(), frame, 19, 15,
                                                origin, kStandardFont8x16)),
              "");
    // The full block 0xDB lights its whole cell width of 8 and all 16 rows; the 16th row
    // overlaps the glyph below (0xEB), whose top row would be dark on its own.
    const QPoint block = origin + QPoint(0xDB % 16 * 19, 0xDB / 16 * 15);
    EXPECT_EQ(standard.pixel(block), kGreen);
    EXPECT_EQ(standard.pixel(block + QPoint(7, 15)), kGreen);
    EXPECT_EQ(standard.pixel(block + QPoint(8, 0)), kBlack);
    EXPECT_EQ(kStandardFont8x16[0xEB * 16], 0);

    dlg->m_image.data[dlg->m_image.font8x16Offset + 0x41 * 16 + 5] ^= 0xFF;
    const QImage changed = ownPaint(font->window());
    const QPoint letterRow = origin + QPoint(0x41 % 16 * 19, 0x41 / 16 * 15 + 5);
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_NE(changed.pixel(letterRow + QPoint(bit, 0)),
                  standard.pixel(letterRow + QPoint(bit, 0)));
    }
}

TEST_F(FontDialogTest, ResetImageShowsSolidBlocksAndAnyFrameIsMeasuredAtPaint) {
    open();
    // A reset image: every byte 0xFF, no font located, so the grid shows the first 4096 bytes.
    dlg->m_image.reset();
    ASSERT_EQ(dlg->m_image.font8x16Offset, 0);
    const QRect frame = frameRect();
    const QPoint origin = frame.topLeft() + QPoint(4, 3);
    const QImage solid = ownPaint(font->window());
    EXPECT_EQ(difference(solid, expectedGrid(font->window()->size(), background(), frame, 19, 15,
                                             origin, std::span(dlg->m_image.data).first(4096))),
              "");
    for (int g : {0, 17, 255}) {
        const QPoint cell = origin + QPoint(g % 16 * 19, g / 16 * 15);
        EXPECT_EQ(solid.pixel(cell + QPoint(7, 15)), kGreen) << g;
        EXPECT_EQ(solid.pixel(cell + QPoint(8, 14)), kBlack) << g;
    }

    // A frame smaller than the grid: 100 x 60 gives 6 x 3 cells, glyphs overlap on both axes and
    // the bottom row of glyphs reaches below the frame, where it lights the background.
    const QRect small(20, 30, 100, 60);
    font->GetDlgItem(IDC_GLYPH_FRAME)->setGeometry(small);
    std::span<uint8_t> first = std::span(dlg->m_image.data).first(4096);
    for (size_t i = 0; i < first.size(); ++i) {
        first[i] = B::defaultFont8x16Byte(i);
    }
    const QImage shrunk = ownPaint(font->window());
    EXPECT_EQ(difference(shrunk, expectedGrid(font->window()->size(), background(), small, 6, 3,
                                              QPoint(22, 36), first)),
              "");
    EXPECT_EQ(shrunk.pixel(5, 5), background());
}

TEST_F(FontDialogTest, LoadReplacesBothFontsAndAlwaysRepaints) {
    open();
    const auto old8x8 = bytesOf(image8x8());
    const std::string cyrillic = dir.file("cyr.fnt");
    writeBytes(cyrillic, fontFile(true));

    scripted.answerFile(cyrillic);
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_LOAD_FONT); }), 1);
    ASSERT_EQ(scripted.asked().size(), 2u);
    const auto& request = lastAsked();
    EXPECT_EQ(request.kind, dk::ScriptedPrompts::Asked::OpenFile);
    EXPECT_EQ(request.file.filter, "Font Files (*.fnt)|*.fnt|All Files (*.*)|*.*||");
    EXPECT_EQ(request.file.defaultExt, "fnt");
    EXPECT_EQ(request.file.initialName, "");
    EXPECT_EQ(request.file.flags, 0x1004u);
    EXPECT_EQ(bytesOf(image8x8()), bytesOf(kCyrillicFont8x8));
    EXPECT_EQ(bytesOf(image8x16()), bytesOf(kCyrillicFont8x16));
    EXPECT_NE(bytesOf(image8x8()), old8x8);
    // The box shows what it showed on opening, whatever the file held.
    EXPECT_FALSE(font->IsDlgButtonChecked(IDC_RUS));

    // A cancelled load changes nothing and still repaints.
    const auto before = dlg->m_image.data;
    scripted.answerFile(std::nullopt);
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_LOAD_FONT); }), 1);
    EXPECT_TRUE(dlg->m_image.data == before);

    // Without located fonts: no file dialog, still a repaint, the image untouched.
    dlg->m_image.font8x8Offset = 0;
    const size_t asked = scripted.asked().size();
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_LOAD_FONT); }), 1);
    EXPECT_EQ(scripted.asked().size(), asked);
    EXPECT_TRUE(dlg->m_image.data == before);
}

TEST_F(FontDialogTest, SaveWritesBothFontsAndNeverRepaints) {
    open();
    const std::string out = dir.file("out.fnt");
    scripted.answerFile(out);
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_SAVE_FONT); }), 0);
    const auto& request = lastAsked();
    EXPECT_EQ(request.kind, dk::ScriptedPrompts::Asked::SaveFile);
    EXPECT_EQ(request.file.filter, CFontDlg::kFontFilter);
    EXPECT_EQ(request.file.defaultExt, "fnt");
    EXPECT_EQ(request.file.flags, 6u);
    std::vector<uint8_t> expected = bytesOf(image8x8());
    const auto tall = bytesOf(image8x16());
    expected.insert(expected.end(), tall.begin(), tall.end());
    EXPECT_EQ(readBytes(out), expected);

    const auto before = dlg->m_image.data;
    scripted.answerFile(std::nullopt);
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_SAVE_FONT); }), 0);

    // Without located fonts nothing is asked and nothing is written.
    dlg->m_image.font8x16Offset = 0;
    const size_t asked = scripted.asked().size();
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_SAVE_FONT); }), 0);
    EXPECT_EQ(scripted.asked().size(), asked);
    EXPECT_TRUE(dlg->m_image.data == before);
}

TEST_F(FontDialogTest, RusSwitchesBetweenTheBuiltInSets) {
    open();
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_RUS); }), 1);
    EXPECT_EQ(font->m_rus, 1);
    EXPECT_EQ(bytesOf(image8x8()), bytesOf(kCyrillicFont8x8));
    EXPECT_EQ(bytesOf(image8x16()), bytesOf(kCyrillicFont8x16));

    // Clearing copies the standard set, not the fonts held before the box was ticked.
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_RUS); }), 1);
    EXPECT_EQ(font->m_rus, 0);
    EXPECT_EQ(bytesOf(image8x8()), bytesOf(kStandardFont8x8));
    EXPECT_EQ(bytesOf(image8x16()), bytesOf(kStandardFont8x16));

    // Without located fonts the box flips and repaints, the image stays.
    dlg->m_image.font8x8Offset = 0;
    const auto before = dlg->m_image.data;
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_RUS); }), 1);
    EXPECT_TRUE(font->IsDlgButtonChecked(IDC_RUS));
    EXPECT_TRUE(dlg->m_image.data == before);
    EXPECT_EQ(scripted.asked().size(), 1u);  // only the image's own open dialog
}

TEST_F(FontDialogTest, FileErrorsAreReportedAndTheDialogKeepsWorking) {
    open();
    const auto before = dlg->m_image.data;

    // A folder opens but cannot be read: the box names it and the reason, nothing is stored.
    const std::string folder = dir.file("folder.fnt");
    std::filesystem::create_directory(folder);
    scripted.answerFile(folder);
    scripted.answerMessage(dk::IDOK);
    clickFont(IDC_LOAD_FONT);
    auto box = lastAsked();
    EXPECT_EQ(box.kind, dk::ScriptedPrompts::Asked::Message);
    EXPECT_NE(box.message.text.find(folder), std::string::npos);
    EXPECT_NE(box.message.text.find("Is a directory"), std::string::npos);
    EXPECT_EQ(box.message.type & dk::MB_ICONMASK, dk::MB_ICONSTOP);
    EXPECT_TRUE(dlg->m_image.data == before);

    // The grid is redrawn after a failed load too, in case the read stopped part way.
    const std::string missing = dir.file("gone.fnt");
    scripted.answerFile(missing);
    scripted.answerMessage(dk::IDOK);
    EXPECT_EQ(repaintsAfter([&] { clickFont(IDC_LOAD_FONT); }), 1);
    EXPECT_NE(lastAsked().message.text.find("No such file or directory"), std::string::npos);

    const std::string unwritable = dir.file("no-such-folder/out.fnt");
    scripted.answerFile(unwritable);
    scripted.answerMessage(dk::IDOK);
    clickFont(IDC_SAVE_FONT);
    EXPECT_NE(lastAsked().message.text.find(unwritable), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(unwritable));
    EXPECT_TRUE(dlg->m_image.data == before);

    // Still open and working.
    EXPECT_TRUE(font->window()->isVisible());
    const std::string cyrillic = dir.file("cyr.fnt");
    writeBytes(cyrillic, fontFile(true));
    scripted.answerFile(cyrillic);
    clickFont(IDC_LOAD_FONT);
    EXPECT_TRUE(dlg->m_image.isCyrillicSet());
}

TEST_F(MainWindowFixture, FontButtonOpensTheDialogWithTheBoxFromTheImage) {
    std::vector<uint8_t> cyr8x8(kCyrillicFont8x8.begin(), kCyrillicFont8x8.end());
    std::vector<uint8_t> cyr8x16(kCyrillicFont8x16.begin(), kCyrillicFont8x16.end());
    ModalDriver driver;
    bool ticked = false;
    QString title;
    const auto openFont = [&](const std::function<void(QWidget*)>& then) {
        driver.onNext(ModalDriver::Kind::Modal, [&, then](QWidget* modal) {
            title = modal->windowTitle();
            ticked = dlg->m_fontDlg.IsDlgButtonChecked(IDC_RUS) != 0;
            then(modal);
        });
        click(IDC_FONT);
        EXPECT_TRUE(driver.fired());
        EXPECT_FALSE(driver.timedOut());
    };
    const auto escape = [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); };

    load(write("plain.rom", B()));
    openFont(escape);
    EXPECT_EQ(title, "Font");
    EXPECT_EQ(dlg->m_fontDlg.m_pImage, &dlg->m_image);
    EXPECT_FALSE(ticked);

    // Only the 8x8 font decides.
    load(write("cyr16.rom", B().poke(B::kFont8x16, cyr8x16)));
    openFont(escape);
    EXPECT_FALSE(ticked);
    load(write("cyr8.rom", B().poke(B::kFont8x8, cyr8x8)));
    openFont(escape);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(dlg->m_fontDlg.m_rus, 1);

    // Clearing the box and leaving by Escape keeps the standard set in the image; the next
    // opening reads the box from the image again.
    openFont([&](QWidget* modal) {
        QTest::mouseClick(dlg->m_fontDlg.GetDlgItem(IDC_RUS), Qt::LeftButton);
        escape(modal);
    });
    EXPECT_TRUE(ticked);
    EXPECT_FALSE(dlg->m_image.isCyrillicSet());
    EXPECT_TRUE(std::ranges::equal(
        dlg->m_image.fontBytes(dlg->m_image.font8x16Offset, CRomImage::kFont8x16Size),
        kStandardFont8x16));
    openFont([&](QWidget* modal) {
        QTest::mouseClick(dlg->m_fontDlg.GetDlgItem(IDC_RUS), Qt::LeftButton);
        QTest::keyClick(modal, Qt::Key_Return);  // OK
    });
    EXPECT_FALSE(ticked);
    EXPECT_EQ(dlg->m_fontDlg.m_rus, 1);  // read back by OK
    EXPECT_TRUE(dlg->m_image.isCyrillicSet());
    EXPECT_TRUE(dlg->window()->isVisible());
}

}  // namespace
}  // namespace vorlane::test
