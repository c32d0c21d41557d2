// Writes each dialog to a PNG under the build folder for a person to look at, and checks that
// no control's text is cut off by its rectangle in the dialog font, in English and in Russian.
#include <QDir>

#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/TextChecks.h"
#include "ui/AboutDlg.h"
#include "ui/FontDlg.h"
#include "ui/GlyphDlg.h"
#include "ui/ReportDlg.h"
#include "ui/SubsysDlg.h"

namespace vorlane::test {
namespace {

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

// Every dialog of the editor over a loaded image, each saved as <name><suffix>.png and checked.
void shootEveryDialog(CMainDlg& main, const QString& suffix) {
    const auto check = [&](QWidget* window, const QString& name) {
        saveShot(window, name + suffix + ".png");
        EXPECT_EQ(clippedTexts(window).join("; ").toStdString(), "") << name.toStdString();
        if (!suffix.isEmpty()) {
            EXPECT_EQ(englishTexts(window).join("; ").toStdString(), "") << name.toStdString();
        }
    };
    check(main.window(), "main");

    CAboutDlg about;
    ASSERT_TRUE(about.Create());
    check(about.window(), "about");

    CFontDlg font;
    font.m_pImage = &main.m_image;
    ASSERT_TRUE(font.Create());
    check(font.window(), "font");

    CSubsysDlg pci;
    pci.m_pImage = &main.m_image;
    pci.m_deviceIdText = hexId(main.m_image.deviceId);
    pci.m_vendorIdText = hexId(main.m_image.vendorId);
    pci.m_subvendorIdText = hexId(main.m_image.subsystemVendorId);
    pci.m_subsystemIdText = hexId(main.m_image.subsystemId);
    ASSERT_TRUE(pci.Create());
    check(pci.window(), "pci");

    CGlyphDlg glyph;
    glyph.m_pImage = &main.m_image;
    glyph.m_code = 0x41;
    ASSERT_TRUE(glyph.Create());
    QApplication::setActiveWindow(glyph.window());
    glyph.GetDlgItem(res::IDC_GLYPH_8X16)->setFocus();  // its cursor shows
    check(glyph.window(), "glyph");
}

TEST_F(MainWindowFixture, ScreenshotsOfEveryDialog) {
    load(write("card.rom", RomBuilder().engineFeedback(0x64).deviceId(0x5a4b).subsystemId(0x00ea)));
    dlg->m_image.applyBuiltinSet(false);  // real glyphs in the grid
    shootEveryDialog(*dlg, "");
}

TEST_F(RussianFixture, ScreenshotsOfEveryDialogInRussian) {
    ASSERT_TRUE(language.startsWith("ru")) << language.toStdString();
    load(write("card.rom", RomBuilder().engineFeedback(0x64).deviceId(0x5a4b).subsystemId(0x00ea)));
    dlg->m_image.applyBuiltinSet(true);  // the Cyrillic set, as a Russian user would have it
    shootEveryDialog(*dlg, "-ru");
}

// The image differs from the dump in a clock, the device ID and one glyph; the check is against a
// 32 KiB chip, which the image does not fit.
void shootReportDialogs(CMainDlg& main, const std::string& other, const QString& suffix) {
    CCompareDlg compare;
    compare.m_report = compareReport(main.m_path, savedImage(main.m_image), other);
    ASSERT_TRUE(compare.Create());
    QCoreApplication::processEvents();  // the text's scroll bars follow its layout
    saveShot(compare.window(), "compare" + suffix + ".png");
    EXPECT_EQ(clippedTexts(compare.window()).join("; ").toStdString(), "");

    CCheckDlg check;
    check.m_pImage = &main.m_image;
    check.m_path = main.m_path;
    ASSERT_TRUE(check.Create());
    auto* chip = check.window()->findChild<QComboBox*>();
    chip->setCurrentIndex(1);
    emit chip->activated(1);
    QCoreApplication::processEvents();
    saveShot(check.window(), "check" + suffix + ".png");
    EXPECT_EQ(clippedTexts(check.window()).join("; ").toStdString(), "");
}

TEST_F(MainWindowFixture, ScreenshotsOfTheReportDialogs) {
    load(write("card.rom", RomBuilder().engineFeedback(0x64)));
    shootReportDialogs(
        *dlg,
        write("dump.rom", RomBuilder().deviceId(0x5446).poke(RomBuilder::kFont8x16 + 0x41 * 16,
                                                             {0x00, 0x18, 0x3C})),
        "");
}

TEST_F(RussianFixture, ScreenshotsOfTheReportDialogsInRussian) {
    ASSERT_TRUE(language.startsWith("ru")) << language.toStdString();
    load(write("card.rom", RomBuilder().engineFeedback(0x64)));
    shootReportDialogs(
        *dlg,
        write("dump.rom", RomBuilder().deviceId(0x5446).poke(RomBuilder::kFont8x16 + 0x41 * 16,
                                                             {0x00, 0x18, 0x3C})),
        "-ru");
}

}  // namespace
}  // namespace vorlane::test
