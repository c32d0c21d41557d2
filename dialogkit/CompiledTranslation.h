// Translations compiled into the program, for a backend that has no translation files of its own
// to load (Windows). The program owns its texts: a generator turns its .ts files into tables of
// these types at build time, and the program registers them; installTranslations() then picks
// one by name and language as the Qt backend picks a .qm file.
#pragma once

#include <cstddef>

namespace vorlane::dk {

// One message: its context and English source text as the code passes them, and its translation
// as UTF-8, one form per plural of the language for a message with a count, else one.
struct CompiledMessage {
    const char* context;
    const char* source;
    const char* const* forms;
    std::size_t formCount;
};

// The messages of `name` in `language` (as "ru"), sorted by context and then source, compared
// bytewise, so that a lookup is a binary search.
struct CompiledTranslation {
    const char* name;
    const char* language;
    const CompiledMessage* messages;
    std::size_t count;
};

// Makes `translation` one that installTranslations() can install; the table must outlive the
// program. Returns true, so that a generated table can register itself from a static
// initialiser.
bool registerTranslation(const CompiledTranslation& translation);

}  // namespace vorlane::dk
