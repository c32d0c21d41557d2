// The editor in Russian: the language follows the locale, and the messages built from the core's
// reports arrive translated with their numbers and paths in place.
#include <QComboBox>
#include <set>

#include "res/Templates.h"
#include "tests/support/FontSamples.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/TextChecks.h"
#include "ui/ReportDlg.h"

namespace vorlane::test {
namespace {

using namespace res;

TEST(Translations, OnlyARussianLocaleChangesTheTextsAndQtsOwnFollow) {
    const QStringList dirs{QStringLiteral(VORLANE_TRANSLATIONS_DIR)};
    const struct {
        QLocale locale;
        const char* cancel;
        bool qtTranslated;
    } rows[] = {
        {QLocale(QLocale::Russian, QLocale::Russia), "Отмена", true},
        {QLocale(QLocale::Russian, QLocale::Ukraine), "Отмена", true},
        {QLocale(QLocale::German, QLocale::Germany), "Cancel", false},
        {QLocale(QLocale::English, QLocale::UnitedStates), "Cancel", false},
        {QLocale::c(), "Cancel", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale.name().toStdString());
        const QString language = dk::installTranslations("vorlane", dirs, row.locale);
        EXPECT_EQ(language.isEmpty(), !row.qtTranslated);
        EXPECT_EQ(dk::translate(dk::kTemplateContext, "Cancel"), row.cancel);
        // Qt's file dialogs and message box buttons speak the same language as the editor.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel") != "Cancel",
                  row.qtTranslated);
    }
    dk::removeTranslations();
    EXPECT_EQ(dk::translate(dk::kTemplateContext, "Cancel"), "Cancel");
}

// Every template of the editor, found by its resource ID, realised bare: a new dialog is checked
// without being named here.
TEST_F(RussianFixture, EveryTemplateFitsInRussianAndShowsNoEnglish) {
    ASSERT_TRUE(language.startsWith("ru")) << language.toStdString();
    std::set<const dk::DialogTemplate*> seen;
    for (int id = 1; id < 1000; ++id) {
        const dk::DialogTemplate& t = dialogTemplate(id);
        if (t.id != id || !seen.insert(&t).second) {
            continue;
        }
        SCOPED_TRACE(id);
        dk::CDialog dialog(t);
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(clippedTexts(dialog.window()).join("; ").toStdString(), "");
        EXPECT_EQ(englishTexts(dialog.window()).join("; ").toStdString(), "");
    }
    EXPECT_GE(seen.size(), 5u);
}

TEST_F(RussianFixture, MessagesFiltersAndListsAreRussian) {
    ASSERT_TRUE(language.startsWith("ru")) << language.toStdString();
    EXPECT_NE(dlg->GetWindowText().find("Vorlane для Radeon 7000/9800 - версия 2.5"),
              std::string::npos);
    EXPECT_EQ(tvCombo()->itemText(0), "Нет");
    EXPECT_EQ(tvCombo()->itemText(1), "NTSC");
    QStringList menu;
    for (const dk::CMenu::Item& item : dlg->GetSystemMenu()->items()) {
        menu << QString::fromStdString(item.text);
    }
    EXPECT_EQ(menu.join("|").toStdString(),
              "&Закрыть\tAlt+F4||&О программе Vorlane_25...|&Сравнить с файлом...\tCtrl+D|"
              "&Проверить перед прошивкой...\tCtrl+K");
    scripted.answerMessage(dk::IDOK);
    QTest::keyClick(dlg->GetDlgItem(dk::IDCANCEL), Qt::Key_F1);
    EXPECT_EQ(lastAsked().message.caption, "Справка Vorlane");
    EXPECT_TRUE(lastAsked().message.text.starts_with("Vorlane правит")) << lastAsked().message.text;

    // A status of the image check, in the editor's own box.
    scripted.answerMessage(dk::IDOK);
    load(write("short.rom", RomBuilder().fileSize(0x2000)));
    EXPECT_EQ(errorText(), "Ошибка N1 \n Неверный размер файла");
    EXPECT_EQ(lastAsked().message.caption, "Ошибка");
    scripted.answerMessage(dk::IDOK);
    click(IDC_SAVE_BIOS);  // what is no BIOS is not saved, and the box says why
    EXPECT_TRUE(errorText().starts_with("Этот образ нельзя сохранить: в нём не распознан BIOS"))
        << errorText();
    CCheckDlg check;  // nor padded, in the words of the pad refusal translated
    check.m_pImage = &dlg->m_image;
    check.m_path = dlg->m_path;
    ASSERT_TRUE(check.Create());
    scripted.answerMessage(dk::IDOK);
    QTest::mouseClick(check.GetDlgItem(IDC_SAVE_PADDED), Qt::LeftButton);
    EXPECT_EQ(errorText(),
              "Не дополнено: статус 1, Ошибка N1 - Неверный размер файла: это не BIOS "
              "этого семейства");
    check.DestroyWindow();

    // The open dialog's filter, and a file error in the kit's box: operation and reason too.
    const std::string gone = dir.file("gone.rom");
    scripted.answerMessage(dk::IDOK);
    load(gone);
    EXPECT_EQ(scripted.asked().at(scripted.asked().size() - 2).file.filter,
              "Файлы ROM (*.rom)|*.rom|Файлы BIN (*.bin)|*.bin|Все файлы (*.*)|*.*||");
    EXPECT_EQ(errorText(), gone + "\n\nНе удалось открыть файл: Нет такого файла или каталога.");

    // A font file's fault, its numbers put back into the translation.
    openFontDialog();
    writeBytes(dir.file("wide.psf"), psf({.width = 9}));
    scripted.answerFile(dir.file("wide.psf"));
    scripted.answerMessage(dk::IDOK);
    QTest::mouseClick(font->GetDlgItem(IDC_LOAD_FONT), Qt::LeftButton);
    EXPECT_EQ(errorText(),
              dir.file("wide.psf") +
                  "\n\nЭтот шрифт нельзя загрузить: ширина символов 9 пикс., а нужна 8.");
    EXPECT_EQ(dk::trNumbered("FontError", "gzip data is corrupt (invalid block type)"),
              "данные gzip повреждены (invalid block type)");
    EXPECT_EQ(dk::trNumbered("FontError", "a text 12 nobody translated"),
              "a text 12 nobody translated");
}

}  // namespace
}  // namespace vorlane::test
