#include "image/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "image/Descriptor.h"
#include "image/FileError.h"
#include "image/Text.h"

namespace vorlane {

size_t readFully(int fd, const std::string& path, uint8_t* dest, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, dest + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwFileError(path, "read", errno);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

namespace {

void writeFully(int fd, const std::string& path, const uint8_t* src, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, src + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwFileError(path, "write", errno);
        }
        done += static_cast<size_t>(n);
    }
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
    return folder + "." + name + "." +
           formatPlain("%016llx", static_cast<unsigned long long>(random())) + ".tmp";
}

bool onProcFs(const std::string& folder) {
    constexpr long kProcSuperMagic = 0x9fa0;
    struct statfs fs {};
    return ::statfs(folder.c_str(), &fs) == 0 && static_cast<long>(fs.f_type) == kProcSuperMagic;
}

std::string readLink(const std::string& link, const std::string& path) {
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(link.c_str(), target.data(), target.size());
    if (n < 0) {
        throwFileError(path, "write", errno);
    }
    if (static_cast<size_t>(n) >= target.size()) {
        throwFileError(path, "write", ENAMETOOLONG);
    }
    target.resize(static_cast<size_t>(n));
    return target;
}

// Where the bytes of a write to `path` go.
struct Destination {
    bool inPlace = false;  // written into the existing node, which stays
    std::string file;      // the file replaced or created atomically
    bool exists = false;
    struct stat existing {};
};

// Follows symbolic links one at a time, so that a dangling link still names the file to create
// and no link is ever taken for the file. A link that lives in /proc (/dev/stdout leads to one)
// names an open file, not a path: such a node is written in place, whatever it is.
Destination resolveDestination(const std::string& path) {
    Destination destination;
    std::string current = path;
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                throwFileError(path, "write", errno);
            }
            destination.file = current;
            return destination;
        }
        if (S_ISLNK(st.st_mode)) {
            if (onProcFs(folderOf(current))) {
                destination.inPlace = true;
                return destination;
            }
            const std::string next = readLink(current, path);
            current = !next.empty() && next[0] == '/' ? next : folderOf(current) + "/" + next;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            throwFileError(path, "write", EISDIR);
        }
        destination.inPlace = !S_ISREG(st.st_mode);
        destination.file = current;
        destination.exists = true;
        destination.existing = st;
        return destination;
    }
    throwFileError(path, "write", ELOOP);
}

// A device, FIFO or terminal is written as it is: renaming a file over it would destroy the
// node (and, for a FIFO, never reach its reader).
void writeInPlace(const std::string& path, std::initializer_list<std::span<const uint8_t>> parts) {
    const bool standardOutput = isStandardStream(path);
    Descriptor fd(
        standardOutput ? STDOUT_FILENO : ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC),
        !standardOutput);
    if (fd.get() < 0) {
        throwFileError(path, "open for writing", errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        throwFileError(path, "write", errno);
    }
    // A regular file reached through /dev/stdout or /dev/fd is the shell's redirection: continue
    // after what it holds, as writing to the stream itself would, rather than over its start.
    if (!standardOutput && S_ISREG(st.st_mode) && ::lseek(fd.get(), 0, SEEK_END) < 0) {
        throwFileError(path, "write", errno);
    }
    for (const auto part : parts) {
        writeFully(fd.get(), path, part.data(), part.size());
    }
    if (S_ISBLK(st.st_mode) && ::fsync(fd.get()) != 0) {
        throwFileError(path, "write", errno);
    }
    if (fd.close() != 0) {
        throwFileError(path, "write", errno);
    }
}

}  // namespace

namespace {

// Opening without blocking keeps a pipe with no writer from hanging the open; reads block again
// as usual afterwards.
Descriptor openForReading(const std::string& path, Dash dash) {
    const bool standardInput = dash == Dash::StandardInput && isStandardStream(path);
    Descriptor fd(standardInput
                      ? STDIN_FILENO
                      : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK),
                  !standardInput);
    if (fd.get() < 0) {
        throwFileError(path, "open", errno);
    }
    if (!standardInput) {
        const int flags = ::fcntl(fd.get(), F_GETFL);
        if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) < 0) {
            throwFileError(path, "open", errno);
        }
    }
    return fd;
}

}  // namespace

size_t readFileInto(const std::string& path, std::initializer_list<std::span<uint8_t>> parts,
                    Dash dash) {
    const Descriptor fd = openForReading(path, dash);
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

std::vector<uint8_t> readFileUpTo(const std::string& path, size_t limit, Dash dash) {
    const Descriptor fd = openForReading(path, dash);
    std::vector<uint8_t> bytes(std::min(limit, size_t{64} * 1024));
    size_t done = 0;
    for (;;) {
        done += readFully(fd.get(), path, bytes.data() + done, bytes.size() - done);
        if (done < bytes.size() || bytes.size() == limit) {
            break;
        }
        bytes.resize(std::min(bytes.size() * 2, limit));
    }
    bytes.resize(done);
    return bytes;
}

void writeFileAtomically(const std::string& path,
                         std::initializer_list<std::span<const uint8_t>> parts) {
    if (isStandardStream(path)) {
        writeInPlace(path, parts);
        return;
    }
    const Destination destination = resolveDestination(path);
    if (destination.inPlace) {
        writeInPlace(path, parts);
        return;
    }
    const std::string& target = destination.file;
    const bool exists = destination.exists;
    const struct stat& existing = destination.existing;

    std::string temporary;
    int raw = -1;
    for (int attempt = 0; attempt < 16 && raw < 0; ++attempt) {
        temporary = temporaryNameFor(target);
        // 0666 lets the user's umask decide a new file's permissions, as for any new file.
        raw = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST) {
            throwFileError(path, "create", errno);
        }
    }
    if (raw < 0) {
        throwFileError(path, "create", EEXIST);
    }

    Descriptor fd(raw);
    try {
        if (exists) {
            // Only root may give a file away; anyone else keeps what they can (the group, where
            // they belong to it) and the file is theirs.
            if (::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0) {
                [[maybe_unused]] const int ignored =
                    ::fchown(fd.get(), static_cast<uid_t>(-1), existing.st_gid);
            }
            // After the owner: changing it clears the set-user-ID and set-group-ID bits.
            if (::fchmod(fd.get(), existing.st_mode & 07777) != 0) {
                throwFileError(path, "write", errno);
            }
        }
        for (const auto part : parts) {
            writeFully(fd.get(), path, part.data(), part.size());
        }
        if (::fsync(fd.get()) != 0) {
            throwFileError(path, "write", errno);
        }
        if (fd.close() != 0) {
            throwFileError(path, "write", errno);
        }
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            throwFileError(path, "write", errno);
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
