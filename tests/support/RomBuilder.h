// Synthetic video BIOS images for tests: a valid, realistic 64 KiB image by default, and a setter
// for each thing the validator reads, so that a test states only what makes its image special.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorlane::test {

class RomBuilder {
  public:
    // Default layout (offsets into the image).
    static constexpr uint16_t kPcir = 0x0190;
    static constexpr uint16_t kHeader = 0x0200;
    static constexpr uint16_t kPll = 0x0300;
    static constexpr uint16_t kTv = 0x0340;
    static constexpr uint16_t kClockScan = 0x0400;
    static constexpr uint16_t kClockRecord = 0x0403;  // the carriage return, 3 bytes into the scan
    static constexpr uint16_t kFont8x8 = 0xE000;
    static constexpr uint16_t kFont8x16 = 0xE800;
    static constexpr uint16_t kFontSequence = 0xFA00;

    enum class Checksum { Fixed, Broken, Untouched };

    // Size of the file in bytes and the size the image declares at offset 2 (512-byte blocks).
    RomBuilder& fileSize(size_t bytes);
    RomBuilder& declaredBlocks(uint8_t blocks);
    RomBuilder& signature(uint8_t first, uint8_t second);
    RomBuilder& pcirOffset(uint16_t offset);
    RomBuilder& pcirMagic(std::string fourBytes);
    RomBuilder& vendorId(uint16_t id);
    // The PCI data structure's code type (0: a PC image) and indicator (bit 7: the last image).
    RomBuilder& codeType(uint8_t type);
    RomBuilder& indicator(uint8_t value);
    RomBuilder& atiText(std::string textWithoutNul, uint8_t after = 0);
    RomBuilder& headerOffset(uint16_t offset);
    RomBuilder& headText(std::string text);
    RomBuilder& infoBytes(std::string bytes);  // raw bytes at 0x80; a zero is appended
    RomBuilder& subsystemVendorId(uint16_t id);
    RomBuilder& subsystemId(uint16_t id);
    RomBuilder& deviceId(uint16_t id);
    RomBuilder& pllOffset(uint16_t offset);
    RomBuilder& referenceFrequency(uint16_t tenKHz);
    RomBuilder& tvOffset(uint16_t offset);
    RomBuilder& tvMagic(std::string threeBytes);
    RomBuilder& tvByte7(uint8_t value);
    RomBuilder& clockScanStart(uint16_t offset);
    // Where the clock record's carriage return sits; nullopt leaves no record at all.
    RomBuilder& clockRecordAt(std::optional<uint16_t> carriageReturn);
    RomBuilder& referenceDivider(uint8_t divider);
    RomBuilder& engineFeedback(uint8_t value);
    RomBuilder& memoryFeedback(uint8_t value);
    // The font-locating instruction sequences: each at `at`, naming the two font words.
    RomBuilder& fontSequences(std::vector<std::pair<uint16_t, std::pair<uint16_t, uint16_t>>> seqs);
    RomBuilder& noFontSequence() { return fontSequences({}); }
    RomBuilder& checksum(Checksum mode);
    // Raw bytes written last, before the checksum.
    RomBuilder& poke(size_t offset, std::vector<uint8_t> bytes);

    std::vector<uint8_t> build() const;
    void writeTo(const std::string& path) const;

    // The byte the default fonts hold at each position, so tests can tell them from others.
    static uint8_t defaultFont8x8Byte(size_t i) { return static_cast<uint8_t>(i * 7 + 1); }
    static uint8_t defaultFont8x16Byte(size_t i) { return static_cast<uint8_t>(i * 13 + 5); }

  private:
    size_t fileSize_ = 65536;
    uint8_t blocks_ = 0x80;
    uint8_t sig0_ = 0x55, sig1_ = 0xAA;
    uint16_t pcir_ = kPcir;
    std::string pcirMagic_ = "PCIR";
    uint16_t vendorId_ = 0x1002;
    uint8_t codeType_ = 0x00;
    uint8_t indicator_ = 0x80;
    std::string atiText_ = " 761295520";
    uint8_t afterAtiText_ = 0;
    uint16_t header_ = kHeader;
    std::string headText_ = "VORLANE TEST BIOS R7000 64MB";
    std::string info_ = "  RADEON 7000 TEST BOARD\r\n 64MB DDR  400/400";
    uint16_t subsystemVendorId_ = 0x1002;
    uint16_t subsystemId_ = 0x0008;
    uint16_t deviceId_ = 0x5159;
    uint16_t pll_ = kPll;
    uint16_t referenceFrequency_ = 2700;
    uint16_t tv_ = kTv;
    std::string tvMagic_ = "$TV";
    uint8_t tvByte7_ = 0x01;
    uint16_t clockScan_ = kClockScan;
    std::optional<uint16_t> clockRecord_ = kClockRecord;
    uint8_t divider_ = 12;
    uint8_t engine_ = 0x60;
    uint8_t memory_ = 0x5A;
    std::vector<std::pair<uint16_t, std::pair<uint16_t, uint16_t>>> fontSequences_{
        {kFontSequence, {kFont8x8, kFont8x16}}};
    Checksum checksum_ = Checksum::Fixed;
    std::vector<std::pair<size_t, std::vector<uint8_t>>> pokes_;
};

// Writes `bytes` to `path`, replacing it.
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);

// A fresh folder under the system's temporary folder, removed with everything in it on
// destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace vorlane::test
