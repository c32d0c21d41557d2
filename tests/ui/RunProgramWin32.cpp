// Runs a built program of the project as a child process on Windows (see RunProgram.h).
#include "tests/ui/RunProgram.h"

#include <windows.h>

#include <cwchar>

namespace vorlane::test {

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& unset) {
    // The same on Windows: the command line quoted as the C runtime splits it, the environment
    // block less `unset`, standard input from NUL and the two outputs into files.
    const auto wide = [](const std::string& text) {
        std::wstring result(text.size() + 1, L'\0');
        result.resize(static_cast<size_t>(
            MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                result.data(), static_cast<int>(result.size()))));
        return result;
    };
    const auto quoted = [](const std::wstring& arg) {
        std::wstring out = L"\"";
        size_t slashes = 0;
        for (wchar_t c : arg) {
            if (c == L'\\') {
                ++slashes;
            } else {
                out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
                slashes = 0;
            }
            out += c;
        }
        out.append(slashes, L'\\');
        return out + L"\"";
    };
    TempDir capture;
    const std::string outPath = capture.file("out"), errPath = capture.file("err");
    std::wstring commandLine = quoted(wide(program));
    for (const std::string& arg : args) {
        commandLine += L" " + quoted(wide(arg));
    }
    std::wstring environment;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring_view variable(entry);
        const bool dropped = std::any_of(unset.begin(), unset.end(), [&](const std::string& name) {
            const std::wstring prefix = wide(name) + L"=";
            return variable.size() >= prefix.size() &&
                   _wcsnicmp(variable.data(), prefix.c_str(), prefix.size()) == 0;
        });
        if (!dropped) {
            environment.append(variable) += L'\0';
        }
    }
    FreeEnvironmentStringsW(block);
    environment += L'\0';
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const auto open = [&](const std::wstring& path, DWORD access, DWORD disposition) {
        return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           disposition, 0, nullptr);
    };
    HANDLE in = open(L"NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = open(wide(outPath), GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = open(wide(errPath), GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &process);
    for (HANDLE h : {in, out, err}) {
        CloseHandle(h);
    }
    ProgramRun run;
    if (!started) {
        return run;
    }
    CloseHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hProcess);
        return run;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    run.finished = true;
    run.normalExit = true;  // Windows has no death by signal
    run.exitCode = static_cast<int>(code);
    run.out = wholeFile(outPath);
    run.err = wholeFile(errPath);
    return run;
}

}  // namespace vorlane::test
