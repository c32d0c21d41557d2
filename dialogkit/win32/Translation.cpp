// Texts on Windows. For now the source texts only: the compiled-in translations replace this.
#include "dialogkit/Translation.h"

namespace vorlane::dk {

std::string translate(const char*, const char* source) {
    return source != nullptr ? source : "";
}

std::string translate(const char* context, const std::string& source) {
    return translate(context, source.c_str());
}

std::string translate(const char* context, const char* source, int) {
    return translate(context, source);
}

std::string formatText(const std::string& pattern, std::initializer_list<std::string> args) {
    std::string text = pattern;
    int place = 1;
    for (const std::string& arg : args) {
        const std::string marker = "%" + std::to_string(place++);
        for (size_t at = text.find(marker); at != std::string::npos;
             at = text.find(marker, at + arg.size())) {
            text.replace(at, marker.size(), arg);
        }
    }
    return text;
}

std::string trNumbered(const char*, const std::string& text) {
    return text;
}

std::string installTranslations(const std::string&, const std::vector<std::string>&,
                                const std::string&) {
    return {};
}

void removeTranslations() {}

}  // namespace vorlane::dk
