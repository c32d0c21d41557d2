#include "image/FileIo.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

// The kernel follows a link that sits in a sticky, world-writable folder (/tmp) only for the
// link's owner or when the folder's owner made it (fs.protected_symlinks). Links are followed by
// hand here, so the same rule is applied here: otherwise another user's link in /tmp would aim
// root's write at any file root owns.
void requireFollowable(const std::string& link, const struct stat& linkInfo,
                       const std::string& path) {
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0) {
        throwFileError(path, "write", errno);
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    if (shared && linkInfo.st_uid != ::geteuid() && linkInfo.st_uid != folder.st_uid) {
        throwFileError(path, "write", EACCES);
    }
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
            requireFollowable(current, st, path);
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

void requireRegular(const std::string& path, const struct stat& st) {
    if (S_ISDIR(st.st_mode)) {
        throwFileError(path, "open", EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        throw FileError(path, "open", makeErrorCode(FileRefusal::NotRegularFile));
    }
}

// The mask applies to a new file as it would to any file the user creates. Read from /proc, as
// umask() can only be read by changing it, which another thread could see.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        unsigned mask = 0;
        if (std::sscanf(line.c_str(), "Umask: %o", &mask) == 1) {
            return static_cast<mode_t>(mask & 0777);
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// The signals that end a process unless it handles them, and that people and the system send
// to stop one. They are held while a temporary exists, so that it is always renamed or removed
// first; held, not lost: they take effect once it is gone.
constexpr int kTerminationSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGPIPE,  SIGALRM,
                                       SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ, SIGVTALRM};

class TerminationSignalsHeld {
  public:
    TerminationSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : kTerminationSignals) {
            sigaddset(&held, signal);
        }
        ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~TerminationSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
    TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

    // Whether a signal came while held that will end the process once released. One the
    // process ignores or handles, or had blocked itself, does not stop the write.
    bool endingSignalPending() const {
        sigset_t pending;
        if (::sigpending(&pending) != 0) {
            return false;
        }
        for (const int signal : kTerminationSignals) {
            struct sigaction action {};
            if (sigismember(&pending, signal) == 1 && sigismember(&previous_, signal) == 0 &&
                ::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_DFL) {
                return true;
            }
        }
        return false;
    }

  private:
    sigset_t previous_{};
};

// The file the new bytes go to before they replace the target. Where the filesystem has them
// (ext4, xfs, btrfs, tmpfs) it has no name until its bytes are on disk, so that not even
// SIGKILL or a power cut leaves one behind; elsewhere (vfat, most network filesystems) it is
// named ".NAME.XXXXXXXXXXXXXXXX.tmp" next to the target from the start.
class Temporary {
  public:
    static Temporary createFor(const std::string& target, const std::string& path) {
        const std::string folder = folderOf(target);
        Descriptor unnamed(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        // Named later through /proc, as only a privileged process may name a descriptor itself.
        if (unnamed.get() >= 0 && ::access(procPath(unnamed.get()).c_str(), F_OK) == 0) {
            return Temporary(std::move(unnamed), "");
        }
        std::string name;
        int raw = -1;
        for (int attempt = 0; attempt < 16 && raw < 0; ++attempt) {
            name = temporaryNameFor(target);
            raw = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (raw < 0 && errno != EEXIST) {
                throwFileError(path, "create", errno);
            }
        }
        if (raw < 0) {
            throwFileError(path, "create", EEXIST);
        }
        return Temporary(Descriptor(raw), name);
    }

    int fd() const { return fd_.get(); }

    // Puts the temporary in the target's place.
    void replace(const std::string& target, const std::string& path) {
        if (name_.empty()) {
            // A link cannot replace a file, so the unnamed file gets a name of its own first.
            const std::string proc = procPath(fd_.get());
            for (int attempt = 0; attempt < 16 && name_.empty(); ++attempt) {
                const std::string name = temporaryNameFor(target);
                if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) ==
                    0) {
                    name_ = name;
                } else if (errno != EEXIST) {
                    throwFileError(path, "write", errno);
                }
            }
            if (name_.empty()) {
                throwFileError(path, "write", EEXIST);
            }
        }
        if (fd_.close() != 0) {
            throwFileError(path, "write", errno);
        }
        if (::rename(name_.c_str(), target.c_str()) != 0) {
            throwFileError(path, "write", errno);
        }
        name_.clear();
    }

    // Removes a temporary that did not replace the target.
    void discard() {
        if (!name_.empty()) {
            ::unlink(name_.c_str());
            name_.clear();
        }
    }

  private:
    Temporary(Descriptor fd, std::string name) : fd_(std::move(fd)), name_(std::move(name)) {}

    static std::string procPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

    Descriptor fd_;
    std::string name_;  // empty while the file has no name, and once it replaced the target
};

}  // namespace

