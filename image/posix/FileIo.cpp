#include "image/FileIo.h"

#include <acl/libacl.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <type_traits>

#include "image/Descriptor.h"
#include "image/FileError.h"
#include "image/Text.h"
#include "image/posix/TerminatingSignals.h"

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

// The path through which an open descriptor, O_PATH ones included, names its file to the calls
// that take only a path (libacl, the attribute calls, linkat of an unnamed file).
std::string procPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// The same length whatever the target is called, so that any name the filesystem accepts for the
// target leaves room for the temporary's.
std::string temporaryName() {
    static std::mt19937_64 random{std::random_device{}()};
    return ".vorlane-" + formatPlain("%016llx", static_cast<unsigned long long>(random())) + ".tmp";
}

bool unsupported(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

// A sticky folder that everyone may write to (/tmp): the kernel's protected_symlinks and
// protected_regular rules hold there.
bool sharedFolder(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

// Whether the kernel would let this process go past `owner`'s link, or open `owner`'s file, in
// the folder `folder`: in a shared folder only the entry's owner and the folder's do.
bool trustedIn(const struct stat& folder, uid_t owner) {
    return !sharedFolder(folder) || owner == ::geteuid() || owner == folder.st_uid;
}

std::vector<std::string> componentsOf(std::string_view path) {
    std::vector<std::string> names;
    size_t at = 0;
    while (at <= path.size()) {
        const size_t slash = std::min(path.find('/', at), path.size());
        if (slash > at) {
            names.emplace_back(path.substr(at, slash - at));
        }
        at = slash + 1;
    }
    return names;
}

// Where the bytes of a write to `path` go.
struct Destination {
    enum class Kind {
        New,      // no such file yet: created in `folder` as `name`
        Replace,  // a regular file, replaced atomically
        InPlace,  // any other node, written into as it stands
    };
    Kind kind = Kind::New;
    std::optional<Descriptor> folder;  // O_PATH; the folder that holds `name`
    std::string name;
    bool throughProcLink = false;  // InPlace: `name` is a /proc link to an open file
};

// Walks the path one name at a time, following each link by hand: a dangling link still names
// the file to create, no link is ever taken for the file, and the kernel's rule for links in
// shared folders holds for every link on the way. The kernel applies it to the last name only;
// another user's link to a folder, on the way, would still aim root's write at any file in any
// of root's folders. A link that lives in /proc (/dev/stdout leads to one) names an open file,
// not a path: such a node is written in place, whatever it is.
Destination resolveDestination(const std::string& path) {
    if (path.empty()) {
        throwFileError(path, "write", ENOENT);
    }
    const auto openFolder = [&](int at, const char* name) {
        const int fd = ::openat(at, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            throwFileError(path, "write", errno);
        }
        return fd;
    };
    Destination destination;
    destination.folder.emplace(openFolder(AT_FDCWD, path[0] == '/' ? "/" : "."));
    std::vector<std::string> rest = componentsOf(path);
    std::reverse(rest.begin(), rest.end());  // the next name at the back
    const bool namesFolder = path.back() == '/';
    int links = 0;
    while (!rest.empty()) {
        const std::string name = std::move(rest.back());
        rest.pop_back();
        const int folder = destination.folder->get();
        const bool last = rest.empty();
        struct stat st {};
        if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && last && !namesFolder) {
                destination.kind = Destination::Kind::New;
                destination.name = name;
                return destination;
            }
            throwFileError(path, "write", errno == ENOENT && last ? EISDIR : errno);
        }
        struct stat folderInfo {};
        if (::fstat(folder, &folderInfo) != 0) {
            throwFileError(path, "write", errno);
        }
        if (S_ISLNK(st.st_mode)) {
            constexpr long kProcSuperMagic = 0x9fa0;
            struct statfs fs {};
            if (last && ::fstatfs(folder, &fs) == 0 &&
                static_cast<long>(fs.f_type) == kProcSuperMagic) {
                destination.kind = Destination::Kind::InPlace;
                destination.name = name;
                destination.throughProcLink = true;
                return destination;
            }
            if (!trustedIn(folderInfo, st.st_uid)) {
                throwFileError(path, "write", EACCES);
            }
            if (++links > 40) {
                throwFileError(path, "write", ELOOP);
            }
            std::string target(PATH_MAX, '\0');
            const ssize_t n = ::readlinkat(folder, name.c_str(), target.data(), target.size());
            if (n < 0) {
                throwFileError(path, "write", errno);
            }
            if (static_cast<size_t>(n) >= target.size()) {
                throwFileError(path, "write", ENAMETOOLONG);
            }
            target.resize(static_cast<size_t>(n));
            if (target.empty()) {
                throwFileError(path, "write", ENOENT);
            }
            std::vector<std::string> inserted = componentsOf(target);
            rest.insert(rest.end(), inserted.rbegin(), inserted.rend());
            if (target[0] == '/') {
                destination.folder.emplace(openFolder(AT_FDCWD, "/"));
            }
            if (rest.empty()) {  // a link to "/"
                throwFileError(path, "write", EISDIR);
            }
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            if (last) {
                throwFileError(path, "write", EISDIR);
            }
            destination.folder.emplace(openFolder(folder, name.c_str()));
            continue;
        }
        if (!last || namesFolder) {
            throwFileError(path, "write", ENOTDIR);
        }
        destination.name = name;
        if (!S_ISREG(st.st_mode)) {
            destination.kind = Destination::Kind::InPlace;
            return destination;
        }
        // The kernel's protected_regular rule refuses to open such a file for writing; a rename
        // would go around it and leave the file in the hands of whoever left it there.
        if (!trustedIn(folderInfo, st.st_uid)) {
            throwFileError(path, "write", EACCES);
        }
        destination.kind = Destination::Kind::Replace;
        return destination;
    }
    throwFileError(path, "write", EISDIR);  // "/", "." or a path that ends in ".."
}

