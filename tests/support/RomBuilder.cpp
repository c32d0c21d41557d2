#include "tests/support/RomBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace vorlane::test {

namespace {

void put(std::vector<uint8_t>& image, size_t at, uint8_t value) {
    if (at < image.size()) {
        image[at] = value;
    }
}

void putWord(std::vector<uint8_t>& image, size_t at, uint16_t value) {
    put(image, at, static_cast<uint8_t>(value));
    put(image, at + 1, static_cast<uint8_t>(value >> 8));
}

void putText(std::vector<uint8_t>& image, size_t at, const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        put(image, at + i, static_cast<uint8_t>(text[i]));
    }
}

}  // namespace

RomBuilder& RomBuilder::fileSize(size_t bytes) {
    fileSize_ = bytes;
    return *this;
}
RomBuilder& RomBuilder::declaredBlocks(uint8_t blocks) {
    blocks_ = blocks;
    return *this;
}
RomBuilder& RomBuilder::signature(uint8_t first, uint8_t second) {
    sig0_ = first;
    sig1_ = second;
    return *this;
}
RomBuilder& RomBuilder::pcirOffset(uint16_t offset) {
    pcir_ = offset;
    return *this;
}
RomBuilder& RomBuilder::pcirMagic(std::string fourBytes) {
    pcirMagic_ = std::move(fourBytes);
    return *this;
}
RomBuilder& RomBuilder::vendorId(uint16_t id) {
    vendorId_ = id;
    return *this;
}
RomBuilder& RomBuilder::codeType(uint8_t type) {
    codeType_ = type;
    return *this;
}
RomBuilder& RomBuilder::indicator(uint8_t value) {
    indicator_ = value;
    return *this;
}
RomBuilder& RomBuilder::atiText(std::string textWithoutNul, uint8_t after) {
    atiText_ = std::move(textWithoutNul);
    afterAtiText_ = after;
    return *this;
}
RomBuilder& RomBuilder::headerOffset(uint16_t offset) {
    header_ = offset;
    return *this;
}
RomBuilder& RomBuilder::headText(std::string text) {
    headText_ = std::move(text);
    return *this;
}
RomBuilder& RomBuilder::infoBytes(std::string bytes) {
    info_ = std::move(bytes);
    return *this;
}
RomBuilder& RomBuilder::subsystemVendorId(uint16_t id) {
    subsystemVendorId_ = id;
    return *this;
}
RomBuilder& RomBuilder::subsystemId(uint16_t id) {
    subsystemId_ = id;
    return *this;
}
RomBuilder& RomBuilder::deviceId(uint16_t id) {
    deviceId_ = id;
    return *this;
}
RomBuilder& RomBuilder::pllOffset(uint16_t offset) {
    pll_ = offset;
    return *this;
}
RomBuilder& RomBuilder::referenceFrequency(uint16_t tenKHz) {
    referenceFrequency_ = tenKHz;
    return *this;
}
RomBuilder& RomBuilder::tvOffset(uint16_t offset) {
    tv_ = offset;
    return *this;
}
RomBuilder& RomBuilder::tvMagic(std::string threeBytes) {
    tvMagic_ = std::move(threeBytes);
    return *this;
}
RomBuilder& RomBuilder::tvByte7(uint8_t value) {
    tvByte7_ = value;
    return *this;
}
RomBuilder& RomBuilder::clockScanStart(uint16_t offset) {
    clockScan_ = offset;
    return *this;
}
RomBuilder& RomBuilder::clockRecordAt(std::optional<uint16_t> carriageReturn) {
    clockRecord_ = carriageReturn;
    return *this;
}
RomBuilder& RomBuilder::referenceDivider(uint8_t divider) {
    divider_ = divider;
    return *this;
}
RomBuilder& RomBuilder::engineFeedback(uint8_t value) {
    engine_ = value;
    return *this;
}
RomBuilder& RomBuilder::memoryFeedback(uint8_t value) {
    memory_ = value;
    return *this;
}
RomBuilder& RomBuilder::fontSequences(
    std::vector<std::pair<uint16_t, std::pair<uint16_t, uint16_t>>> seqs) {
    fontSequences_ = std::move(seqs);
    return *this;
}
RomBuilder& RomBuilder::checksum(Checksum mode) {
    checksum_ = mode;
    return *this;
}
RomBuilder& RomBuilder::poke(size_t offset, std::vector<uint8_t> bytes) {
    pokes_.emplace_back(offset, std::move(bytes));
    return *this;
}

