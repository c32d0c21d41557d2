#include "cli/Run.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string toUtf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? static_cast<size_t>(size) : 1, '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    }
    out.resize(out.size() - 1);
    return out;
}

}  // namespace

// The same bytes as on Linux: UTF-8 arguments and messages, and no LF turned into CR LF on any
// stream.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(toUtf8(argv[i]));
    }
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    pointers.push_back(nullptr);
    for (FILE* stream : {stdin, stdout, stderr}) {
        ::_setmode(::_fileno(stream), _O_BINARY);
    }
    // A console shows the UTF-8 file names as they are; its own code page comes back afterwards.
    const UINT consoleCodePage = ::GetConsoleOutputCP();
    if (consoleCodePage != 0) {
        ::SetConsoleOutputCP(CP_UTF8);
    }
    const int status = vorlane::cli::run(argc, pointers.data());
    std::fflush(stdout);
    std::fflush(stderr);
    if (consoleCodePage != 0) {
        ::SetConsoleOutputCP(consoleCodePage);
    }
    return status;
}

#else

int main(int argc, char** argv) {
    return vorlane::cli::run(argc, argv);
}

#endif
