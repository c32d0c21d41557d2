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

}  // namespace vorlane::dk
