#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>

#include "image/FileError.h"
#include "image/RomImage.h"
#include "tests/support/RomBuilder.h"
#ifndef _WIN32
#include "tests/support/Unprivileged.h"
#endif

namespace vorlane {
namespace {

#ifndef _WIN32
using test::asUnprivilegedUser;
#endif
using test::RomBuilder;
using test::TempDir;

TEST(LoadFile, ReadsAtMost64KiBAndKeepsTheRestReset) {
    TempDir dir;
    auto big = RomBuilder().build();
    big.resize(100000, 0x11);
    test::writeBytes(dir.file("big.rom"), big);
    CRomImage image;
    image.loadFile(dir.file("big.rom"));
    EXPECT_EQ(image.length, 65536);
    EXPECT_EQ(image.validate(), kRomOk);

    test::writeBytes(dir.file("short.rom"), {0x55, 0xAA, 0x01});
    image.reset();
    image.loadFile(dir.file("short.rom"));
    EXPECT_EQ(image.length, 3);
    EXPECT_EQ(image.data[3], 0xFF);
    EXPECT_EQ(image.data[65535], 0xFF);
    EXPECT_EQ(image.validate(), kRomTooSmall);
}

TEST(LoadFile, FileErrorsCarryPathOperationAndReason) {
    TempDir dir;
    CRomImage image;
    const std::string missing = dir.file("missing.rom");
    try {
        image.loadFile(missing);
        FAIL() << "no error for a missing file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), missing);
        EXPECT_EQ(e.code().value(), ENOENT);
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
        EXPECT_EQ(e.reason(), std::generic_category().message(ENOENT));
    }
    EXPECT_EQ(image.length, 0);  // the reset image stays as it was

    try {
        image.loadFile(dir.path());
        FAIL() << "no error for a folder";
    } catch (const FileError& e) {
        EXPECT_EQ(e.code().value(), EISDIR);
        EXPECT_EQ(e.operation(), "open");
    }
}

// Modes, other users and FIFOs are POSIX machinery: Linux only.
#ifndef _WIN32
TEST(LoadFile, UnreadableFileIsAFileError) {
    TempDir dir;
    RomBuilder().writeTo(dir.file("locked.rom"));
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(dir.file("locked.rom").c_str(), 0);
    EXPECT_TRUE(asUnprivilegedUser([&] {
        CRomImage image;
        try {
            image.loadFile(dir.file("locked.rom"));
        } catch (const FileError& error) {
            return error.code() == std::errc::permission_denied;
        }
        return false;
    }));
}

// A FIFO is refused before it is read: its read could wait for a writer for ever.
TEST(LoadFile, PipeIsRefusedWithoutWaiting) {
    TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CRomImage image;
    EXPECT_THROW(image.loadFile(fifo), FileError);
    EXPECT_EQ(image.length, 0);
}
#endif

}  // namespace
}  // namespace vorlane
