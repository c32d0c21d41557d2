// Writes COUNT pairs of 64 KiB images into FOLDER as a0000.rom/b0000.rom, ...: each A a distinct
// valid image, each B the same image with 49 scattered bytes changed and its checksum byte set
// again, so that a pair differs in about 50 bytes, as an edited image does.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>

#include "tests/support/RomBuilder.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const int count = std::atoi(argv[2]);
    constexpr int kChanged = 49;
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int i = 0; i < count; ++i) {
        char a[32], b[32];
        std::snprintf(a, sizeof a, "/a%04d.rom", i);
        std::snprintf(b, sizeof b, "/b%04d.rom", i);
        auto bytes = vorlane::test::RomBuilder()
                         .headText("BENCH IMAGE " + std::to_string(i))
                         .subsystemId(static_cast<uint16_t>(i))
                         .engineFeedback(static_cast<uint8_t>(40 + i % 200))
                         .build();
        vorlane::test::writeBytes(folder + a, bytes);
        // One changed byte in each 1/49th of the image, anywhere within it.
        const size_t stride = (bytes.size() - 1) / kChanged;
        for (int k = 0; k < kChanged; ++k) {
            bytes[k * stride + next() % stride] ^= static_cast<uint8_t>(1 + next() % 255);
        }
        bytes.back() = 0;
        bytes.back() =
            static_cast<uint8_t>(256 - std::accumulate(bytes.begin(), bytes.end(), 0u) % 256);
        vorlane::test::writeBytes(folder + b, bytes);
    }
    return 0;
}
