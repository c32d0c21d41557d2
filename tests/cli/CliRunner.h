// Runs the built vorlane-cli as a child process and captures what it did, with the few helpers
// the process tests share.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <map>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/RomBuilder.h"

namespace vorlane::test {

using Json = nlohmann::json;

struct CliResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;

    // Every line of standard output parsed as JSON; throws on a line that is not.
    std::vector<Json> jsonLines() const {
        std::vector<Json> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(Json::parse(line));
        }
        return lines;
    }
};

// Standard output goes to `stdoutPath` when one is given (and is then not captured); standard
// input comes from `stdinPath`, or is empty. A run that hangs is stopped after 20 s, with exit
// code 124.
#ifdef _WIN32
// On Windows the program is started directly, its arguments quoted as its C library reads them
// back; "/dev/null" is the NUL device.
inline std::wstring wideOf(const std::string& utf8) {
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
    return text;
}

inline CliResult runCli(const std::vector<std::string>& args, const std::string& stdoutPath = "",
                        const std::string& stdinPath = "/dev/null") {
    TempDir capture;
    const std::string out = stdoutPath.empty() ? capture.file("out") : stdoutPath;
    std::wstring line = L"\"" + wideOf(VORLANE_CLI_PATH) + L"\"";
    for (const std::string& arg : args) {
        std::wstring quoted = L" \"";
        size_t backslashes = 0;
        for (const wchar_t c : wideOf(arg)) {
            if (c == L'\\') {
                ++backslashes;
            } else {
                quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
                backslashes = 0;
            }
            quoted += c;
        }
        line += quoted + std::wstring(backslashes, L'\\') + L"\"";
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const auto open = [&](const std::string& path, bool write) {
        const std::wstring name = path == "/dev/null" ? L"NUL" : wideOf(path);
        return ::CreateFileW(name.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             write ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
    };
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = open(stdinPath, false);
    startup.hStdOutput = open(out, true);
    startup.hStdError = open(capture.file("err"), true);
    PROCESS_INFORMATION process{};
    CliResult result;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                         &startup, &process) != 0) {
        DWORD code = 0;
        if (::WaitForSingleObject(process.hProcess, 20000) == WAIT_TIMEOUT) {
            ::TerminateProcess(process.hProcess, 124);
            ::WaitForSingleObject(process.hProcess, INFINITE);
        }
        ::GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        ::CloseHandle(handle);
    }
    const auto text = [](const std::vector<uint8_t>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    };
    result.out = stdoutPath.empty() ? text(readBytes(out)) : "";
    result.err = text(readBytes(capture.file("err")));
    return result;
}
#else
inline CliResult runCli(const std::vector<std::string>& args, const std::string& stdoutPath = "",
                        const std::string& stdinPath = "/dev/null") {
    const auto quote = [](const std::string& text) {
        std::string quoted = "'";
        for (const char c : text) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return quoted + "'";
    };
    TempDir capture;
    const std::string out = stdoutPath.empty() ? capture.file("out") : stdoutPath;
    // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) about the inlined insert of
    // `"literal" + std::string`, a false positive.
    std::string command = "timeout 20 ";
    command += quote(VORLANE_CLI_PATH);
    for (const std::string& arg : args) {
        command += ' ';
        command += quote(arg);
    }
    for (const auto& [redirect, path] : {std::pair(" <", stdinPath), std::pair(" >", out),
                                         std::pair(" 2>", capture.file("err"))}) {
        command += redirect;
        command += quote(path);
    }
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto text = [](const std::vector<uint8_t>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    };
    result.out = stdoutPath.empty() ? text(readBytes(out)) : "";
    result.err = text(readBytes(capture.file("err")));
    return result;
}
#endif

// The JSON line of `info` for one image, checksum ignored.
inline Json infoOf(const std::string& path) {
    const auto lines = runCli({"info", "--json", "--skip-checksum", path}).jsonLines();
    return lines.size() == 1 ? lines[0] : Json();
}

inline uint8_t byteSum(const std::vector<uint8_t>& bytes) {
    return static_cast<uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u));
}

// Every entry below `folder` with the bytes of each regular file: equal states mean that nothing
// was written, created or left behind.
inline std::map<std::string, std::vector<uint8_t>> folderState(const std::string& folder) {
    std::map<std::string, std::vector<uint8_t>> state;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        state[entry.path().string()] =
            entry.is_regular_file() ? readBytes(entry.path().string()) : std::vector<uint8_t>{};
    }
    return state;
}

}  // namespace vorlane::test
