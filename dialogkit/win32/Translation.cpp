// Texts on Windows, from the translations compiled into the program
// (dialogkit/CompiledTranslation.h) with the same lookup, plural forms and place markers as the Qt
// backend, so that the same program texts come out the same on both systems.
#include "dialogkit/Translation.h"

#include "dialogkit/win32/Win32.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "dialogkit/CompiledTranslation.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

namespace {

std::vector<const CompiledTranslation*>& registered() {
    static std::vector<const CompiledTranslation*> list;
    return list;
}

const CompiledTranslation*& installed() {
    static const CompiledTranslation* current = nullptr;
    return current;
}

const CompiledMessage* find(const char* context, const char* source) {
    const CompiledTranslation* table = installed();
    if (table == nullptr || context == nullptr || source == nullptr) {
        return nullptr;
    }
    const auto before = [](const CompiledMessage& m, std::pair<const char*, const char*> key) {
        const int byContext = std::strcmp(m.context, key.first);
        return byContext != 0 ? byContext < 0 : std::strcmp(m.source, key.second) < 0;
    };
    const CompiledMessage* end = table->messages + table->count;
    const CompiledMessage* m =
        std::lower_bound(table->messages, end, std::pair{context, source}, before);
    if (m == end || std::strcmp(m->context, context) != 0 || std::strcmp(m->source, source) != 0) {
        return nullptr;
    }
    return m;
}

// The plural form a language uses for the count `n`, by the rules Qt's translations are made
// with: the East Slavic languages have one form for 1, 21, 31..., one for 2-4, 22-24... and one
// for the rest (the teens included); most others one for 1 and one for the rest.
std::size_t pluralForm(std::string_view language, int n) {
    if (language == "ru" || language == "uk" || language == "be") {
        if (n % 10 == 1 && n % 100 != 11) {
            return 0;
        }
        if (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 > 20)) {
            return 1;
        }
        return 2;
    }
    return n == 1 ? 0 : 1;
}

// "%n" in `text` as the count, as Qt fills it in a text translated with one.
std::string withCount(std::string text, int n) {
    if (n < 0) {
        return text;
    }
    const std::string number = std::to_string(n);
    for (size_t at = text.find("%n"); at != std::string::npos; at = text.find("%n", at)) {
        text.replace(at, 2, number);
        at += number.size();
    }
    return text;
}

// The place marker at `at` ('%', an optional 'L', one or two digits): its number and length.
std::optional<std::pair<int, size_t>> markerAt(const std::string& text, size_t at) {
    size_t i = at + 1;
    if (i < text.size() && text[i] == 'L') {
        ++i;
    }
    const auto digit = [&](size_t k) {
        return k < text.size() && text[k] >= '0' && text[k] <= '9';
    };
    if (!digit(i)) {
        return std::nullopt;
    }
    int number = text[i++] - '0';
    if (digit(i)) {
        number = number * 10 + (text[i++] - '0');
    }
    return std::pair{number, i - at};
}

// As QString::arg: every marker with the lowest number left takes `arg`; none left, the text
// stays as it is.
std::string fillLowest(const std::string& text, const std::string& arg) {
    int lowest = 100;
    for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
        if (const auto marker = markerAt(text, at)) {
            lowest = std::min(lowest, marker->first);
        }
    }
    if (lowest == 100) {
        return text;
    }
    std::string out;
    size_t from = 0;
    for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at)) {
        const auto marker = markerAt(text, at);
        if (!marker || marker->first != lowest) {
            ++at;
            continue;
        }
        out.append(text, from, at - from).append(arg);
        at += marker->second;
        from = at;
    }
    return out.append(text, from);
}

// The user's Windows display language as a locale name ("ru_RU").
std::string userLanguage() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID id = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(id, name, LOCALE_NAME_MAX_LENGTH, 0) <= 0) {
        return {};
    }
    std::string locale = narrow(name);
    std::replace(locale.begin(), locale.end(), '-', '_');
    return locale;
}

}  // namespace

bool registerTranslation(const CompiledTranslation& translation) {
    std::vector<const CompiledTranslation*>& list = registered();
    if (std::find(list.begin(), list.end(), &translation) == list.end()) {
        list.push_back(&translation);
    }
    return true;
}

std::string translate(const char* context, const char* source) {
    if (source == nullptr) {
        return {};
    }
    const CompiledMessage* m = find(context, source);
    return m != nullptr && m->formCount > 0 ? m->forms[0] : source;
}

std::string translate(const char* context, const std::string& source) {
    return translate(context, source.c_str());
}

std::string translate(const char* context, const char* source, int n) {
    if (source == nullptr) {
        return {};
    }
    const CompiledMessage* m = find(context, source);
    const std::size_t form = pluralForm(installed() != nullptr ? installed()->language : "", n);
    return withCount(m != nullptr && form < m->formCount ? m->forms[form] : source, n);
}

std::string formatText(const std::string& pattern, std::initializer_list<std::string> args) {
    std::string text = pattern;
    for (const std::string& arg : args) {
        text = fillLowest(text, arg);
    }
    return text;
}

std::string trNumbered(const char* context, const std::string& text) {
    const auto translateNumbered = [&](const std::string& part) -> std::optional<std::string> {
        std::vector<std::string> numbers;
        std::string pattern;
        for (size_t at = 0; at < part.size();) {
            const size_t start = part.find_first_of("0123456789", at);
            if (start == std::string::npos) {
                pattern.append(part, at);
                break;
            }
            size_t end = part.find_first_not_of("0123456789", start);
            end = end == std::string::npos ? part.size() : end;
            numbers.push_back(part.substr(start, end - start));
            pattern.append(part, at, start - at)
                .append(1, '%')
                .append(std::to_string(numbers.size()));
            at = end;
        }
        std::string result = translate(context, pattern);
        if (result == pattern) {
            return std::nullopt;
        }
        for (size_t i = numbers.size(); i > 0; --i) {
            // From the highest, so that %1 does not eat the start of %12.
            // (Built in two steps: GCC 12 warns falsely of an overlap in "%" + std::string.)
            std::string marker(1, '%');
            marker += std::to_string(i);
            for (size_t at = result.find(marker); at != std::string::npos;
                 at = result.find(marker, at + numbers[i - 1].size())) {
                result.replace(at, marker.size(), numbers[i - 1]);
            }
        }
        return result;
    };
    if (std::optional<std::string> full = translateNumbered(text)) {
        return *full;
    }
    const size_t paren = text.find(" (");
    if (paren != std::string::npos && paren > 0) {
        if (std::optional<std::string> head = translateNumbered(text.substr(0, paren))) {
            return *head + text.substr(paren);
        }
    }
    return text;
}

std::string installTranslations(const std::string& name, const std::vector<std::string>&,
                                const std::string& localeName) {
    removeTranslations();
    // "ru_RU.UTF-8@euro" and "ru-RU" ask for "ru_RU", then "ru"; "C" and "POSIX" for none.
    std::string locale = localeName.empty() ? userLanguage() : localeName;
    locale = locale.substr(0, locale.find_first_of(".@"));
    std::replace(locale.begin(), locale.end(), '-', '_');
    while (!locale.empty()) {
        for (const CompiledTranslation* table : registered()) {
            if (name == table->name && locale == table->language) {
                installed() = table;
                return table->language;
            }
        }
        const size_t cut = locale.rfind('_');
        locale = cut == std::string::npos ? std::string() : locale.substr(0, cut);
    }
    return {};
}

void removeTranslations() {
    installed() = nullptr;
}

}  // namespace vorlane::dk
