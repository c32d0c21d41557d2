// Text both programs write. The image's texts are single-byte; both programs show them as UTF-8,
// each byte taken as the Latin-1 character of the same value. Numbers are written the same way
// whatever the user's locale: a clock is "411.75" in a German session too.
#pragma once

#include <string>
#include <string_view>

namespace vorlane {

// The one UTF-8 encoder of the programs: `c` must be a Unicode scalar value.
void appendUtf8(std::string& out, char32_t c);

void appendLatin1AsUtf8(std::string& out, unsigned char byte);
std::string latin1ToUtf8(std::string_view bytes);

// snprintf in the C locale, whatever locale the process or thread has set: the one way numbers
// are turned into text with a printf pattern.
// A status message on one line: its line feed and the spaces around it become " - ".
std::string oneLine(std::string_view message);

// mingw-w64's C++ library formats with its own C99 printf (%zu, %lld), not Windows' older one.
#ifdef __MINGW32__
#define VORLANE_PRINTF_FORMAT gnu_printf
#else
#define VORLANE_PRINTF_FORMAT printf
#endif
std::string formatPlain(const char* pattern, ...)
    __attribute__((format(VORLANE_PRINTF_FORMAT, 1, 2)));

}  // namespace vorlane
