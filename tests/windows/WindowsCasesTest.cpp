// vorlane-cli.exe where Windows differs from Linux: UTF-16 names, long paths, read-only files,
// files another process holds without sharing, and the NUL device.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/RomBuilder.h"

namespace vorlane::test {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

std::wstring wide(const std::string& utf8) {
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
    return text;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> bytesOf(const fs::path& path) {
    const std::string text = slurp(path);
    return {text.begin(), text.end()};
}

// Runs vorlane-cli.exe with UTF-8 arguments (passed on as UTF-16, as a Windows shell does) in
// `folder`, standard output and error going to files there.
CliRun runCli(const fs::path& folder, const std::vector<std::string>& args) {
    std::wstring line = L"\"" + wide(VORLANE_CLI_PATH) + L"\"";
    for (const std::string& arg : args) {
        line += L" \"" + wide(arg) + L"\"";
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const fs::path outPath = folder / "stdout.txt";
    const fs::path errPath = folder / "stderr.txt";
    HANDLE out = ::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, 0, nullptr);
    HANDLE err = ::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, 0, nullptr);
    HANDLE in =
        ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    CliRun run;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                         &startup, &process) == 0) {
        ADD_FAILURE() << "cannot start " << VORLANE_CLI_PATH;
        run.exitCode = ~0u;
    } else {
        ::WaitForSingleObject(process.hProcess, 20000);
        ::GetExitCodeProcess(process.hProcess, &run.exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(in);
    ::CloseHandle(out);
    ::CloseHandle(err);
    run.out = slurp(outPath);
    run.err = slurp(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return run;
}

// The names in `folder` (std::filesystem's iterator stops at 260 characters; the system's own
// search does not).
std::vector<std::wstring> entries(const fs::path& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder.wstring() + L"\\*").c_str(), &found);
    EXPECT_NE(search, INVALID_HANDLE_VALUE) << folder;
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(search, &found) != 0);
    ::FindClose(search);
    return names;
}

class WindowsCli : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::path(dir_.path());
        RomBuilder().writeTo(dir_.file("card.rom"));
        original_ = bytesOf(folder_ / "card.rom");
        // What every save below must write, saved under a plain name.
        ASSERT_EQ(runCli(folder_, {"edit", "card.rom", "-o", "pal.rom", "--tv", "pal"}).exitCode,
                  0u);
        ASSERT_NE(bytesOf(folder_ / "pal.rom"), original_);
    }

    TempDir dir_;
    fs::path folder_;
    std::vector<uint8_t> original_;
};

// Names a Windows code page cannot spell reach the file system and come back in messages as
// UTF-8, the same bytes as on Linux.
TEST_F(WindowsCli, CyrillicAndSpacedNamesAreReadWrittenAndNamed) {
    for (const std::string name : {"\xD0\xBA\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.rom",  // карта.rom
                                   "my card.rom", "\xD0\xBC\xD0\xBE\xD1\x8F card.rom"}) {
        SCOPED_TRACE(name);
        const CliRun edit = runCli(folder_, {"edit", "card.rom", "-o", name, "--tv", "pal"});
        EXPECT_EQ(edit.exitCode, 0u) << edit.err;
        const fs::path written = folder_ / fs::u8path(name);
        EXPECT_EQ(bytesOf(written), bytesOf(folder_ / "pal.rom"));
        const CliRun info = runCli(folder_, {"info", "--json", name});
        EXPECT_EQ(info.exitCode, 0u) << info.err;
        EXPECT_NE(info.out.find("\"file\":\"" + name + "\""), std::string::npos) << info.out;
        const CliRun missing = runCli(folder_, {"info", "x" + name});
        EXPECT_EQ(missing.exitCode, 3u);
        EXPECT_EQ(missing.err.rfind("vorlane-cli: x" + name + ": ", 0), 0u) << missing.err;
        fs::remove(written);
    }
}

