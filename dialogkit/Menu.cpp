#include "dialogkit/Menu.h"

namespace vorlane::dk {

bool CMenu::AppendMenu(unsigned flags, int id, const std::string& text) {
    if ((flags & MF_SEPARATOR) == 0 && text.empty()) {
        return false;
    }
    items_.push_back(Item{flags, id, text});
    return true;
}

}  // namespace vorlane::dk
