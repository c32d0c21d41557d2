// An application icon as plain data: XPM images, one per size, that the backend turns into its
// own icon where one is shown.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
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

// One of an icon's images as pixels.
struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // 0xAARRGGBB row by row, top first; alpha 0 where XPM has None
};

// The subset of XPM the program's icons use: "W H colours chars", colour lines of the "c" key with
// #RRGGBB or None, then the rows. Nothing for an image outside it.
std::optional<IconPixels> decodeXpm(const char* const* lines);

}  // namespace vorlane::dk
