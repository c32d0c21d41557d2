// The file layer's writes to what is not a plain file: nodes written in place, links followed.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <iterator>
#include <thread>

#include "image/FileError.h"
#include "image/FileIo.h"
#include "image/RomImage.h"
#include "tests/support/RomBuilder.h"
#include "tests/support/Unprivileged.h"

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

#ifndef _WIN32
// ACLs, user attributes and owners are POSIX matters; Windows keeps a file's ACL by ReplaceFileW.
// What a command prints, for the views of the tools people use: getfacl (libacl's own).
std::string outputOf(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "(popen failed)";
    }
    char buffer[512];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    ::pclose(pipe);
    return out;
}

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// Who may do what with the file, as getfacl shows it (owner, group and every entry), without
// the line that names the file.
std::string accessOf(const std::string& path) {
    const std::string view = outputOf("getfacl -p '" + path + "' 2>&1");
    return view.substr(view.find('\n') + 1);
}

std::string userAttribute(const std::string& path, const char* name) {
    char value[256];
    const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? "(none)" : std::string(value, static_cast<size_t>(n));
}

bool hasAclTools() {
    return run("command -v getfacl >/dev/null && command -v setfacl >/dev/null");
}

// A replaced file must not become more open than it was: its ACL (whose mask rules the group's
// bits), its user attributes and its special bits stay exactly as getfacl saw them.
TEST(WriteFile, ReplacedFileKeepsItsAclAndUserAttributes) {
    if (::geteuid() != 0 || !hasAclTools()) {
        GTEST_SKIP() << "needs root and the acl tools (package acl)";
    }
    struct Case {
        const char* name;
        const char* fileSetup;    // run on the file, as '%s'
        const char* folderSetup;  // run on its folder
    };
    const std::vector<Case> cases = {
        {"a named user under a mask narrower than the group",
         "chown root:100 %s && chmod 640 %s && setfacl -m u:65534:rw %s", ""},
        {"named groups, the set-group-ID bit", "chmod 2750 %s && setfacl -m g:65534:r,u:1:rwx %s",
         ""},
        {"no ACL of its own in a folder with a default ACL", "chmod 600 %s",
         "setfacl -d -m u:65534:rw %s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.file("b.rom");
        test::writeBytes(target, {9});
        const auto apply = [](std::string command, const std::string& path) {
            for (size_t at; (at = command.find("%s")) != std::string::npos;) {
                command.replace(at, 2, "'" + path + "'");
            }
            return command.empty() || run(command);
        };
        ASSERT_TRUE(apply(c.fileSetup, target));
        ASSERT_TRUE(apply(c.folderSetup, dir.path()));
        ASSERT_EQ(::setxattr(target.c_str(), "user.origin", "dump", 4, 0), 0);
        const std::string before = accessOf(target);
        write(target);
        EXPECT_EQ(accessOf(target), before);
        EXPECT_EQ(userAttribute(target, "user.origin"), "dump");
        EXPECT_EQ(test::readBytes(target), kBytes);
        EXPECT_EQ(entries(dir), 1u);
    }
}

// A new file gets what a file that `touch` creates beside it gets: the folder's default ACL
// (which the umask does not narrow), or else 0666 less the umask.
TEST(WriteFile, NewFileGetsWhatTouchGivesAFileInTheSameFolder) {
    if (!hasAclTools()) {
        GTEST_SKIP() << "needs the acl tools (package acl)";
    }
    struct Case {
        const char* name;
        mode_t umask;
        const char* folderDefault;  // setfacl -d -m ENTRIES, or ""
    };
    const std::vector<Case> cases = {
        {"no default ACL", 027, ""},
        {"a default for another user", 077, "u:65534:rw"},
        {"defaults with execute bits", 022, "u:65534:rwx,g::rwx,o::rx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (*c.folderDefault != '\0') {
            ASSERT_TRUE(
                run(std::string("setfacl -d -m ") + c.folderDefault + " '" + dir.path() + "'"));
        }
        const mode_t previous = ::umask(c.umask);
        write(dir.file("new.rom"));
        const bool touched = run("touch '" + dir.file("touched") + "'");
        ::umask(previous);
        ASSERT_TRUE(touched);
        const std::string touchedView = outputOf("getfacl -cp '" + dir.file("touched") + "'");
        EXPECT_EQ(outputOf("getfacl -cp '" + dir.file("new.rom") + "'"), touchedView);
        EXPECT_EQ(lstatOf(dir.file("new.rom")).st_mode, lstatOf(dir.file("touched")).st_mode);
    }
}

// Where what the file had cannot be kept, nothing is written: the old file stays, and no
// temporary is left. Run as an ordinary user, since root can keep everything.
TEST(WriteFile, WhatCannotBeKeptFailsTheWriteAndLeavesTheFile) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the files to another user";
    }
    constexpr uid_t kNobody = 65534;
    struct Case {
        const char* name;
        uid_t owner;
        gid_t group;
        mode_t mode;
        bool userAttribute;
    };
    const std::vector<Case> cases = {
        // Its user attributes cannot be read by a user who may not read the file.
        {"attributes the user may not read", kNobody, kNobody, 0200, true},
        // The file would be the user's, in the user's group, with the group's bits: given to
        // every member of another group.
        {"a group the user is not in, with rights the others lack", 0, 0, 0664, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string folder = dir.file("shared");
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
        const std::string target = folder + "/card.rom";
        test::writeBytes(target, {9});
        if (c.userAttribute) {
            ASSERT_EQ(::setxattr(target.c_str(), "user.origin", "dump", 4, 0), 0);
        }
        ASSERT_EQ(::chown(target.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
        const struct stat before = lstatOf(target);
        EXPECT_TRUE(test::asUnprivilegedUser([&] {
            try {
                write(target);
                return false;
            } catch (const FileError&) {
                return true;
            }
        }));
        const struct stat after = lstatOf(target);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(test::readBytes(target), std::vector<uint8_t>{9});
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    }
}

// Any name the filesystem takes can be written, the longest included: the temporary beside it
// has a name of its own length.
TEST(WriteFile, NamesUpToTheLongestTheFilesystemTakes) {
    TempDir dir;
    for (const size_t length : {size_t{233}, size_t{234}, size_t{255}}) {
        for (const bool exists : {false, true}) {
            SCOPED_TRACE(std::to_string(length) + (exists ? " bytes, replaced" : " bytes, new"));
            const std::string target = dir.file(std::string(length, exists ? 'r' : 'n'));
            if (exists) {
                test::writeBytes(target, {9});
            }
            EXPECT_NO_THROW(write(target));
            EXPECT_EQ(test::readBytes(target), kBytes);
        }
    }
    EXPECT_EQ(entries(dir), 6u);
}
#endif

}  // namespace
}  // namespace vorlane
