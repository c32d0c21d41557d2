// The file layer of the core: whole-buffer reads and atomic writes, reporting FileError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

namespace vorlane {

// Reads the file from its start into `parts`, one after another, until the file ends or every
// part is full. Returns the number of bytes read. Bytes the file does not supply are untouched.
size_t readFileInto(const std::string& path, std::initializer_list<std::span<uint8_t>> parts);

// Writes `parts` one after another as the whole new content of `path`, atomically: the bytes go
// to a temporary file in the same folder, are flushed to disk and then renamed over the target,
// which keeps an existing target's permission bits. On any failure the old file stays as it was
// and no temporary file is left behind.
void writeFileAtomically(const std::string& path,
                         std::initializer_list<std::span<const uint8_t>> parts);

}  // namespace vorlane