std::vector<uint8_t> RomBuilder::build() const {
    std::vector<uint8_t> image(fileSize_, 0x00);
    put(image, 0, sig0_);
    put(image, 1, sig1_);
    put(image, 2, blocks_);
    put(image, 3, 0xEB);  // jmp short over the header area, as real images start
    put(image, 4, 0x4B);
    putWord(image, 0x18, pcir_);
    putText(image, 0x30, atiText_);
    put(image, 0x30 + atiText_.size(), afterAtiText_);
    putWord(image, 0x48, header_);
    putText(image, 0x50, headText_);
    put(image, 0x50 + headText_.size(), 0);
    // Copies of the subsystem IDs that some images keep near their start.
    putWord(image, 0x70, subsystemVendorId_);
    putWord(image, 0x72, subsystemId_);
    putText(image, 0x80, info_);
    put(image, 0x80 + info_.size(), 0);

    if (pcir_ != 0) {
        putText(image, pcir_, pcirMagic_);
        putWord(image, pcir_ + 4u, vendorId_);
        putWord(image, pcir_ + 6u, deviceId_);
        putWord(image, pcir_ + 0x0Au, 0x18);  // the structure's own length
        putWord(image, pcir_ + 0x10u, blocks_);
        put(image, pcir_ + 0x14u, codeType_);
        put(image, pcir_ + 0x15u, indicator_);
    }
    if (header_ != 0) {
        putWord(image, header_ + 0x1Cu, subsystemVendorId_);
        putWord(image, header_ + 0x1Eu, subsystemId_);
        putWord(image, header_ + 0x20u, deviceId_);
        putWord(image, header_ + 0x30u, pll_);
        putWord(image, header_ + 0x32u, tv_);
        putWord(image, header_ + 0x46u, clockScan_);
    }
    if (pll_ != 0) {
        putWord(image, pll_ + 0x0Eu, referenceFrequency_);
    }
    if (tv_ != 0) {
        putText(image, tv_, tvMagic_);
        put(image, tv_ + 7u, tvByte7_);
    }
    if (clockRecord_) {
        const size_t p = *clockRecord_;
        put(image, p, 0x0D);
        put(image, p + 0x24, 0x0A);
        put(image, p + 0x25, divider_);
        put(image, p + 0x26, memory_);
        put(image, p + 0x27, engine_);
    }
    for (size_t i = 0; i < 2048; ++i) {
        put(image, kFont8x8 + i, defaultFont8x8Byte(i));
    }
    for (size_t i = 0; i < 4096; ++i) {
        put(image, kFont8x16 + i, defaultFont8x16Byte(i));
    }
    for (const auto& [at, words] : fontSequences_) {
        const std::vector<uint8_t> sequence = {0xB9,
                                               0x0E,
                                               0x00,
                                               0xEB,
                                               0x0A,
                                               0xBD,
                                               static_cast<uint8_t>(words.first),
                                               static_cast<uint8_t>(words.first >> 8),
                                               0xB9,
                                               0x08,
                                               0x00,
                                               0xEB,
                                               0x04,
                                               0xBD,
                                               static_cast<uint8_t>(words.second),
                                               static_cast<uint8_t>(words.second >> 8),
                                               0xB9,
                                               0x10,
                                               0x00,
                                               0xEB};
        for (size_t i = 0; i < sequence.size(); ++i) {
            put(image, at + i, sequence[i]);
        }
    }
    for (const auto& [at, bytes] : pokes_) {
        for (size_t i = 0; i < bytes.size(); ++i) {
            put(image, at + i, bytes[i]);
        }
    }

    const size_t declared = std::min(image.size(), static_cast<size_t>(blocks_) * 512);
    if (checksum_ != Checksum::Untouched && declared > 0) {
        uint8_t sum = 0;
        image[declared - 1] = 0;
        for (size_t i = 0; i < declared; ++i) {
            sum = static_cast<uint8_t>(sum + image[i]);
        }
        image[declared - 1] = static_cast<uint8_t>(0x100 - sum);
        if (checksum_ == Checksum::Broken) {
            image[declared - 1] = static_cast<uint8_t>(image[declared - 1] + 1);
        }
    }
    return image;
}

void RomBuilder::writeTo(const std::string& path) const {
    writeBytes(path, build());
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write test file " + path);
    }
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read test file " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TempDir::TempDir() {
#ifdef _WIN32
    // Windows has no mkdtemp: a random name, created only if it is new.
    std::random_device random;
    for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
        const auto name = "vorlane-test-" + std::to_string(random()) + std::to_string(random());
        const auto folder = std::filesystem::temp_directory_path() / name;
        if (std::filesystem::create_directory(folder)) {
            path_ = folder.generic_string();
        }
    }
    if (path_.empty()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "vorlane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
#endif
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace vorlane::test
