#include "fontfile/Gzip.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <string>

#include "fontfile/FontError.h"

namespace vorlane::fontfile {

namespace {

class Inflater {
  public:
    Inflater() {
        // 16 + MAX_WBITS: gzip framing only, with its CRC and length checked by zlib.
        if (inflateInit2(&stream_, 16 + MAX_WBITS) != Z_OK) {
            throw FontError("cannot start gzip decompression");
        }
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    z_stream& get() { return stream_; }

  private:
    z_stream stream_{};
};

class Deflater {
  public:
    Deflater() {
        // 16 + MAX_WBITS: a gzip member, as gzip -9 writes it.
        if (deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
                         Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::bad_alloc();
        }
        // The header names Unix as the system, as gzip and zlib on Linux write it, so that the
        // same font makes the same file on Windows too. Read by deflate when it starts.
        header_.os = 3;
        deflateSetHeader(&stream_, &header_);
    }
    ~Deflater() { deflateEnd(&stream_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    z_stream& get() { return stream_; }

  private:
    z_stream stream_{};
    gz_header header_{};
};

std::string limitText(size_t limit) {
    return limit % (1u << 20) == 0 ? std::to_string(limit >> 20) + " MiB"
                                   : std::to_string(limit) + " bytes";
}

}  // namespace

bool isGzip(std::span<const uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
}

std::vector<uint8_t> gunzip(std::span<const uint8_t> bytes, size_t limit) {
    if (bytes.size() > limit) {
        throw FontError("larger than any font file");
    }
    Inflater inflater;
    z_stream& z = inflater.get();
    // zlib takes a non-const pointer but never writes through next_in.
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = static_cast<uInt>(bytes.size());

    // Console fonts inflate to three to six times their size; start there and grow.
    std::vector<uint8_t> out(std::clamp<size_t>(bytes.size() * 4, 4096, limit + 1));
    size_t produced = 0;
    for (;;) {
        if (produced == out.size()) {
            if (out.size() > limit) {
                throw FontError("decompresses to more than " + limitText(limit));
            }
            out.resize(std::min(out.size() * 2, limit + 1));
        }
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(out.size() - produced);
        const int result = inflate(&z, Z_NO_FLUSH);
        produced = out.size() - z.avail_out;
        if (result == Z_STREAM_END) {
            if (z.avail_in == 0) {
                break;
            }
            // Another member follows, as `cat a.gz b.gz` makes; anything else is not gzip.
            if (!isGzip({z.next_in, z.avail_in})) {
                throw FontError("has bytes after the end of its gzip data");
            }
            if (inflateReset(&z) != Z_OK) {
                throw FontError("cannot restart gzip decompression");
            }
            continue;
        }
        if (result == Z_BUF_ERROR && z.avail_in == 0) {
            throw FontError("gzip data is truncated");
        }
        if (result != Z_OK && result != Z_BUF_ERROR) {
            throw FontError(std::string("gzip data is corrupt") +
                            (z.msg != nullptr ? std::string(" (") + z.msg + ")" : ""));
        }
    }
    if (produced > limit) {
        throw FontError("decompresses to more than " + limitText(limit));
    }
    out.resize(produced);
    return out;
}

std::vector<uint8_t> gzip(std::span<const uint8_t> bytes) {
    // Held by the guard: the allocation below may throw with the stream started.
    Deflater deflater;
    z_stream& z = deflater.get();
    std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(bytes.size())));
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    // deflateBound leaves room for the whole stream, so one call finishes it.
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) {
        throw std::bad_alloc();
    }
    out.resize(z.total_out);
    return out;
}

}  // namespace vorlane::fontfile
