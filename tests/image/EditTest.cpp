#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>

#include "image/FileError.h"
#include "image/RomImage.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

using test::bytesAt;
using test::RomBuilder;
using test::TempDir;
using test::validated;

TEST(WriteClocks, StoresLowEightBitsAtTheRecord) {
    CRomImage image = validated(RomBuilder());
    image.writeClocks(300, 40);
    EXPECT_EQ(image.engineFeedback(), 44);
    EXPECT_EQ(image.memoryFeedback(), 40);
    image.writeClocks(-1, 256);
    EXPECT_EQ(image.engineFeedback(), 0xFF);
    EXPECT_EQ(image.memoryFeedback(), 0);

    // Without a located record nothing is written, not even at offset 0.
    CRomImage none = validated(RomBuilder().clockRecordAt(std::nullopt));
    const auto before = none.data;
    none.writeClocks(1, 2);
    EXPECT_EQ(none.data, before);
}

TEST(SetTvStandard, ReplacesTheWholeByte) {
    CRomImage image = validated(RomBuilder().tvByte7(0x31));
    image.setTvStandard(2);
    EXPECT_EQ(image.data[RomBuilder::kTv + 7], 0x02);
    EXPECT_EQ(image.tvStandard, 2);

    // Without a TV table, byte 7 of the image is code.
    CRomImage none = validated(RomBuilder().tvOffset(0));
    const auto before = none.data;
    none.setTvStandard(2);
    EXPECT_EQ(none.data, before);
}

struct SubsystemCase {
    uint16_t oldVendor, oldSubsystem;
    std::vector<uint8_t> copiesBefore;  // bytes 0x70 to 0x7A
    uint16_t newVendor, newSubsystem;
    std::vector<uint8_t> copiesAfter;
};

