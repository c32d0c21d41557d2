// An application icon as plain data: XPM images, one per size, that the backend turns into its
// own icon where one is shown.
#pragma once

#include <initializer_list>
#include <vector>

namespace vorlane::dk {

class Icon {
  public:
    Icon() = default;
    // Each element is an XPM image given as its array of lines; the arrays must outlive the icon.
    Icon(std::initializer_list<const char* const*> xpmImages) : images_(xpmImages) {}

    bool isNull() const { return images_.empty(); }
    const std::vector<const char* const*>& images() const { return images_; }

  private:
    std::vector<const char* const*> images_;
};

}  // namespace vorlane::dk
