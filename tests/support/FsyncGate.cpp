// Preloaded (LD_PRELOAD) into a program under test, this stops the program inside its first
// fsync() of a regular file until the test lets it go on. A write flushes its temporary file
// there, so the test can act, a signal for example, at the one moment it needs: while the
// temporary exists, as it does during a long flush to a slow disk. Nothing in the program is
// built for tests; only the C library's entry points are taken over, and only here.
//
// VORLANE_FSYNC_GATE names a folder with two FIFOs: one byte is written to "held" once the
// program waits, and one byte read from "release" lets it go on. VORLANE_NO_TMPFILE makes
// open() and openat() refuse O_TMPFILE, as filesystems without unnamed files (vfat, FUSE) do.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <string>

namespace {

using OpenFunction = int (*)(const char*, int, ...);
using OpenAtFunction = int (*)(int, const char*, int, ...);

OpenFunction nextOpen(const char* name) {
    return reinterpret_cast<OpenFunction>(::dlsym(RTLD_NEXT, name));
}

bool refused(int flags) {
    if ((flags & O_TMPFILE) == O_TMPFILE && std::getenv("VORLANE_NO_TMPFILE") != nullptr) {
        errno = EOPNOTSUPP;
        return true;
    }
    return false;
}

int openThrough(const char* name, const char* path, int flags, mode_t mode) {
    return refused(flags) ? -1 : nextOpen(name)(path, flags, mode);
}

int openAtThrough(const char* name, int folder, const char* path, int flags, mode_t mode) {
    return refused(flags) ? -1
                          : reinterpret_cast<OpenAtFunction>(::dlsym(RTLD_NEXT, name))(folder, path,
                                                                                       flags, mode);
}

mode_t modeArgument(int flags, va_list arguments) {
    const bool takesMode = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
    return takesMode ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

void waitAtGate(const std::string& gate) {
    const int held = nextOpen("open")((gate + "/held").c_str(), O_WRONLY | O_CLOEXEC);
    if (held >= 0) {
        [[maybe_unused]] const ssize_t ignored = ::write(held, "h", 1);
        ::close(held);
    }
    const int release = nextOpen("open")((gate + "/release").c_str(), O_RDONLY | O_CLOEXEC);
    if (release >= 0) {
        char byte = 0;
        while (::read(release, &byte, 1) < 0 && errno == EINTR) {
        }
        ::close(release);
    }
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openThrough("open", path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openThrough("open64", path, flags, mode);
}

extern "C" int openat(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openAtThrough("openat", folder, path, flags, mode);
}

extern "C" int openat64(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openAtThrough("openat64", folder, path, flags, mode);
}

extern "C" int fsync(int fd) {
    static bool passed = false;
    const char* gate = std::getenv("VORLANE_FSYNC_GATE");
    struct stat st {};
    if (gate != nullptr && !passed && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        passed = true;
        waitAtGate(gate);
    }
    using FsyncFunction = int (*)(int);
    return reinterpret_cast<FsyncFunction>(::dlsym(RTLD_NEXT, "fsync"))(fd);
}