TEST(SetSubsystemIds, RewritesHeaderAndCopiesSeenBeforeAnyWrite) {
    const std::vector<SubsystemCase> cases = {
        // The usual pair of copies.
        {0x1002,
         0x0002,
         {0x02, 0x10, 0x02, 0x00, 0, 0, 0, 0, 0, 0, 0},
         0x1234,
         0x5678,
         {0x34, 0x12, 0x78, 0x56, 0, 0, 0, 0, 0, 0, 0}},
        // A new vendor equal to the old subsystem ID must not be taken for a subsystem copy.
        {0x1002,
         0x0002,
         {0x02, 0x10, 0x02, 0x00, 0, 0, 0, 0, 0, 0, 0},
         0x0002,
         0x5678,
         {0x02, 0x00, 0x78, 0x56, 0, 0, 0, 0, 0, 0, 0}},
        // An old subsystem ID of 0 matches nothing: blank words stay blank.
        {0x1002,
         0x0000,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         0x1234,
         0x5678,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // 0x71 reads 0x1002 only once 0x70 is rewritten: it is no copy.
        {0x1002,
         0x0010,
         {0x02, 0x10, 0x10, 0x00, 0, 0, 0, 0, 0, 0, 0},
         0x0200,
         0x5678,
         {0x00, 0x02, 0x78, 0x56, 0, 0, 0, 0, 0, 0, 0}},
        // Equal old IDs: a copy takes the new vendor ID only.
        {0x1002,
         0x1002,
         {0x02, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         0x1234,
         0x5678,
         {0x34, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Copies at odd offsets and the last start, 0x79, are found too.
        {0x1002,
         0x0002,
         {0, 0x02, 0x10, 0, 0, 0, 0, 0, 0, 0x02, 0x00},
         0xABCD,
         0x00EF,
         {0, 0xCD, 0xAB, 0, 0, 0, 0, 0, 0, 0xEF, 0x00}},
    };
    for (const auto& c : cases) {
        CRomImage image = validated(RomBuilder()
                                        .subsystemVendorId(c.oldVendor)
                                        .subsystemId(c.oldSubsystem)
                                        .poke(0x70, c.copiesBefore));
        ASSERT_EQ(image.subsystemVendorId, c.oldVendor);
        image.setSubsystemIds(c.newVendor, c.newSubsystem);
        EXPECT_EQ(bytesAt(image, 0x70, 11), c.copiesAfter) << std::hex << c.newVendor;
        EXPECT_EQ(image.subsystemVendorId, c.newVendor);
        EXPECT_EQ(image.subsystemId, c.newSubsystem);
        EXPECT_EQ(image.word(RomBuilder::kHeader + 0x1C), c.newVendor);
        EXPECT_EQ(image.word(RomBuilder::kHeader + 0x1E), c.newSubsystem);
    }
}

TEST(SetSubsystemIds, VendorZeroChangesNothing) {
    CRomImage image = validated(RomBuilder().subsystemVendorId(0));
    const auto before = image.data;
    image.setSubsystemIds(0x1234, 0x5678);
    EXPECT_EQ(image.data, before);
    EXPECT_EQ(image.subsystemId, 0x0008);
}

TEST(SetSubsystemIds, WithoutHeaderWritesTheWordsAt0x1C) {
    // A load that stopped before parsing keeps the earlier IDs and has no header offset.
    CRomImage image = validated(RomBuilder());
    image.reset();
    image.loadBytes(RomBuilder().fileSize(20000).declaredBlocks(0x80).build());
    ASSERT_EQ(image.validate(), kRomTruncated);
    image.setSubsystemIds(0x1111, 0x2222);
    EXPECT_EQ(image.word(0x1C), 0x1111);
    EXPECT_EQ(image.word(0x1E), 0x2222);
}

TEST(FixChecksum, ZeroSumAndOnlyTheLastByteChanges) {
    for (uint32_t length : {16384u, 32768u, 65536u}) {
        CRomImage image = validated(RomBuilder()
                                        .fileSize(length)
                                        .declaredBlocks(static_cast<uint8_t>(length / 512))
                                        .checksum(RomBuilder::Checksum::Broken));
        const auto before = image.data;
        image.fixChecksum();
        EXPECT_EQ(image.byteSum(), 0);
        for (size_t i = 0; i < before.size(); ++i) {
            if (i != length - 1 && before[i] != image.data[i]) {
                ADD_FAILURE() << "byte " << i << " changed";
                break;
            }
        }
        const auto fixed = image.data;
        image.fixChecksum();
        EXPECT_EQ(image.data, fixed);  // an image already summing to 0 stays as it is
    }
    CRomImage empty;
    const auto before = empty.data;
    empty.fixChecksum();
    EXPECT_EQ(empty.data, before);
}

TEST(SaveFile, WritesLengthBytesWithAFixedChecksum) {
    TempDir dir;
    // 64 KiB read, 32 KiB declared: saved as 32 KiB.
    CRomImage image = validated(RomBuilder().declaredBlocks(0x40));
    image.writeClocks(0x70, 0x71);
    image.saveFile(dir.file("out.rom"));
    const auto saved = test::readBytes(dir.file("out.rom"));
    ASSERT_EQ(saved.size(), 32768u);
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), image.data.begin()));

    CRomImage again;
    again.loadFile(dir.file("out.rom"));
    EXPECT_EQ(again.validate(), kRomOk);
    EXPECT_EQ(again.engineFeedback(), 0x70);
}

// Modes, links, read-only folders and file size limits are POSIX machinery: Linux only.
#ifndef _WIN32
TEST(SaveFile, KeepsPermissionsAndReplacesThroughALink) {
    TempDir dir;
    const std::string target = dir.file("card.rom");
    RomBuilder().writeTo(target);
    ::chmod(target.c_str(), 0640);
    std::filesystem::create_symlink(target, dir.file("link.rom"));

    CRomImage image = validated(RomBuilder());
    image.writeClocks(1, 2);
    image.saveFile(dir.file("link.rom"));

    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.rom")));
    EXPECT_EQ(test::readBytes(target)[RomBuilder::kClockRecord + 0x27], 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(SaveFile, FailedWriteLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    CRomImage image = validated(RomBuilder());
    EXPECT_THROW(image.saveFile(dir.file("missing/out.rom")), FileError);
    EXPECT_THROW(image.saveFile(dir.path()), FileError);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    if (::geteuid() != 0) {
        const std::string target = dir.file("old.rom");
        test::writeBytes(target, {1, 2, 3});
        ::chmod(dir.path().c_str(), 0555);
        EXPECT_THROW(image.saveFile(target), FileError);
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(test::readBytes(target), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST(SaveFile, WriteThatRunsOutOfSpaceLeavesTheOldFile) {
    // A file-size limit makes every write past it fail with EFBIG, as a full disk would fail it,
    // and unlike permission bits it holds for root too.
    TempDir dir;
    const std::string target = dir.file("old.rom");
    test::writeBytes(target, {1, 2, 3});
    CRomImage image = validated(RomBuilder());

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    try {
        image.saveFile(target);
        ADD_FAILURE() << "the write past the limit did not fail";
    } catch (const FileError& e) {
        EXPECT_EQ(e.code().value(), EFBIG);
        EXPECT_EQ(e.path(), target);
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(test::readBytes(target), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
#endif

}  // namespace
}  // namespace vorlane