Descriptor openForReading(const std::string& path, uint64_t* size, Dash dash) {
    const bool standardInput = dash == Dash::StandardInput && isStandardStream(path);
    if (!standardInput) {
        // Asked of the path first, so that a device is never opened at all (opening one can do
        // something, a tape rewinds); asked of the descriptor again below, for a path that
        // changed in between.
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            throwFileError(path, "open", errno);
        }
        requireRegular(path, st);
    }
    // Opening without blocking keeps a FIFO that changed places with the file from hanging the
    // open; reads block again as usual afterwards.
    Descriptor fd(standardInput
                      ? STDIN_FILENO
                      : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK),
                  !standardInput);
    if (fd.get() < 0) {
        throwFileError(path, "open", errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        throwFileError(path, "open", errno);
    }
    if (!standardInput) {
        requireRegular(path, st);
        const int flags = ::fcntl(fd.get(), F_GETFL);
        if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) < 0) {
            throwFileError(path, "open", errno);
        }
    }
    if (size != nullptr) {
        *size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    }
    return fd;
}

size_t readFileInto(const std::string& path, std::initializer_list<std::span<uint8_t>> parts,
                    uint64_t* fileSize, Dash dash) {
    const Descriptor fd = openForReading(path, fileSize, dash);
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

std::vector<uint8_t> readFileUpTo(const std::string& path, size_t limit, Dash dash,
                                  uint64_t* fileSize) {
    const Descriptor fd = openForReading(path, fileSize, dash);
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
    size_t total = 0;
    for (const auto part : parts) {
        total += part.size();
    }
    if (total == 0) {
        throw FileError(path, "write", makeErrorCode(FileRefusal::NothingToWrite));
    }
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
    const mode_t mode =
        destination.exists ? destination.existing.st_mode & 07777 : 0666 & ~currentUmask();
    {
        const TerminationSignalsHeld held;
        Temporary temporary = Temporary::createFor(target, path);
        try {
            if (destination.exists) {
                // Only root may give a file away; anyone else keeps what they can (the group,
                // where they belong to it) and the file is theirs.
                const struct stat& existing = destination.existing;
                if (::fchown(temporary.fd(), existing.st_uid, existing.st_gid) != 0) {
                    [[maybe_unused]] const int ignored =
                        ::fchown(temporary.fd(), static_cast<uid_t>(-1), existing.st_gid);
                }
            }
            for (const auto part : parts) {
                writeFully(temporary.fd(), path, part.data(), part.size());
            }
            if (::fsync(temporary.fd()) != 0) {
                throwFileError(path, "write", errno);
            }
            // Only now, with every byte in: the bytes were never readable by others on the way,
            // however the target's mode reads. After the owner, whose change clears the
            // set-user-ID and set-group-ID bits.
            if (::fchmod(temporary.fd(), mode) != 0) {
                throwFileError(path, "write", errno);
            }
            // The user asked the program to stop while it waited for the disk: the old file stays.
            if (held.endingSignalPending()) {
                throwFileError(path, "write", EINTR);
            }
            temporary.replace(target, path);
        } catch (...) {
            temporary.discard();
            throw;
        }
    }

    // Make the rename itself durable; a folder that cannot be synced loses nothing of the file.
    Descriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
}

}  // namespace vorlane
