// The texts compiled into the Windows program: the generated tables (the editor's own Russian one
// and a fixture of what lrelease keeps and drops), found as the Qt backend finds a .qm file, with
// Qt's plural forms and place markers.
#include <gtest/gtest.h>

#include <cstdlib>

#include "dialogkit/Translation.h"

namespace vorlane::dk {
namespace {

class Installed : public ::testing::Test {
  protected:
    void TearDown() override { removeTranslations(); }
};

TEST_F(Installed, TheEditorsTableHasItsTextsAndPluralForms) {
    ASSERT_EQ(installTranslations("vorlane", {}, "ru_RU"), "ru");
    const struct {
        const char* context;
        const char* source;
        int n;  // -1: no count
        const char* expected;
    } rows[] = {
        {"Dialog", "Cancel", -1, "Отмена"},
        {"Vorlane", "&About Vorlane_25...", -1, "&О программе Vorlane_25..."},
        {"DialogKit", "&Close\tAlt+F4", -1, "&Закрыть\tAlt+F4"},
        {"FontError", "has %1 glyphs, need at least %2", -1,
         "в нём %1 символов, а нужно не меньше %2"},
        // Another context's text, and one the table lacks, stay English.
        {"Vorlane", "Cancel", -1, "Cancel"},
        {"Dialog", "No such text", -1, "No such text"},
        {"Report", "%1 fields", 1, "%1 поле"},
        {"Report", "%1 fields", 21, "%1 поле"},
        {"Report", "%1 fields", 3, "%1 поля"},
        {"Report", "%1 fields", 104, "%1 поля"},
        {"Report", "%1 fields", 0, "%1 полей"},
        {"Report", "%1 fields", 11, "%1 полей"},
        {"Report", "%1 fields", 13, "%1 полей"},
        {"Report", "%1 fields", 112, "%1 полей"},
        {"Report", "No such %1", 2, "No such %1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.source) + " n=" + std::to_string(row.n));
        EXPECT_EQ(row.n < 0 ? translate(row.context, row.source)
                            : translate(row.context, row.source, row.n),
                  row.expected);
    }
}

TEST_F(Installed, TheGeneratorKeepsWhatLreleaseKeeps) {
    ASSERT_EQ(installTranslations("fixture", {}, "ru"), "ru");
    const struct {
        const char* source;
        int n;
        const char* expected;
    } rows[] = {
        {"Finished", -1, "Готово"},
        {"Unfinished with a translation", -1, "Черновик"},
        {"Unfinished without one", -1, "Unfinished without one"},
        {"Obsolete", -1, "Obsolete"},
        {"Vanished", -1, "Vanished"},
        {"Disambiguated", -1, "Disambiguated"},
        {"Bell\a <and> \"more\"", -1, "Звонок\a <и> «ещё»"},
        {"%n files", 1, "1 файл"},
        {"%n files", 22, "22 файла"},
        {"%n files", 25, "25 файлов"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        EXPECT_EQ(
            row.n < 0 ? translate("Fixture", row.source) : translate("Fixture", row.source, row.n),
            row.expected);
    }
}

TEST_F(Installed, OnlyALanguageTheProgramHasIsInstalled) {
    const struct {
        const char* name;
        const char* locale;
        const char* language;
    } rows[] = {
        {"vorlane", "ru_RU", "ru"},       {"vorlane", "ru_UA", "ru"},
        {"vorlane", "ru", "ru"},          {"vorlane", "ru-RU", "ru"},
        {"vorlane", "ru_RU.UTF-8", "ru"}, {"vorlane", "C", ""},
        {"vorlane", "en_US", ""},         {"vorlane", "de", ""},
        {"other", "ru_RU", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " " + row.locale);
        EXPECT_EQ(installTranslations(row.name, {}, row.locale), row.language);
        EXPECT_EQ(translate("Dialog", "Cancel"), *row.language != '\0' ? "Отмена" : "Cancel");
    }
    removeTranslations();
    EXPECT_EQ(translate("Dialog", "Cancel"), "Cancel");
}

// The user's display language decides when the program names none; CTest runs this under Wine
// with LANG set, and says which language that is to give.
TEST_F(Installed, TheUsersLanguageIsTheDefault) {
    const char* expected = std::getenv("VORLANE_EXPECTED_LANGUAGE");
    if (expected == nullptr) {
        GTEST_SKIP() << "run by CTest with a LANG and VORLANE_EXPECTED_LANGUAGE";
    }
    EXPECT_EQ(installTranslations("vorlane", {}), expected);
}

TEST(Texts, PlacesAreFilledAsQStringArgFillsThem) {
    const struct {
        const char* pattern;
        std::initializer_list<std::string> args;
        const char* expected;
    } rows[] = {
        {"%1 of %2", {"a", "b"}, "a of b"},
        {"%2 before %1", {"x", "y"}, "y before x"},
        {"%1 and %1 again", {"a"}, "a and a again"},
        // The lowest number left takes the next argument, whatever it is; %10 is ten, not %1.
        {"%10 %3", {"a", "b"}, "b a"},
        {"%1", {"%2", "z"}, "z"},
        {"%L1 kB", {"5"}, "5 kB"},
        {"100% sure, %", {"a"}, "100% sure, %"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(formatText(row.pattern, row.args), row.expected);
    }
}

TEST_F(Installed, NumbersAreTakenOutToFindTheTranslation) {
    ASSERT_EQ(installTranslations("vorlane", {}, "ru"), "ru");
    const struct {
        const char* context;
        const char* text;
        const char* expected;
    } rows[] = {
        {"FontError", "has 128 glyphs, need at least 256",
         "в нём 128 символов, а нужно не меньше 256"},
        {"FontError", "glyphs take 8 bytes, but 16 rows of 8 pixels take 16",
         "символ занимает 8 байт, а 16 строк по 8 пикс. занимают 16"},
        // The part before a parenthesis, when the whole has none.
        {"FontError", "has 1 glyphs, need at least 2 (read 3)",
         "в нём 1 символов, а нужно не меньше 2 (read 3)"},
        {"FontError", "no such 12 text", "no such 12 text"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(trNumbered(row.context, row.text), row.expected);
    }
}

}  // namespace
}  // namespace vorlane::dk
