// The file layer on Windows: paths are UTF-8 and become UTF-16 for the wide API, every stream
// is binary, and the atomic write uses Windows' own replacement of one file by another.
#include "image/FileIo.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <random>
#include <utility>

#include "image/Descriptor.h"
#include "image/FileError.h"
#include "image/Text.h"

namespace vorlane {

namespace {

// The C library's number for a Windows error, so that a FileError reads as it does on Linux
// ("No such file or directory") wherever the two systems mean the same thing.
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
        case ERROR_CANNOT_MAKE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_OPERATION_ABORTED:
            return EINTR;
        default:
            return EIO;
    }
}

[[noreturn]] void throwLastError(const std::string& path, const char* operation) {
    throwFileError(path, operation, errnoOf(::GetLastError()));
}

// Closed on every path out of a scope.
class Handle {
  public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&& other) noexcept {
        close();
        handle_ = other.release();
        return *this;
    }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Gives the handle away (to a C library descriptor, which closes it).
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    bool close() {
        const bool closed = !valid() || ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

std::wstring toWide(const std::string& path, const std::string& shown, const char* operation) {
    if (path.empty()) {
        throwFileError(shown, operation, ENOENT);
    }
    const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                           static_cast<int>(path.size()), nullptr, 0);
    if (size <= 0) {
        throwFileError(shown, operation, EILSEQ);
    }
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                          wide.data(), size);
    return wide;
}

// The full path in the form that lifts the 260-character limit ("\\?\C:\..."); a device such
// as NUL or CON becomes "\\.\NUL" and stays so. Absolute also because replacing a file fails
// on relative paths under some implementations of the API.
std::wstring fullPath(const std::string& path, const char* operation) {
    const std::wstring wide = toWide(path, path, operation);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) {
            throwLastError(path, operation);
        }
        if (n < full.size()) {
            full.resize(n);
            break;
        }
        full.resize(n);
    }
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) {
        return full;
    }
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

std::wstring folderOf(const std::wstring& full) {
    const auto slash = full.find_last_of(L'\\');
    return slash == std::wstring::npos ? full : full.substr(0, slash);
}

bool isDiskFile(HANDLE handle) {
    return ::GetFileType(handle) == FILE_TYPE_DISK;
}

// A C library descriptor that owns `handle`, binary.
int descriptorOf(Handle& handle, int flags, const std::string& path, const char* operation) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), flags | _O_BINARY);
    if (fd < 0) {
        throwFileError(path, operation, EMFILE);
    }
    handle.release();
    return fd;
}

void writeAll(HANDLE handle, const std::string& path, const uint8_t* src, size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
        DWORD written = 0;
        if (::WriteFile(handle, src, chunk, &written, nullptr) == 0) {
            throwLastError(path, "write");
        }
        src += written;
        size -= written;
    }
}

// A console's Ctrl+C, Ctrl+Break or close, a log-off or a shutdown, while a temporary exists,
// waits until it is gone; the save is then abandoned and the process ends as it would have.
// Windows runs the handler on a thread of its own, so the two meet in a critical section that
// the save holds for as long as its temporary exists.
class ConsoleStopGuard {
  public:
    ConsoleStopGuard() {
        static const bool installed = [] {
            ::InitializeCriticalSection(&saving());
            return ::SetConsoleCtrlHandler(&onStop, TRUE) != 0;
        }();
        (void)installed;
        ::EnterCriticalSection(&saving());
    }
    ~ConsoleStopGuard() { ::LeaveCriticalSection(&saving()); }
    ConsoleStopGuard(const ConsoleStopGuard&) = delete;
    ConsoleStopGuard& operator=(const ConsoleStopGuard&) = delete;

    static bool stopAsked() { return stopAsked_ != 0; }

  private:
    static CRITICAL_SECTION& saving() {
        static CRITICAL_SECTION section;
        return section;
    }
    static BOOL WINAPI onStop(DWORD) {
        ::InterlockedExchange(&stopAsked_, 1);
        // Held from here on: no save starts while the process ends.
        ::EnterCriticalSection(&saving());
        return FALSE;  // the next handler, in the end the system's, ends the process
    }
    static inline volatile LONG stopAsked_ = 0;
};

std::wstring temporaryNameIn(const std::wstring& folder) {
    static std::mt19937_64 random{std::random_device{}()};
    const std::string suffix =
        formatPlain(".vorlane-%016llx.tmp", static_cast<unsigned long long>(random()));
    return folder + L"\\" + std::wstring(suffix.begin(), suffix.end());
}

