// gzip decompression with a ceiling, so that a small hostile file cannot exhaust memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorlane::fontfile {

// Font files never come near this; anything that inflates past it is refused.
inline constexpr size_t kMaxFontBytes = size_t{4} << 20;

bool isGzip(std::span<const uint8_t> bytes);

// Inflates every member of a gzip file. Throws FontError for a corrupt or truncated stream, for
// bytes after it that are no further member, and for output beyond `limit`.
std::vector<uint8_t> gunzip(std::span<const uint8_t> bytes, size_t limit = kMaxFontBytes);

// One gzip member holding `bytes`, as gzip -9 makes it.
std::vector<uint8_t> gzip(std::span<const uint8_t> bytes);

}  // namespace vorlane::fontfile