// A device, FIFO or terminal is written as it is: renaming a file over it would destroy the
// node (and, for a FIFO, never reach its reader). `fd` is open for writing.
void writeInPlace(const std::string& path, Descriptor fd,
                  std::initializer_list<std::span<const uint8_t>> parts, bool standardOutput) {
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

struct AclFree {
    void operator()(void* acl) const { ::acl_free(acl); }
};
using Acl = std::unique_ptr<std::remove_pointer_t<acl_t>, AclFree>;

// The ACL of `type` that `file` (a /proc path) has; null where the filesystem holds none (FAT).
Acl aclOf(const std::string& file, acl_type_t type, const std::string& path) {
    Acl acl(::acl_get_file(file.c_str(), type));
    if (acl == nullptr && !unsupported(errno)) {
        throwFileError(path, "read the permissions of", errno);
    }
    return acl;
}

// What a file created with mode 0666 gets from a folder's default ACL, as the kernel gives it:
// the owner's, the group class's and the others' entries lose what 0666 lacks (execute).
Acl inheritedAcl(const Acl& folderDefault, const std::string& path) {
    Acl acl(::acl_dup(folderDefault.get()));
    if (acl == nullptr) {
        throwFileError(path, "write", errno);
    }
    acl_entry_t entry = nullptr;
    acl_entry_t groupClass = nullptr;
    std::vector<acl_entry_t> masked;
    for (int which = ACL_FIRST_ENTRY; ::acl_get_entry(acl.get(), which, &entry) == 1;
         which = ACL_NEXT_ENTRY) {
        acl_tag_t tag = ACL_UNDEFINED_TAG;
        ::acl_get_tag_type(entry, &tag);
        if (tag == ACL_USER_OBJ || tag == ACL_OTHER) {
            masked.push_back(entry);
        } else if (tag == ACL_MASK || (tag == ACL_GROUP_OBJ && groupClass == nullptr)) {
            groupClass = entry;
        }
    }
    if (groupClass != nullptr) {
        masked.push_back(groupClass);
    }
    for (const acl_entry_t e : masked) {
        acl_permset_t permissions = nullptr;
        if (::acl_get_permset(e, &permissions) != 0 ||
            ::acl_delete_perm(permissions, ACL_EXECUTE) != 0 ||
            ::acl_set_permset(e, permissions) != 0) {
            throwFileError(path, "write", errno);
        }
    }
    return acl;
}

// Everything that says who may read and write a file, besides its owner: what a replaced file
// had, or what a new one gets in its folder. Applied to the temporary once its bytes are in.
struct Access {
    mode_t mode = 0;
    Acl acl;  // null: the mode alone (a filesystem without ACLs, a folder without a default)
    std::vector<std::pair<std::string, std::string>> userAttributes;

    static Access ofFile(int file, const struct stat& info, const std::string& path) {
        Access access;
        access.mode = info.st_mode & 07777;
        const std::string proc = procPath(file);
        access.acl = aclOf(proc, ACL_TYPE_ACCESS, path);
        std::string names(256, '\0');
        ssize_t size = 0;
        while ((size = ::listxattr(proc.c_str(), names.data(), names.size())) < 0 &&
               errno == ERANGE) {
            names.resize(names.size() * 4);
        }
        if (size < 0) {
            if (unsupported(errno)) {
                return access;
            }
            throwFileError(path, "read the attributes of", errno);
        }
        names.resize(static_cast<size_t>(size));
        for (size_t at = 0; at < names.size();) {
            const std::string name = names.c_str() + at;
            at += name.size() + 1;
            if (!name.starts_with("user.")) {
                continue;
            }
            std::string value(256, '\0');
            ssize_t length = 0;
            while ((length = ::getxattr(proc.c_str(), name.c_str(), value.data(), value.size())) <
                       0 &&
                   errno == ERANGE) {
                value.resize(value.size() * 4);
            }
            if (length < 0) {
                throwFileError(path, "read the attributes of", errno);
            }
            value.resize(static_cast<size_t>(length));
            access.userAttributes.emplace_back(name, std::move(value));
        }
        return access;
    }

    // What `touch` would give a file created in `folder`: its default ACL where it has one, else
    // 0666 less the umask.
    static Access ofNewFileIn(int folder, const std::string& path) {
        Access access;
        access.mode = 0666 & ~currentUmask();
        Acl folderDefault = aclOf(procPath(folder), ACL_TYPE_DEFAULT, path);
        if (folderDefault != nullptr && ::acl_entries(folderDefault.get()) > 0) {
            access.acl = inheritedAcl(folderDefault, path);
        }
        return access;
    }

    void applyTo(int fd, const std::string& path) const {
        // First, while the temporary is still its owner's to write: the mode may take that away.
        for (const auto& [name, value] : userAttributes) {
            if (::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0) {
                throwFileError(path, "keep the attributes of", errno);
            }
        }
        // The mode first, as a mode set after an ACL would rewrite its mask; the ACL then sets
        // the permission bits from its entries and leaves the set-ID and sticky bits.
        if (::fchmod(fd, mode) != 0) {
            throwFileError(path, "write", errno);
        }
        if (acl != nullptr && ::acl_set_fd(fd, acl.get()) != 0) {
            // Nothing is lost where the ACL said no more than the mode.
            if (!unsupported(errno) || ::acl_equiv_mode(acl.get(), nullptr) != 0) {
                throwFileError(path, "keep the permissions of", errno);
            }
        }
    }
};

// The signals are held while a temporary exists, so that it is always renamed or removed first;
// held, not lost: they take effect once it is gone.
class TerminationSignalsHeld {
  public:
    TerminationSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : terminatingSignals()) {
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
        for (const int signal : terminatingSignals()) {
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
// SIGKILL or a power cut leaves one behind; elsewhere (vfat, FUSE, most network filesystems) it
// is named ".vorlane-XXXXXXXXXXXXXXXX.tmp" next to the target from the start.
class Temporary {
  public:
    static Temporary createIn(int folder, const std::string& path) {
        Descriptor unnamed(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        // Named later through /proc, as only a privileged process may name a descriptor itself.
        if (unnamed.get() >= 0 && ::access(procPath(unnamed.get()).c_str(), F_OK) == 0) {
            return Temporary(folder, std::move(unnamed), "");
        }
        std::string name;
        int raw = -1;
        for (int attempt = 0; attempt < 16 && raw < 0; ++attempt) {
            name = temporaryName();
            raw = ::openat(folder, name.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (raw < 0 && errno != EEXIST) {
                throwFileError(path, "create", errno);
            }
        }
        if (raw < 0) {
            throwFileError(path, "create", EEXIST);
        }
        return Temporary(folder, Descriptor(raw), name);
    }

    int fd() const { return fd_.get(); }

    // Puts the temporary in the place of `target`, a name in the folder.
    void replace(const std::string& target, const std::string& path) {
        if (name_.empty()) {
            // A link cannot replace a file, so the unnamed file gets a name of its own first.
            const std::string proc = procPath(fd_.get());
            for (int attempt = 0; attempt < 16 && name_.empty(); ++attempt) {
                const std::string name = temporaryName();
                if (::linkat(AT_FDCWD, proc.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) ==
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
        if (::renameat(folder_, name_.c_str(), folder_, target.c_str()) != 0) {
            throwFileError(path, "write", errno);
        }
        name_.clear();
    }

    // Removes a temporary that did not replace the target.
    void discard() {
        if (!name_.empty()) {
            ::unlinkat(folder_, name_.c_str(), 0);
            name_.clear();
        }
    }

  private:
    Temporary(int folder, Descriptor fd, std::string name)
        : folder_(folder), fd_(std::move(fd)), name_(std::move(name)) {}

    int folder_;
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

void writeFileAtomically(const std::string& path,
                         std::initializer_list<std::span<const uint8_t>> parts, WriteTo to) {
    size_t total = 0;
    for (const auto part : parts) {
        total += part.size();
    }
    if (total == 0) {
        throw FileError(path, "write", makeErrorCode(FileRefusal::NothingToWrite));
    }
    const bool regularOnly = to == WriteTo::RegularFileOnly;
    if (isStandardStream(path) && !regularOnly) {
        writeInPlace(path, Descriptor(STDOUT_FILENO, false), parts, true);
        return;
    }
    const Destination destination = resolveDestination(path);
    const int folder = destination.folder->get();
    if (destination.kind == Destination::Kind::InPlace) {
        // Refused before anything is opened: opening a FIFO or a terminal for writing can wait
        // for ever, and a program with a window must not.
        if (regularOnly) {
            throw FileError(path, "open for writing", makeErrorCode(FileRefusal::NotRegularFile));
        }
        const int noFollow = destination.throughProcLink ? 0 : O_NOFOLLOW;
        writeInPlace(path,
                     Descriptor(::openat(folder, destination.name.c_str(),
                                         O_WRONLY | O_NOCTTY | O_CLOEXEC | noFollow)),
                     parts, false);
        return;
    }
    const std::string& target = destination.name;
    const bool replacing = destination.kind == Destination::Kind::Replace;
    struct stat existing {};
    std::optional<Access> access;
    if (replacing) {
        const Descriptor file(::openat(folder, target.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (file.get() < 0 || ::fstat(file.get(), &existing) != 0) {
            throwFileError(path, "write", errno);
        }
        if (!S_ISREG(existing.st_mode)) {
            throwFileError(path, "write", EAGAIN);  // it changed under our feet
        }
        access.emplace(Access::ofFile(file.get(), existing, path));
    } else {
        access.emplace(Access::ofNewFileIn(folder, path));
    }
    {
        const TerminationSignalsHeld held;
        Temporary temporary = Temporary::createIn(folder, path);
        try {
            if (replacing) {
                // Only root may give a file away; anyone else keeps the group where they belong
                // to it, and the file becomes theirs.
                if (::fchown(temporary.fd(), existing.st_uid, existing.st_gid) != 0) {
                    if (::geteuid() == 0) {
                        throwFileError(path, "keep the owner of", errno);
                    }
                    const bool grouped =
                        ::fchown(temporary.fd(), static_cast<uid_t>(-1), existing.st_gid) == 0;
                    // Under another group, the group's rights would go to other people.
                    const mode_t groupOnly = (access->mode >> 3) & 07 & ~(access->mode & 07);
                    if (!grouped && groupOnly != 0) {
                        throwFileError(path, "keep the group of", errno);
                    }
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
            access->applyTo(temporary.fd(), path);
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
    Descriptor synced(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (synced.get() >= 0) {
        ::fsync(synced.get());
    }
    if (replacing && existing.st_nlink > 1 && otherNamesNotice() != nullptr) {
        otherNamesNotice()(path, static_cast<uint64_t>(existing.st_nlink - 1));
    }
}

}  // namespace vorlane
