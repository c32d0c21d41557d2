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

// Another user's link in /tmp must not aim root's write at a file of root's choosing: links in a
// sticky, world-writable folder lead on only as the kernel would let them (fs.protected_symlinks).
TEST(CliStreams, LinksInStickyWorldWritableFoldersLeadOnOnlyAsTheKernelsRuleSays) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a link to another user";
    }
    constexpr uid_t kNobody = 65534;
    struct Case {
        const char* name;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    };
    const std::vector<Case> cases = {
        {"another user's link in a shared folder", 01777, 0, kNobody, false},
        {"root's own link there", 01777, 0, 0, true},
        {"the link of the folder's owner", 01777, kNobody, kNobody, true},
        {"another user's link in a folder that is not sticky", 0777, 0, kNobody, true},
        {"another user's link in a sticky folder others cannot write to", 01755, 0, kNobody, true},
        {"root's own link in a shared folder another user owns", 01777, kNobody, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        B().checksum(B::Checksum::Broken).writeTo(dir.file("sum.rom"));
        const std::string victim = dir.file("victim");
        writeBytes(victim, {9});
        const std::string shared = dir.file("shared");
        ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        const std::string link = shared + "/out.rom";
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);

        const CliResult r = runCli({"fix-checksum", dir.file("sum.rom"), "-o", link});
        EXPECT_EQ(r.exitCode, c.followed ? 0 : 3) << r.err;
        EXPECT_EQ(r.err, c.followed ? "" : "vorlane-cli: " + link + ": Permission denied\n");
        EXPECT_EQ(readBytes(victim).size(), c.followed ? 65536u : 1u);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
    }
}

}  // namespace
}  // namespace vorlane::test
