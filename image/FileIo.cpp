// What the file layer does alike on every system, over its per-system primitives
// (openForReading, readFully) in posix/ and windows/.
#include "image/FileIo.h"

#include <algorithm>

namespace vorlane {

size_t readFileInto(const std::string& path, std::initializer_list<std::span<uint8_t>> parts,
                    uint64_t* fileSize, Dash dash) {
    const Descriptor fd = openForReading(path, fileSize, dash);
    size_t total = 0;
    for (const auto part : parts) {
        const size_t n = readFully(fd.get(), path, part.data(), part.size());
        total += n;
        if (n < part.size()) {
            break;
        }
    }
    return total;
}

std::vector<uint8_t> readFileUpTo(const std::string& path, size_t limit, Dash dash,
                                  uint64_t* fileSize) {
    const Descriptor fd = openForReading(path, fileSize, dash);
    std::vector<uint8_t> bytes(std::min(limit, size_t{64} * 1024));
    size_t done = 0;
    for (;;) {
        done += readFully(fd.get(), path, bytes.data() + done, bytes.size() - done);
        if (done < bytes.size() || bytes.size() == limit) {
            break;
        }
        bytes.resize(std::min(bytes.size() * 2, limit));
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace vorlane
