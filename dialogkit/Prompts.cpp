#include "dialogkit/Prompts.h"

#include "dialogkit/QtPrompts.h"

namespace vorlane::dk {

namespace {

QtPrompts& qtPrompts() {
    static QtPrompts instance;
    return instance;
}

Prompts* g_prompts = nullptr;

}  // namespace

Prompts& prompts() {
    return g_prompts != nullptr ? *g_prompts : qtPrompts();
}

void setPrompts(Prompts* replacement) {
    g_prompts = replacement;
}

}  // namespace vorlane::dk
