#include "cli/Run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "cli/Values.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::cli {

namespace {

int dispatch(const ParsedLine& line) {
    switch (line.action) {
        case ParsedLine::Action::Help:
            writeOut(helpText());
            return kExitDone;
        case ParsedLine::Action::Version:
            writeOut(versionLine());
            writeOut("\n");
            return kExitDone;
        case ParsedLine::Action::Run:
            break;
    }
    return line.command->run(*line.options);
}

// The other names of a replaced file still lead to its old image: whoever flashes one of them
// must not take it for the new one. Said, not refused: the save itself did what was asked.
void noteOtherNames(const std::string& path, uint64_t otherNames) {
    complain(path, "note: " + std::to_string(otherNames) +
                       (otherNames == 1 ? " other name (hard link) keeps the old image"
                                        : " other names (hard links) keep the old image"));
}

}  // namespace

int run(int argc, const char* const* argv) {
    otherNamesNotice() = noteOtherNames;
    int status = kExitDone;
    try {
        status = dispatch(parseCommandLine(argc, argv));
    } catch (const FileError& error) {
        // Any other command ends at its first file error, whichever file it met.
        status = fileFailure(error);
    } catch (const UsageError& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "vorlane-cli: %s (see 'vorlane-cli --help')\n", error.what());
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        complain("error", "out of memory");
        return kExitFile;
    }
    // A report that did not reach its reader is a failed write like any other.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno != 0 ? errno : EIO;
        std::fprintf(stderr, "vorlane-cli: standard output: %s\n", std::strerror(error));
        return kExitFile;
    }
    return status;
}

}  // namespace vorlane::cli
