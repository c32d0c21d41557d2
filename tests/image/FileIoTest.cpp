// The file layer's writes to what is not a plain file: nodes written in place, links followed.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <iterator>
#include <thread>

#include "image/FileError.h"
#include "image/FileIo.h"
#include "image/RomImage.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

using test::TempDir;

const std::vector<uint8_t> kBytes = {1, 2, 3, 0, 0xFF, 4};

size_t entries(const TempDir& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
}

// Devices, FIFOs, sockets, links, owners and modes are POSIX machinery: Linux only.
#ifndef _WIN32
void write(const std::string& path) {
    writeFileAtomically(path, {std::span<const uint8_t>(kBytes)});
}

struct stat lstatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

// Each node must still be the same node afterwards, and the folder must hold nothing new.
TEST(WriteFile, NodesThatAreNoRegularFileAreWrittenInPlace) {
    struct Case {
        const char* name;
        std::function<bool(const std::string&)> make;  // false: cannot be made here
        bool written;                                  // false: a file error is expected
    };
    const std::vector<Case> cases = {
        {"fifo", [](const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0; }, true},
        // The node of /dev/null, made where replacing it would harm nothing.
        {"device",
         [](const std::string& p) {
             return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
         },
         true},
        // A socket cannot be opened: the write fails and the socket stays.
        {"socket",
         [](const std::string& p) {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             p.copy(address.sun_path, sizeof address.sun_path - 1);
             const bool bound =
                 ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
             ::close(fd);
             return bound;
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string node = dir.file(c.name);
        if (!c.make(node)) {
            ASSERT_NE(::geteuid(), 0u) << "root can make every node";
            continue;  // mknod needs root; the other cases still run
        }
        const struct stat before = lstatOf(node);
        // A FIFO's reader gets exactly the bytes. It is open before the write, so that the
        // write's open does not wait; end of file counts only once the write has returned.
        std::atomic<bool> written{false};
        std::future<std::vector<uint8_t>> reader;
        if (S_ISFIFO(before.st_mode)) {
            const int fd = ::open(node.c_str(), O_RDONLY | O_NONBLOCK);
            ASSERT_GE(fd, 0);
            reader = std::async(std::launch::async, [fd, &written] {
                std::vector<uint8_t> got;
                for (;;) {
                    const bool last = written;
                    uint8_t buffer[256];
                    const ssize_t n = ::read(fd, buffer, sizeof buffer);
                    if (n > 0) {
                        got.insert(got.end(), buffer, buffer + n);
                    } else if (last) {
                        break;
                    } else {
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    }
                }
                ::close(fd);
                return got;
            });
        }
        if (c.written) {
            EXPECT_NO_THROW(write(node));
        } else {
            EXPECT_THROW(write(node), FileError);
        }
        written = true;
        if (reader.valid()) {
            EXPECT_EQ(reader.get(), kBytes);
        }
        const struct stat after = lstatOf(node);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_rdev, before.st_rdev);
        EXPECT_EQ(entries(dir), 1u);
    }
}

TEST(WriteFile, LinksAreWrittenThroughAndStay) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("sub"));
    // Relative targets are taken from the link's folder, through a chain of links.
    std::filesystem::create_symlink("sub/new.rom", dir.file("dangling"));
    std::filesystem::create_symlink("dangling", dir.file("chain"));
    write(dir.file("chain"));
    EXPECT_EQ(test::readBytes(dir.file("sub/new.rom")), kBytes);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("chain")));

    // A link into a missing folder: a file error, and the link is all there is.
    std::filesystem::create_symlink("missing/x.rom", dir.file("nowhere"));
    EXPECT_THROW(write(dir.file("nowhere")), FileError);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("nowhere")));
    EXPECT_EQ(entries(dir), 4u);
    std::filesystem::create_symlink("loop", dir.file("loop"));
    EXPECT_THROW(write(dir.file("loop")), FileError);
}

TEST(WriteFile, ReplacedFileKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another owner";
    }
    TempDir dir;
    const std::string target = dir.file("card.rom");
    test::writeBytes(target, {9});
    ASSERT_EQ(::chown(target.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(target.c_str(), 02640), 0);
    write(target);
    const struct stat st = lstatOf(target);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
    EXPECT_EQ(st.st_mode & 07777, 02640u);
    EXPECT_EQ(test::readBytes(target), kBytes);
}

#endif

TEST(ReadFile, UpToALimitReturnsWhatWasRead) {
    TempDir dir;
    test::writeBytes(dir.file("a"), kBytes);
    EXPECT_EQ(readFileUpTo(dir.file("a"), 4),
              std::vector<uint8_t>(kBytes.begin(), kBytes.begin() + 4));
    EXPECT_EQ(readFileUpTo(dir.file("a"), 1 << 20), kBytes);
}

// No write may empty a file, whoever calls it: the image that holds no byte included.
TEST(WriteFile, NothingToWriteIsRefusedAndTheFileStays) {
    TempDir dir;
    const std::string target = dir.file("card.rom");
    test::writeBytes(target, kBytes);
    try {
        writeFileAtomically(target, {std::span<const uint8_t>()});
        ADD_FAILURE() << "an empty write was accepted";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), makeErrorCode(FileRefusal::NothingToWrite));
    }
    CRomImage empty;
    EXPECT_THROW(empty.saveFile(target), FileError);
    EXPECT_EQ(test::readBytes(target), kBytes);
    EXPECT_EQ(entries(dir), 1u);
}

#ifndef _WIN32
// A new file gets what the user's umask gives any new file; the temporary was private until then.
TEST(WriteFile, NewFileGetsTheModeTheUmaskGives) {
    TempDir dir;
    const mode_t previous = ::umask(027);
    write(dir.file("new.rom"));
    ::umask(previous);
    EXPECT_EQ(lstatOf(dir.file("new.rom")).st_mode & 07777, 0640u);
}

size_t openDescriptors() {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

// Reading a FIFO, a terminal or a device could wait for ever (or do something): only regular
// files are read, and a refused one leaves no descriptor open.
TEST(ReadFile, OnlyRegularFilesAreReadAndNoDescriptorIsLeft) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    const size_t before = openDescriptors();
    for (const auto& [path, reason] :
         {std::pair{dir.file("fifo"), makeErrorCode(FileRefusal::NotRegularFile)},
          {"/dev/null", makeErrorCode(FileRefusal::NotRegularFile)},
          {dir.path(), std::make_error_code(std::errc::is_a_directory)}}) {
        SCOPED_TRACE(path);
        uint8_t byte = 0;
        try {
            readFileInto(path, {std::span<uint8_t>(&byte, 1)});
            ADD_FAILURE() << "read";
        } catch (const FileError& error) {
            EXPECT_EQ(error.code(), reason);
            EXPECT_EQ(error.path(), path);
        }
    }
    EXPECT_EQ(openDescriptors(), before);
    // The size comes from the descriptor that was read.
    test::writeBytes(dir.file("a"), kBytes);
    uint64_t size = 0;
    uint8_t first = 0;
    EXPECT_EQ(readFileInto(dir.file("a"), {std::span<uint8_t>(&first, 1)}, &size), 1u);
    EXPECT_EQ(size, kBytes.size());
}
#endif

}  // namespace
}  // namespace vorlane