// The new bytes go to a file of their own in the target's folder (its name has a fixed length,
// so any name the target may have leaves room for it), flushed to disk before they replace the
// target.
class Temporary {
  public:
    Temporary(const std::wstring& folder, const std::string& path) : path_(path) {
        for (int attempt = 0; attempt < 16 && !handle_.valid(); ++attempt) {
            name_ = temporaryNameIn(folder);
            handle_ = Handle(::CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!handle_.valid() && ::GetLastError() != ERROR_FILE_EXISTS) {
                name_.clear();
                throwLastError(path, "create");
            }
        }
        if (!handle_.valid()) {
            name_.clear();
            throwFileError(path, "create", EEXIST);
        }
    }
    ~Temporary() {
        handle_.close();
        if (!name_.empty()) {
            ::DeleteFileW(name_.c_str());
        }
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    void write(const uint8_t* src, size_t size) { writeAll(handle_.get(), path_, src, size); }

    void flushAndClose() {
        if (::FlushFileBuffers(handle_.get()) == 0) {
            throwLastError(path_, "write");
        }
        if (!handle_.close()) {
            throwLastError(path_, "write");
        }
    }

    // The target keeps its attributes and its ACL; a new one gets what files created in its
    // folder get.
    void replace(const std::wstring& target, bool exists) {
        const BOOL done = exists
                              ? ::ReplaceFileW(target.c_str(), name_.c_str(), nullptr,
                                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                              : ::MoveFileExW(name_.c_str(), target.c_str(),
                                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (done == 0) {
            throwLastError(path_, "write");
        }
        name_.clear();
    }

  private:
    std::string path_;
    std::wstring name_;  // empty once it replaced the target
    Handle handle_;
};

void writeToDescriptor(int fd, const std::string& path,
                       std::initializer_list<std::span<const uint8_t>> parts) {
    for (const auto part : parts) {
        size_t done = 0;
        while (done < part.size()) {
            const unsigned chunk =
                static_cast<unsigned>(std::min<size_t>(part.size() - done, INT_MAX));
            const int n = ::_write(fd, part.data() + done, chunk);
            if (n < 0) {
                throwFileError(path, "write", errno);
            }
            done += static_cast<size_t>(n);
        }
    }
}

void requireRegular(const std::string& path, HANDLE handle) {
    if (!isDiskFile(handle)) {
        throw FileError(path, "open", makeErrorCode(FileRefusal::NotRegularFile));
    }
}

}  // namespace

size_t readFully(int fd, const std::string& path, uint8_t* dest, size_t size) {
    size_t done = 0;
    while (done < size) {
        const unsigned chunk = static_cast<unsigned>(std::min<size_t>(size - done, INT_MAX));
        const int n = ::_read(fd, dest + done, chunk);
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

Descriptor openForReading(const std::string& path, uint64_t* size, Dash dash) {
    if (dash == Dash::StandardInput && isStandardStream(path)) {
        ::_setmode(0, _O_BINARY);
        if (size != nullptr) {
            const HANDLE input = reinterpret_cast<HANDLE>(::_get_osfhandle(0));
            LARGE_INTEGER bytes{};
            *size = input != INVALID_HANDLE_VALUE && isDiskFile(input) &&
                            ::GetFileSizeEx(input, &bytes) != 0
                        ? static_cast<uint64_t>(bytes.QuadPart)
                        : 0;
        }
        return Descriptor(0, false);
    }
    const std::wstring full = fullPath(path, "open");
    // Asked of the path first, so that a device is never opened at all.
    const DWORD attributes = ::GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throwFileError(path, "open", EISDIR);
    }
    if (full.starts_with(L"\\\\.\\")) {
        throw FileError(path, "open", makeErrorCode(FileRefusal::NotRegularFile));
    }
    Handle handle(::CreateFileW(full.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) {
        throwLastError(path, "open");
    }
    requireRegular(path, handle.get());
    LARGE_INTEGER bytes{};
    if (::GetFileSizeEx(handle.get(), &bytes) == 0) {
        throwLastError(path, "open");
    }
    if (size != nullptr) {
        *size = static_cast<uint64_t>(bytes.QuadPart);
    }
    return Descriptor(descriptorOf(handle, _O_RDONLY, path, "open"));
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
    if (isStandardStream(path) && to == WriteTo::AnyFile) {
        ::_setmode(1, _O_BINARY);
        writeToDescriptor(1, path, parts);
        return;
    }
    const std::wstring target = fullPath(path, "write");
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throwFileError(path, "write", EISDIR);
    }
    // An existing target is opened for writing first: a read-only file, one another process
    // holds without sharing, or one the ACL closes is a file error before anything is written,
    // and a device (NUL, CON, a serial port) is written in place through this very handle.
    bool exists = false;
    DWORD links = 1;
    {
        Handle existing(::CreateFileW(target.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (existing.valid()) {
            if (!isDiskFile(existing.get())) {
                if (to == WriteTo::RegularFileOnly) {
                    throw FileError(path, "open for writing",
                                    makeErrorCode(FileRefusal::NotRegularFile));
                }
                const Descriptor fd(descriptorOf(existing, _O_WRONLY, path, "open for writing"));
                writeToDescriptor(fd.get(), path, parts);
                return;
            }
            exists = true;
            BY_HANDLE_FILE_INFORMATION information{};
            if (::GetFileInformationByHandle(existing.get(), &information) != 0) {
                links = information.nNumberOfLinks;
            }
        } else if (const DWORD error = ::GetLastError();
                   error != ERROR_FILE_NOT_FOUND || target.starts_with(L"\\\\.\\")) {
            throwFileError(path, "open for writing", errnoOf(error));
        }
    }
    const ConsoleStopGuard guard;
    Temporary temporary(folderOf(target), path);
    for (const auto part : parts) {
        temporary.write(part.data(), part.size());
    }
    temporary.flushAndClose();
    // The user asked the program to stop while it waited for the disk: the old file stays.
    if (ConsoleStopGuard::stopAsked()) {
        throwFileError(path, "write", EINTR);
    }
    temporary.replace(target, exists);
    // The new file took the name; the file's other names still lead to the old image.
    if (links > 1 && otherNamesNotice() != nullptr) {
        otherNamesNotice()(path, links - 1);
    }
}

}  // namespace vorlane
