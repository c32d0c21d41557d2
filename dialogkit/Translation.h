// Texts through the backend's translation system, looked up by context and English source text.
// The source texts are the English ones, which stay the default: a translation is installed only
// when the user's languages ask for one the program has.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// Marks `text` for translation in `context` and stands for `text` itself, so that it can sit in
// constant tables; it is translated where it is shown. The translation tools read it as an alias
// of their own no-op marker (lupdate -tr-function-alias QT_TRANSLATE_NOOP+=DK_TRANSLATE_NOOP).
#define DK_TRANSLATE_NOOP(context, text) text
// The same for a text with a count, whose translation has a form for each plural the language
// has (QT_TRANSLATE_N_NOOP+=DK_TRANSLATE_N_NOOP).
#define DK_TRANSLATE_N_NOOP(context, text) text

namespace vorlane::dk {

// The context of every template text (captions and control texts): the kit translates them as it
// realises a dialog, so a program marks its tables with DK_TRANSLATE_NOOP("Dialog", ...).
inline constexpr const char* kTemplateContext = "Dialog";
// The context of the kit's own texts: the window menu, the file error and help boxes.
inline constexpr const char* kKitContext = "DialogKit";

// The translation of `source` in `context` as UTF-8; `source` itself when there is none.
std::string translate(const char* context, const char* source);
std::string translate(const char* context, const std::string& source);
// The form of the translation of `source` that the language uses for the count `n`; `source`
// itself when there is none.
std::string translate(const char* context, const char* source, int n);
// `pattern` with its places %1, %2, ... filled from `args` in order: a translated text's places
// may stand in another order than the source's.
std::string formatText(const std::string& pattern, std::initializer_list<std::string> args);

// `text` with each run of decimal digits taken out as %1, %2, ... translated as a whole and the
// numbers put back, so that a message built with numbers ("has 128 glyphs, need at least 256")
// finds its translation ("has %1 glyphs, need at least %2"). When the whole has none, the part
// before a parenthesis is tried, keeping what is in it (a library's own words); else `text`.
std::string trNumbered(const char* context, const std::string& text);

// Installs `<name>_<language>.qm` for the first of the locale's UI languages that has one,
// looked for in `dirs` in order (a relative one is taken from the program's folder), and then the
// toolkit's own translations of its dialogs in that language. `locale` is a name such as "ru_RU"
// or "C"; empty means the user's. Returns the language installed, empty when none: the texts then
// stay the source texts.
std::string installTranslations(const std::string& name, const std::vector<std::string>& dirs,
                                const std::string& locale = {});
// Back to the source texts (tests switch languages).
void removeTranslations();

}  // namespace vorlane::dk
