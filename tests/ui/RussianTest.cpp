// The editor in Russian: the language follows the locale, and the messages built from the core's
// reports arrive translated with their numbers and paths in place.
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
    const std::vector<std::string> dirs{VORLANE_TRANSLATIONS_DIR};
    const struct {
        const char* locale;
        const char* cancel;
        bool qtTranslated;
    } rows[] = {
        {"ru_RU", "Отмена", true},  {"ru_UA", "Отмена", true}, {"de_DE", "Cancel", false},
        {"en_US", "Cancel", false}, {"C", "Cancel", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale);
        const std::string language = dk::installTranslations("vorlane", dirs, row.locale);
        EXPECT_EQ(language.empty(), !row.qtTranslated);
        EXPECT_EQ(dk::translate(dk::kTemplateContext, "Cancel"), row.cancel);
#ifndef _WIN32
        // The toolkit's file dialogs and message box buttons speak the same language as the
        // editor. (On Windows they are the system's, in the system's own language.)
        EXPECT_EQ(dk::translate("QPlatformTheme", "Cancel") != "Cancel", row.qtTranslated);
#endif
    }
    dk::removeTranslations();
    EXPECT_EQ(dk::translate(dk::kTemplateContext, "Cancel"), "Cancel");
}

// Every template of the editor, found by its resource ID, realised bare: a new dialog is checked
// without being named here.
TEST_F(RussianFixture, EveryTemplateFitsInRussianAndShowsNoEnglish) {
    ASSERT_TRUE(language.starts_with("ru")) << language;
    std::set<const dk::DialogTemplate*> seen;
    for (int id = 1; id < 1000; ++id) {
        const dk::DialogTemplate& t = dialogTemplate(id);
        if (t.id != id || !seen.insert(&t).second) {
            continue;
        }
        SCOPED_TRACE(id);
        dk::CDialog dialog(t);
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(joined(clippedTexts(dialog.window())), "");
        EXPECT_EQ(joined(englishTexts(dialog.window())), "");
    }
    EXPECT_GE(seen.size(), 5u);
}

TEST_F(RussianFixture, MessagesFiltersAndListsAreRussian) {
    ASSERT_TRUE(language.starts_with("ru")) << language;
    EXPECT_NE(dlg->GetWindowText().find("Vorlane для Radeon 7000/9800 - версия 2.5"),
              std::string::npos);
    EXPECT_EQ(drive::itemText(tvCombo(), 0), "Нет");
    EXPECT_EQ(drive::itemText(tvCombo(), 1), "NTSC");
    std::string menu;
    for (const dk::CMenu::Item& item : dlg->GetSystemMenu()->items()) {
        menu += (&item == &dlg->GetSystemMenu()->items().front() ? "" : "|") + item.text;
    }
#ifdef _WIN32
    // "Close" is the native window menu's own, in the system's language: the kit's menu begins
    // with the separator after it.
    const std::string close;
#else
    const std::string close = "&Закрыть\tAlt+F4|";
#endif
    EXPECT_EQ(menu, close +
                        "|&О программе Vorlane_25...|&Сравнить с файлом...\tCtrl+D|"
                        "&Проверить перед прошивкой...\tCtrl+K");
    scripted.answerMessage(dk::IDOK);
    drive::pressKey(dlg->GetDlgItem(dk::IDCANCEL), drive::Key::F1);
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
    drive::click(check.GetDlgItem(IDC_SAVE_PADDED));
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
    drive::click(font->GetDlgItem(IDC_LOAD_FONT));
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
