// An application icon built from XPM images held as plain data (one per size).
#pragma once

#include <initializer_list>
#include <memory>

class QIcon;
class QPixmap;

namespace vorlane::dk {

class Icon {
  public:
    Icon();
    // Each element is an XPM image given as its array of lines.
    Icon(std::initializer_list<const char* const*> xpmImages);
    ~Icon();
    Icon(const Icon&);
    Icon& operator=(const Icon&);

    bool isNull() const;
    const QIcon& qicon() const;
    // The image closest to `size` pixels square.
    QPixmap pixmap(int size) const;

  private:
    std::unique_ptr<QIcon> icon_;
};

}  // namespace vorlane::dk
