#include "image/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "image/FileError.h"

namespace vorlane {

namespace {

[[noreturn]] void fail(const std::string& path, const char* operation, int error) {
    throw FileError(path, operation, std::error_code(error, std::generic_category()));
}

// Closes a descriptor on every path out of a scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes now, so that an error reported by close itself is not lost.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

// Reads until `size` bytes are in or the file ends; returns the count.
size_t readFully(int fd, const std::string& path, uint8_t* dest, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, dest + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(path, "read", errno);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

void writeFully(int fd, const std::string& path, const uint8_t* src, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, src + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(path, "write", errno);
        }
        done += static_cast<size_t>(n);
    }
}

// A link is followed to the file it names, so that saving through it replaces that file and
// keeps the link.
std::string resolveTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) {
            return resolved;
        }
    }
    return path;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string temporaryNameFor(const std::string& target) {
    static std::mt19937_64 random{std::random_device{}()};
    const auto slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    return folder + "." + name + "." + suffix + ".tmp";
}

}  // namespace

size_t readFileInto(const std::string& path, std::initializer_list<std::span<uint8_t>> parts) {
    // Opening without blocking keeps a pipe with no writer from hanging the open; reads block
    // again as usual afterwards.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        fail(path, "open", errno);
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) < 0) {
        fail(path, "open", errno);
    }
    size_t total = 0;
    for (const auto part : parts) {
        const size_t n = readFully(fd.get(), path, part.data(), part.size());
        total += n;
        if (n < part.size()) {
            break;
        }
    }
    return total;
}

void writeFileAtomically(const std::string& path,
                         std::initializer_list<std::span<const uint8_t>> parts) {
    const std::string target = resolveTarget(path);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        fail(path, "write", EISDIR);
    }

    std::string temporary;
    int raw = -1;
    for (int attempt = 0; attempt < 16 && raw < 0; ++attempt) {
        temporary = temporaryNameFor(target);
        // 0666 lets the user's umask decide a new file's permissions, as for any new file.
        raw = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST) {
            fail(path, "create", errno);
        }
    }
    if (raw < 0) {
        fail(path, "create", EEXIST);
    }

    Descriptor fd(raw);
    try {
        if (exists && ::fchmod(fd.get(), existing.st_mode & 07777) != 0) {
            fail(path, "write", errno);
        }
        for (const auto part : parts) {
            writeFully(fd.get(), path, part.data(), part.size());
        }
        if (::fsync(fd.get()) != 0) {
            fail(path, "write", errno);
        }
        if (fd.close() != 0) {
            fail(path, "write", errno);
        }
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            fail(path, "write", errno);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }

    // Make the rename itself durable; a folder that cannot be synced loses nothing of the file.
    Descriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
}

}  // namespace vorlane
