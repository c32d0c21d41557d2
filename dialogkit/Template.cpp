#include "dialogkit/Template.h"

#include <limits>

namespace vorlane::dk {

const ControlTemplate* labelFor(const ControlTemplate& c, std::span<const ControlTemplate> all) {
    const ControlTemplate* best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (const ControlTemplate& s : all) {
        if (s.kind != ControlKind::Static || s.text == nullptr || s.text[0] == '\0') {
            continue;
        }
        const bool rowsOverlap = s.y < c.y + c.cy && c.y < s.y + s.cy;
        const bool columnsOverlap = s.x < c.x + c.cx && c.x < s.x + s.cx;
        int distance = std::numeric_limits<int>::max();
        if (rowsOverlap && s.x + s.cx <= c.x + 2) {
            distance = c.x - (s.x + s.cx);
        } else if (columnsOverlap && s.y + s.cy <= c.y + 2) {
            distance = c.y - (s.y + s.cy);
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &s;
        }
    }
    return best;
}

}  // namespace vorlane::dk
