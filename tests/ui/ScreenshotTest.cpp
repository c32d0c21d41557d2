// Writes each dialog to a PNG under the build folder for a person to look at, and checks that
// no control's text is cut off by its rectangle in the dialog font, in English and in Russian.
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

// Texts shown in their source language although a translation is installed that has them.
QStringList untranslatedTexts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            texts << label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            texts << button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            texts << group->title();
        }
    }
    QStringList untranslated;
    for (const QString& text : texts) {
        const QByteArray source = text.toUtf8();
        for (const char* context : {dk::kTemplateContext, "Vorlane"}) {
            if (!text.isEmpty() && QCoreApplication::translate(context, source) != text) {
                untranslated << text;
            }
        }
    }
    return untranslated;
}

// Every dialog of the editor over a loaded image, each saved as <name><suffix>.png and checked.
void shootEveryDialog(CMainDlg& main, const QString& suffix) {
    const auto check = [&](QWidget* window, const QString& name) {
        saveShot(window, name + suffix + ".png");
        EXPECT_EQ(clippedTexts(window).join("; ").toStdString(), "") << name.toStdString();
        EXPECT_EQ(untranslatedTexts(window).join("; ").toStdString(), "") << name.toStdString();
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

}  // namespace
}  // namespace vorlane::test
