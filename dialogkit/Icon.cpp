#include "dialogkit/Icon.h"

#include <QIcon>
#include <QPixmap>

namespace vorlane::dk {

Icon::Icon() : icon_(std::make_unique<QIcon>()) {}

Icon::Icon(std::initializer_list<const char* const*> xpmImages) : icon_(std::make_unique<QIcon>()) {
    for (const char* const* xpm : xpmImages) {
        icon_->addPixmap(QPixmap(xpm));
    }
}

Icon::~Icon() = default;

Icon::Icon(const Icon& other) : icon_(std::make_unique<QIcon>(*other.icon_)) {}

Icon& Icon::operator=(const Icon& other) {
    *icon_ = *other.icon_;
    return *this;
}

bool Icon::isNull() const {
    return icon_->isNull();
}

const QIcon& Icon::qicon() const {
    return *icon_;
}

QPixmap Icon::pixmap(int size) const {
    return icon_->pixmap(size, size);
}

}  // namespace vorlane::dk
