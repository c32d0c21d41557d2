// A window menu held as data; the backend builds its menu from it each time it pops up.
#pragma once

#include <string>
#include <vector>

#include "dialogkit/Types.h"

namespace vorlane::dk {

class CMenu {
  public:
    struct Item {
        unsigned flags = MF_STRING;
        int id = 0;
        std::string text;  // '&' marks the mnemonic; a tab separates a shortcut shown on the right
    };

    bool AppendMenu(unsigned flags, int id = 0, const std::string& text = {});
    const std::vector<Item>& items() const { return items_; }
    void clear() { items_.clear(); }

  private:
    std::vector<Item> items_;
};

}  // namespace vorlane::dk
