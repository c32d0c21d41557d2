// The file layer of the core: whole-buffer reads and safe writes, reporting FileError.
//
// The path "-" names the process's standard input (for reading) or standard output (for
// writing); both programs pass every path through here, so this is the one place that says so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/Descriptor.h"

namespace vorlane {

inline constexpr std::string_view kStandardStream = "-";

inline bool isStandardStream(std::string_view path) {
    return path == kStandardStream;
}

// Reads from the open file `fd` until `size` bytes are in or the file ends, and returns the
// count: the one read loop of the programs. Throws FileError naming `path`.
size_t readFully(int fd, const std::string& path, uint8_t* dest, size_t size);

// What "-" names when a file is read: standard input, or a file of that name (a font file is
// never read from standard input).
enum class Dash { StandardInput, FileName };

// Opens a file for reading, regular files only, so that no read can wait forever on a FIFO, a
// terminal or a device, and no device is opened by mistake: a folder is FileError (EISDIR),
// anything else FileError (FileRefusal::NotRegularFile). "-" is standard input, whatever it is,
// and is left open. `size`, when given, gets the file's size as the open descriptor reports it
// (0 for standard input that is no regular file).
Descriptor openForReading(const std::string& path, uint64_t* size = nullptr,
                          Dash dash = Dash::StandardInput);

// Reads the file (opened as openForReading does) from its start into `parts`, one after
// another, until the file ends or every part is full. Returns the number of bytes read. Bytes
// the file does not supply are untouched. `fileSize` and `dash` as for openForReading.
size_t readFileInto(const std::string& path, std::initializer_list<std::span<uint8_t>> parts,
                    uint64_t* fileSize = nullptr, Dash dash = Dash::StandardInput);

// Reads at most `limit` bytes of the file (or of standard input for "-"); the vector's size is
// the number of bytes read. Memory grows with what is read, not with `limit`. `fileSize` as for
// openForReading.
std::vector<uint8_t> readFileUpTo(const std::string& path, size_t limit,
                                  Dash dash = Dash::StandardInput, uint64_t* fileSize = nullptr);

// What a write may go to besides a regular file. The editor writes regular files only, as it
// reads them, so that no save can wait on a FIFO, a terminal or a device; vorlane-cli writes
// those in place too.
enum class WriteTo { AnyFile, RegularFileOnly };

// Told, once a write has replaced a regular file that other names (hard links) lead to, how many
// such names keep its old content: the write put a new file in the place of the one name it was
// given. Nobody is told unless a program sets it (vorlane-cli says so; the editor does not).
using OtherNamesNotice = void (*)(const std::string& path, uint64_t otherNames);
inline OtherNamesNotice& otherNamesNotice() {
    static OtherNamesNotice notice = nullptr;
    return notice;
}

// Writes `parts` one after another as the whole new content of `path`. Parts that hold no byte
// at all are refused (FileRefusal::NothingToWrite): no caller can empty a file.
// - a regular file, or none yet: atomically. The bytes go to a temporary file in the folder of
//   the file itself (where a symbolic link points, also when the link dangles; the link stays),
//   are flushed to disk and then put in its place. The temporary's name has a fixed length, so
//   that any name the filesystem takes for the file can be written. The temporary is readable
//   by its owner only until it gets the access of the file it replaces: its permissions, its
//   ACL, its user attributes and, where the process may set them, its owner and group; where
//   one of these cannot be kept, FileError and nothing is written, as a save must never leave a
//   file more open than it was. A new file gets what any file created there gets: the folder's
//   inherited ACL where it has one, else 0666 less the umask. On any failure the old file stays
//   as it was and no temporary file is left behind; a signal that would end the process (every
//   one that can be caught) that comes meanwhile waits until the temporary is gone, abandons the
//   write, and then ends the process as it would have.
// - a link, or a file, that another user left in a sticky, world-writable folder (/tmp) is
//   neither followed nor replaced unless it belongs to the effective user or to the folder's
//   owner, as the kernel's rules for such folders say (protected_symlinks, which the kernel
//   applies to the last name only, is applied here to every link on the way too); otherwise
//   FileError (EACCES) and nothing is written.
// - anything else that exists and is not a folder (a device, a FIFO, a terminal, /dev/stdout
//   whatever it points at), and "-" for standard output: written in place, without a temporary
//   file or a rename, so that the node itself is never replaced. With
//   WriteTo::RegularFileOnly: FileError (FileRefusal::NotRegularFile) before it is opened, and
//   "-" is a file of that name.
// - a folder: FileError (EISDIR).
void writeFileAtomically(const std::string& path,
                         std::initializer_list<std::span<const uint8_t>> parts,
                         WriteTo to = WriteTo::AnyFile);

}  // namespace vorlane
