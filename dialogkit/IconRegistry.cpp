#include "dialogkit/IconRegistry.h"

#include <map>

namespace vorlane::dk {

namespace {
std::map<int, Icon>& icons() {
    static std::map<int, Icon> registry;
    return registry;
}
}  // namespace

void registerIcon(int id, const Icon& icon) {
    icons().insert_or_assign(id, icon);
}

Icon LoadIcon(int id) {
    const auto found = icons().find(id);
    return found != icons().end() ? found->second : Icon();
}

}  // namespace vorlane::dk
