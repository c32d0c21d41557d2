// Writes each dialog to a PNG under the build folder for a person to look at, and checks that
// no control's text is cut off by its rectangle in the dialog font.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "AboutDlg.h"
#include "MainWindowFixture.h"
#include "res/Templates.h"

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

void saveShot(QWidget* window, const QString& name) {
    QDir().mkpath(VORLANE_SCREENSHOT_DIR);
    const QString path = QStringLiteral(VORLANE_SCREENSHOT_DIR "/") + name;
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

    // The font and PCI ID templates, bare, to check their fit ahead of their dialogs.
    for (const auto* t : {&res::kFontDialog, &res::kSubsysDialog}) {
        dk::CDialog bare(*t);
        ASSERT_TRUE(bare.Create());
        saveShot(bare.window(), QStringLiteral("template-%1.png").arg(t->id));
        EXPECT_EQ(clippedTexts(bare.window()).join("; ").toStdString(), "") << t->id;
    }
}

}  // namespace
}  // namespace vorlane::test
