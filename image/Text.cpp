#include "image/Text.h"

#include <locale.h>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace vorlane {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Latin-1 is the first 256 characters of Unicode.
void appendLatin1AsUtf8(std::string& out, unsigned char byte) {
    appendUtf8(out, byte);
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        appendLatin1AsUtf8(out, static_cast<unsigned char>(c));
    }
    return out;
}

namespace {

#ifdef _WIN32
// Windows has no uselocale; a locale of the thread's own, set to "C" for the call and put back
// afterwards, is the same.
class PlainNumbers {
  public:
    PlainNumbers() : mode_(::_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        previous_ = current != nullptr ? current : "C";
        if (previous_ != "C") {
            std::setlocale(LC_NUMERIC, "C");
        }
    }
    ~PlainNumbers() {
        if (previous_ != "C") {
            std::setlocale(LC_NUMERIC, previous_.c_str());
        }
        if (mode_ != -1) {
            ::_configthreadlocale(mode_);
        }
    }
    PlainNumbers(const PlainNumbers&) = delete;
    PlainNumbers& operator=(const PlainNumbers&) = delete;

  private:
    int mode_;
    std::string previous_;
};
#else
class PlainNumbers {
  public:
    // The C locale is always there; newlocale fails only without memory, and then the thread's
    // own locale is all there is.
    PlainNumbers() {
        static const locale_t plain = ::newlocale(LC_ALL_MASK, "C", nullptr);
        previous_ = plain != nullptr ? ::uselocale(plain) : nullptr;
    }
    ~PlainNumbers() {
        if (previous_ != nullptr) {
            ::uselocale(previous_);
        }
    }
    PlainNumbers(const PlainNumbers&) = delete;
    PlainNumbers& operator=(const PlainNumbers&) = delete;

  private:
    locale_t previous_ = nullptr;
};
#endif

}  // namespace

std::string formatPlain(const char* pattern, ...) {
    const PlainNumbers plain;
    char small[128];
    std::va_list args;
    va_start(args, pattern);
    std::va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(small, sizeof small, pattern, args);
    va_end(args);
    std::string text;
    if (needed >= 0 && static_cast<size_t>(needed) < sizeof small) {
        text.assign(small, static_cast<size_t>(needed));
    } else if (needed >= 0) {
        text.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(text.data(), text.size(), pattern, again);
        text.resize(static_cast<size_t>(needed));
    }
    va_end(again);
    return text;
}

std::string oneLine(std::string_view message) {
    std::string out;
    size_t start = 0;
    while (start <= message.size()) {
        size_t end = message.find('\n', start);
        if (end == std::string_view::npos) {
            end = message.size();
        }
        std::string_view part = message.substr(start, end - start);
        while (!part.empty() && part.front() == ' ') {
            part.remove_prefix(1);
        }
        while (!part.empty() && part.back() == ' ') {
            part.remove_suffix(1);
        }
        if (!part.empty()) {
            if (!out.empty()) {
                out += " - ";
            }
            out += part;
        }
        start = end + 1;
    }
    return out;
}

}  // namespace vorlane
