// A file descriptor closed on every path out of a scope.
#pragma once

#include <unistd.h>

namespace vorlane {

class Descriptor {
  public:
    // A descriptor that is not `owned` (standard input or output) is used but never closed.
    explicit Descriptor(int fd, bool owned = true) : fd_(fd), owned_(owned) {}
    ~Descriptor() {
        if (fd_ >= 0 && owned_) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_), owned_(other.owned_) {
        other.fd_ = -1;
    }
    Descriptor& operator=(Descriptor&&) = delete;

    int get() const { return fd_; }
    // Closes now, so that an error reported by close itself is not lost.
    int close() {
        const int result = fd_ >= 0 && owned_ ? ::close(fd_) : 0;
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
    bool owned_;
};

}  // namespace vorlane
