// vorlane-cli with standard streams and special files as FILE and OUT.
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <iterator>
#include <tuple>
#include <utility>

#include "tests/cli/CliRunner.h"

namespace vorlane::test {
namespace {

using B = RomBuilder;

std::string text(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(CliStreams, DashReadsStandardInputAndWritesStandardOutput) {
    TempDir dir;
    const auto f = [&](const std::string& name) { return dir.file(name); };
    B().checksum(B::Checksum::Broken).writeTo(f("sum.rom"));
    B().writeTo(f("ok.rom"));
    ASSERT_EQ(runCli({"fix-checksum", f("sum.rom"), "-o", f("fixed.rom")}).exitCode, 0);
    ASSERT_EQ(runCli({"font-export", f("ok.rom"), f("ok.fnt")}).exitCode, 0);
    const auto before = folderState(dir.path());

    struct Case {
        std::vector<std::string> args;
        std::string input;     // standard input
        std::string expected;  // the file whose bytes standard output must carry
    };
    const std::vector<Case> cases = {
        {{"fix-checksum", "-", "-o", "-"}, f("sum.rom"), f("fixed.rom")},
        {{"fix-checksum", f("sum.rom"), "-o", "-"}, "/dev/null", f("fixed.rom")},
        {{"edit", "-", "-o", "-"}, f("ok.rom"), f("ok.rom")},
        {{"font-export", "-", "-"}, f("ok.rom"), f("ok.fnt")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliResult r = runCli(c.args, "", c.input);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        // Compared whole, as printing 64 KiB of bytes would bury the failure.
        EXPECT_TRUE(r.out == text(readBytes(c.expected))) << r.out.size() << " bytes";
    }
    const CliResult info = runCli({"info", "--json", f("ok.rom"), "-"}, "", f("sum.rom"));
    EXPECT_EQ(info.exitCode, 1);
    ASSERT_EQ(info.jsonLines().size(), 2u);
    EXPECT_EQ(info.jsonLines()[1]["file"], "-");
    EXPECT_EQ(info.jsonLines()[1]["status"], 6);
    EXPECT_EQ(folderState(dir.path()), before);  // no file named "-"
}

// A regular file behind the standard output path is the shell's redirection: `>>` appends.
TEST(CliStreams, OutputThroughProcFdContinuesAnAppendedFile) {
    TempDir dir;
    B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
    ASSERT_EQ(runCli({"fix-checksum", dir.file("sum.rom"), "-o", dir.file("fixed.rom")}).exitCode,
              0);
    writeBytes(dir.file("log.rom"), {'l', 'o', 'g', '\n'});
    const std::string command = std::string("'") + VORLANE_CLI_PATH + "' fix-checksum '" +
                                dir.file("sum.rom") + "' -o /proc/self/fd/1 >>'" +
                                dir.file("log.rom") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto log = readBytes(dir.file("log.rom"));
    EXPECT_TRUE(text(log) == "log\n" + text(readBytes(dir.file("fixed.rom"))))
        << log.size() << " bytes";
}

// The machine's own /dev/stdout and /dev/null must never be what a faulty write replaces: the
// child runs in a private mount namespace whose /dev holds only its own link and node.
TEST(CliStreams, DevStdoutAndDevNullStayWhatTheyAre) {
    TempDir dir;
    B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
    ASSERT_EQ(runCli({"fix-checksum", dir.file("sum.rom"), "-o", dir.file("fixed.rom")}).exitCode,
              0);
    enum : int { kSame = 0, kChanged = 1, kFailed = 2, kNoNamespace = 3 };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", "/dev", "tmpfs", 0, "mode=0755") != 0) {
            ::_exit(kNoNamespace);
        }
        if (::symlink("/proc/self/fd/1", "/dev/stdout") != 0 ||
            ::mknod("/dev/null", S_IFCHR | 0666, makedev(1, 3)) != 0) {
            ::_exit(kFailed);
        }
        const auto node = [](const char* path) {
            struct stat st {};
            ::lstat(path, &st);
            return std::tuple(st.st_ino, st.st_mode, st.st_rdev);
        };
        const auto before = std::pair(node("/dev/stdout"), node("/dev/null"));
        const std::string cli = std::string("'") + VORLANE_CLI_PATH + "' fix-checksum '" +
                                dir.file("sum.rom") + "' -o ";
        // Standard output is a pipe, whose far end the link cannot name as a path.
        const int piped =
            std::system((cli + "/dev/stdout | cat >'" + dir.file("piped") + "'").c_str());
        const int null = std::system((cli + "/dev/null").c_str());
        const bool same = before == std::pair(node("/dev/stdout"), node("/dev/null"));
        ::_exit(piped != 0 || null != 0 ? kFailed : same ? kSame : kChanged);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoNamespace) {
        GTEST_SKIP() << "no private mount namespace can be made here";
    }
    EXPECT_EQ(WEXITSTATUS(status), kSame);
    EXPECT_TRUE(readBytes(dir.file("piped")) == readBytes(dir.file("fixed.rom")));
}

// Another user's link in /tmp must not aim root's write at a file of root's choosing, wherever
// the link stands in OUT, and another user's file in /tmp must not be replaced by one that stays
// theirs to change before root flashes it: links lead on and files are replaced only as the
// kernel's rules for sticky, world-writable folders say (fs.protected_symlinks,
// fs.protected_regular).
TEST(CliStreams, LinksAndFilesInStickyWorldWritableFoldersAsTheKernelsRulesSay) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a link to another user";
    }
    constexpr uid_t kNobody = 65534;
    enum class Entry { LastLink, FolderLink, File };
    struct Case {
        const char* name;
        Entry entry;  // what another user may have left in the shared folder
        mode_t folderMode;
        uid_t folderOwner;
        uid_t entryOwner;
        bool written;
    };
    const std::vector<Case> cases = {
        {"another user's link in a shared folder", Entry::LastLink, 01777, 0, kNobody, false},
        {"root's own link there", Entry::LastLink, 01777, 0, 0, true},
        {"the link of the folder's owner", Entry::LastLink, 01777, kNobody, kNobody, true},
        {"another user's link in a folder that is not sticky", Entry::LastLink, 0777, 0, kNobody,
         true},
        {"another user's link to a folder, on the way", Entry::FolderLink, 01777, 0, kNobody,
         false},
        {"root's own link to a folder, on the way", Entry::FolderLink, 01777, 0, 0, true},
        {"another user's file in a shared folder", Entry::File, 01777, 0, kNobody, false},
        {"root's own file there", Entry::File, 01777, 0, 0, true},
        {"a file of the folder's owner", Entry::File, 01777, kNobody, kNobody, true},
        {"another user's file in a folder that is not sticky", Entry::File, 0777, 0, kNobody, true},
        {"another user's link in a sticky folder others cannot write to", Entry::LastLink, 01755, 0,
         kNobody, true},
        {"root's own link in a shared folder another user owns", Entry::LastLink, 01777, kNobody, 0,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
        // Root's own folder, which only root may enter, and the file in it.
        const std::string privy = dir.file("privy");
        ASSERT_EQ(::mkdir(privy.c_str(), 0700), 0);
        const std::string victim = privy + "/victim";
        const std::string shared = dir.file("shared");
        ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        std::string out;
        std::string written;  // the file that gets the image when the write goes through
        switch (c.entry) {
            case Entry::LastLink:
                out = shared + "/out.rom";
                written = victim;
                ASSERT_EQ(::symlink(victim.c_str(), out.c_str()), 0);
                ASSERT_EQ(::lchown(out.c_str(), c.entryOwner, c.entryOwner), 0);
                writeBytes(victim, {9});
                break;
            case Entry::FolderLink:
                out = shared + "/d/victim";
                written = victim;
                ASSERT_EQ(::symlink(privy.c_str(), (shared + "/d").c_str()), 0);
                ASSERT_EQ(::lchown((shared + "/d").c_str(), c.entryOwner, c.entryOwner), 0);
                writeBytes(victim, {9});
                break;
            case Entry::File:
                out = shared + "/pre.rom";
                written = out;
                writeBytes(out, {9});
                ASSERT_EQ(::chown(out.c_str(), c.entryOwner, c.entryOwner), 0);
                ASSERT_EQ(::chmod(out.c_str(), 0666), 0);
                break;
        }
        const auto before = folderState(dir.path());

        const CliResult r = runCli({"fix-checksum", dir.file("sum.rom"), "-o", out});
        EXPECT_EQ(r.exitCode, c.written ? 0 : 3) << r.err;
        EXPECT_EQ(r.err, c.written ? "" : "vorlane-cli: " + out + ": Permission denied\n");
        if (c.written) {
            EXPECT_EQ(readBytes(written).size(), 65536u);
        } else {
            EXPECT_EQ(folderState(dir.path()), before);
        }
        // The replaced file stays its owner's, with its mode, where it was kept.
        struct stat st {};
        ASSERT_EQ(::stat(written.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, c.entry == Entry::File ? c.entryOwner : 0u);
    }
}

// A save puts a new file in the place of the name it was given: other names of the old file
// (hard links) keep the old image. That stays, and is said on standard error, so that nobody
// flashes the stale twin unaware; the exit status is the save's.
TEST(CliStreams, OtherNamesOfAReplacedFileKeepTheOldImageAndANoteSaysSo) {
    struct Case {
        std::vector<std::string> args;  // OUT is "out.rom" in the folder
        int otherNames;
        std::string note;  // after "vorlane-cli: OUT: "
    };
    const std::vector<Case> cases = {
        {{"fix-checksum", "sum.rom", "-o", "out.rom"},
         1,
         "note: 1 other name (hard link) keeps the old image"},
        {{"pad", "ok.rom", "--chip-size", "128K", "--in-place"},
         2,
         "note: 2 other names (hard links) keep the old image"},
        {{"edit", "ok.rom", "--in-place", "--tv", "pal"}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        TempDir dir;
        B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
        B().writeTo(dir.file("ok.rom"));
        std::vector<std::string> args;
        std::string out;
        for (const std::string& arg : c.args) {
            args.push_back(arg.ends_with(".rom") ? dir.file(arg) : arg);
        }
        out = c.args[1] == "sum.rom" ? dir.file("out.rom") : dir.file(c.args[1]);
        if (!std::filesystem::exists(out)) {
            writeBytes(out, {1, 2, 3});
        }
        const auto old = readBytes(out);
        for (int i = 0; i < c.otherNames; ++i) {
            std::filesystem::create_hard_link(out, dir.file("twin" + std::to_string(i)));
        }
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, c.note.empty() ? "" : "vorlane-cli: " + out + ": " + c.note + "\n");
        EXPECT_NE(readBytes(out), old);
        for (int i = 0; i < c.otherNames; ++i) {
            EXPECT_EQ(readBytes(dir.file("twin" + std::to_string(i))), old);
        }
    }
}

}  // namespace
}  // namespace vorlane::test
