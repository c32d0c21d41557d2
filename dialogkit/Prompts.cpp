#include "dialogkit/Prompts.h"

namespace vorlane::dk {

namespace {

Prompts* g_prompts = nullptr;

}  // namespace

Prompts& prompts() {
    return g_prompts != nullptr ? *g_prompts : nativePrompts();
}

void setPrompts(Prompts* replacement) {
    g_prompts = replacement;
}

std::vector<std::pair<std::string, std::string>> filterEntries(const std::string& filter) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

}  // namespace vorlane::dk
