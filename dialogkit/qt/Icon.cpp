#include <map>

#include "dialogkit/qt/QtIcon.h"

namespace vorlane::dk {

const QIcon& qtIcon(const Icon& icon) {
    // Icons are a handful of constant images registered at start-up, so the cache stays small.
    static std::map<std::vector<const char* const*>, QIcon> made;
    const auto found = made.find(icon.images());
    if (found != made.end()) {
        return found->second;
    }
    QIcon& qicon = made[icon.images()];
    for (const char* const* xpm : icon.images()) {
        qicon.addPixmap(QPixmap(xpm));
    }
    return qicon;
}

}  // namespace vorlane::dk