// Past MAX_PATH (260 characters) only the "\\?\" form of a path reaches a file.
TEST_F(WindowsCli, PathsLongerThan260CharactersWork) {
    fs::path deep = folder_;
    std::string relative;
    for (int i = 0; relative.size() < 300; ++i) {
        const std::string part = "folder-with-a-long-name-" + std::to_string(i);
        deep /= part;
        relative += part + "/";
    }
    ASSERT_TRUE(fs::create_directories(deep));
    const std::string target = relative + "card-copy.rom";
    ASSERT_GT((folder_ / target).wstring().size(), 260u);
    // The test itself reaches the folder through the long form as well.
    const fs::path reached = L"\\\\?\\" + deep.make_preferred().wstring();
    const CliRun edit = runCli(folder_, {"edit", "card.rom", "-o", target, "--tv", "pal"});
    EXPECT_EQ(edit.exitCode, 0u) << edit.err;
    EXPECT_EQ(bytesOf(reached / "card-copy.rom"), bytesOf(folder_ / "pal.rom"));
    const CliRun again = runCli(folder_, {"edit", target, "--in-place", "--tv", "ntsc"});
    EXPECT_EQ(again.exitCode, 0u) << again.err;
    EXPECT_EQ(bytesOf(reached / "card-copy.rom"), original_);
    EXPECT_EQ(entries(reached).size(), 1u);
}

// A target that cannot be written is a file error before anything is: the old bytes stay and
// no temporary is left. Read-only by its attribute, or held by another process that shares
// nothing.
TEST_F(WindowsCli, ReadOnlyOrHeldTargetsAreFileErrorsAndStay) {
    const fs::path target = folder_ / "card.rom";
    ASSERT_NE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY), 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"edit", "card.rom", "--in-place", "--tv", "pal"},
          {"edit", "pal.rom", "-o", "card.rom", "--tv", "ntsc"},
          {"fix-checksum", "pal.rom", "-o", "card.rom"},
          {"pad", "pal.rom", "--chip-size", "128K", "-o", "card.rom"}}) {
        const CliRun run = runCli(folder_, args);
        EXPECT_EQ(run.exitCode, 3u) << args[0];
        EXPECT_EQ(run.err.rfind("vorlane-cli: card.rom: ", 0), 0u) << run.err;
    }
    EXPECT_EQ(bytesOf(target), original_);
    EXPECT_EQ(::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);

    // The test holds the file without sharing while the program, another process, saves it.
    HANDLE held =
        ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const CliRun run = runCli(folder_, {"edit", "card.rom", "--in-place", "--tv", "pal"});
    ::CloseHandle(held);
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_EQ(run.err.rfind("vorlane-cli: card.rom: ", 0), 0u) << run.err;
    EXPECT_EQ(bytesOf(target), original_);
    EXPECT_EQ(entries(folder_).size(), 2u);
}

// NUL is a device: written in place, never replaced by a file of that name.
TEST_F(WindowsCli, NulAsOutputSwallowsTheBytes) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"edit", "card.rom", "-o", "NUL", "--tv", "pal"},
          {"font-export", "card.rom", "NUL", "--format", "png"},
          {"pad", "card.rom", "--chip-size", "128K", "-o", "nul"}}) {
        const CliRun run = runCli(folder_, args);
        EXPECT_EQ(run.exitCode, 0u) << args[0] << ": " << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(entries(folder_).size(), 2u);
    // Read, it is no image: only regular files are.
    const CliRun read = runCli(folder_, {"info", "NUL"});
    EXPECT_EQ(read.exitCode, 3u);
    EXPECT_EQ(read.err, "vorlane-cli: NUL: Not a regular file\n");
}

// The card commands need Linux's sysfs, and say so in one line.
TEST_F(WindowsCli, CardCommandsNeedLinux) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"cards"}, {"cards", "--json"}, {"read-card", "-o", "x.rom"}}) {
        const CliRun run = runCli(folder_, args);
        EXPECT_EQ(run.exitCode, 3u);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "vorlane-cli: " + args[0] +
                               ": reading a card's ROM needs Linux (the kernel's sysfs); see "
                               "\"Reading a card's BIOS\" in README.md\n");
    }
    EXPECT_EQ(entries(folder_).size(), 2u);
}

}  // namespace
}  // namespace vorlane::test
