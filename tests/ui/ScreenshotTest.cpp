// Writes each dialog to a PNG under the build folder for a person to look at, and checks that
// no control's text is cut off by its rectangle in the dialog font.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "tests/ui/MainWindowFixture.h"
#include "ui/AboutDlg.h"
#include "ui/FontDlg.h"
#include "ui/GlyphDlg.h"
#include "ui/ReportDlg.h"
#include "ui/SubsysDlg.h"

namespace vorlane::test {
namespace {

// Pixels a push button needs around its text, beyond the text's own advance.
constexpr int kButtonMargin = 8;

// Texts wider or taller than the room their control gives them.
QStringList clippedTexts(QWidget* window) {
    QStringList clipped;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QString text;
        int room = w->width();
        int height = w->height();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            room = label->contentsRect().width();
            height = label->contentsRect().height();
        } else if (auto* box = dynamic_cast<dk::CheckBoxWidget*>(w)) {
            text = box->text();
            room = box->labelRect().width();
            height = box->labelRect().height();
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            text = button->text();
            room -= kButtonMargin;
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            room -= 16;
            height = w->fontMetrics().height();
        }
        if (text.isEmpty()) {
            continue;
        }
        const int needed = w->fontMetrics().horizontalAdvance(text);
        if (needed > room || w->fontMetrics().height() > height) {
            clipped << QStringLiteral("%1 (needs %2 x %3, has %4 x %5)")
                           .arg(text)
                           .arg(needed)
                           .arg(w->fontMetrics().height())
                           .arg(room)
                           .arg(height);
        }
    }
    return clipped;
}

// The build folder by default; tools/screenshots points this at docs/ to refresh the README's.
QString screenshotDir() {
    const QString chosen = qEnvironmentVariable("VORLANE_SCREENSHOT_DIR");
    return chosen.isEmpty() ? QStringLiteral(VORLANE_SCREENSHOT_DIR) : chosen;
}

void saveShot(QWidget* window, const QString& name) {
    QDir().mkpath(screenshotDir());
    const QString path = screenshotDir() + "/" + name;
    ASSERT_TRUE(window->grab().save(path)) << path.toStdString();
    EXPECT_GT(QFileInfo(path).size(), 0);
}

TEST_F(MainWindowFixture, ScreenshotOfMainWindow) {
    load(write("card.rom", RomBuilder().engineFeedback(0x64)));
    saveShot(dlg->window(), "main.png");
    EXPECT_EQ(clippedTexts(dlg->window()).join("; ").toStdString(), "");
}

TEST_F(MainWindowFixture, ScreenshotsOfTheOtherDialogs) {
    CAboutDlg about;
    ASSERT_TRUE(about.Create());
    saveShot(about.window(), "about.png");
    EXPECT_EQ(clippedTexts(about.window()).join("; ").toStdString(), "");
}

TEST_F(MainWindowFixture, ScreenshotsOfTheFontAndPciIdDialogs) {
    load(write("card.rom", RomBuilder().deviceId(0x5a4b).subsystemId(0x00ea)));
    dlg->m_image.applyBuiltinSet(false);  // real glyphs in the grid

    CFontDlg font;
    font.m_pImage = &dlg->m_image;
    ASSERT_TRUE(font.Create());
    saveShot(font.window(), "font.png");
    EXPECT_EQ(clippedTexts(font.window()).join("; ").toStdString(), "");

    CSubsysDlg pci;
    pci.m_pImage = &dlg->m_image;
    pci.m_deviceIdText = hexId(dlg->m_image.deviceId);
    pci.m_vendorIdText = hexId(dlg->m_image.vendorId);
    pci.m_subvendorIdText = hexId(dlg->m_image.subsystemVendorId);
    pci.m_subsystemIdText = hexId(dlg->m_image.subsystemId);
    ASSERT_TRUE(pci.Create());
    saveShot(pci.window(), "pci.png");
    EXPECT_EQ(clippedTexts(pci.window()).join("; ").toStdString(), "");
}

TEST_F(MainWindowFixture, ScreenshotOfTheGlyphDialog) {
    load(write("card.rom", RomBuilder()));
    dlg->m_image.applyBuiltinSet(false);
    CGlyphDlg glyph;
    glyph.m_pImage = &dlg->m_image;
    glyph.m_code = 0x41;
    ASSERT_TRUE(glyph.Create());
    QApplication::setActiveWindow(glyph.window());
    glyph.GetDlgItem(res::IDC_GLYPH_8X16)->setFocus();  // its cursor shows
    saveShot(glyph.window(), "glyph.png");
    EXPECT_EQ(clippedTexts(glyph.window()).join("; ").toStdString(), "");
}

// The image differs from the dump in a clock, the device ID and one glyph; the check is against a
// 32 KiB chip, which the image does not fit.
TEST_F(MainWindowFixture, ScreenshotsOfTheReportDialogs) {
    load(write("card.rom", RomBuilder().engineFeedback(0x64)));
    const std::string other = write(
        "dump.rom",
        RomBuilder().deviceId(0x5446).poke(RomBuilder::kFont8x16 + 0x41 * 16, {0x00, 0x18, 0x3C}));
    CCompareDlg compare;
    compare.m_report = compareReport(dlg->m_path, savedImage(dlg->m_image), other);
    ASSERT_TRUE(compare.Create());
    QCoreApplication::processEvents();  // the text's scroll bars follow its layout
    saveShot(compare.window(), "compare.png");
    EXPECT_EQ(clippedTexts(compare.window()).join("; ").toStdString(), "");

    CCheckDlg check;
    check.m_pImage = &dlg->m_image;
    check.m_path = dlg->m_path;
    ASSERT_TRUE(check.Create());
    auto* chip = check.window()->findChild<QComboBox*>();
    chip->setCurrentIndex(1);
    emit chip->activated(1);
    QCoreApplication::processEvents();
    saveShot(check.window(), "check.png");
    EXPECT_EQ(clippedTexts(check.window()).join("; ").toStdString(), "");
}

}  // namespace
}  // namespace vorlane::test
