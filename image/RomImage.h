// A legacy ATI video BIOS image held in memory, with the offsets of the tables the editor uses.
//
// The record is plain on purpose: a fixed 64 KiB buffer and scalar offsets into it. Every member
// function works in place, never allocates, and stays inside the buffer whatever the fields hold.
// Validation failures are RomStatus values; only the file layer throws (FileError).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "image/FileIo.h"

namespace vorlane {

// Result of CRomImage::validate: 0 for an accepted image, 1 to 7 for the failure that stopped it.
using RomStatus = int;
enum : RomStatus {
    kRomOk = 0,
    kRomTooSmall = 1,       // fewer than 16384 bytes
    kRomNoSignature = 2,    // no 0x55 0xAA
    kRomTruncated = 3,      // shorter than the size it declares
    kRomNotAti = 4,         // no header, no PCI data structure or no ATI signature text
    kRomNoPll = 5,          // no PLL block
    kRomBadChecksum = 6,    // byte sum not 0 modulo 256
    kRomNoClockRecord = 7,  // clock record missing or reference divider 0
};

class CRomImage {
  public:
    static constexpr int kBufferSize = 65536;
    static constexpr int kMinLength = 0x4000;
    static constexpr int kFont8x8Size = 2048;
    static constexpr int kFont8x16Size = 4096;
    static constexpr int kInfoTextSize = 1028;

    // Fields in record order. Offsets are byte offsets into `data`; 0 means "not found".
    uint16_t pcirOffset = 0;
    float stepClock = 0.0f;  // 10 kHz units per feedback step
    std::array<uint8_t, kBufferSize> data{};
    int32_t length = 0;
    uint16_t font8x8Offset = 0;
    uint16_t font8x16Offset = 0;
    uint16_t headerOffset = 0;
    uint16_t clockScanStart = 0;
    uint16_t pllOffset = 0;
    uint16_t subsystemVendorId = 0;
    uint16_t vendorId = 0;
    uint16_t subsystemId = 0;
    uint16_t deviceId = 0;
    int32_t skipChecksum = 0;
    uint16_t engineFeedbackOffset = 0;
    uint16_t memoryFeedbackOffset = 0;
    uint16_t referenceDividerOffset = 0;
    uint16_t tvOffset = 0;
    int32_t tvStandard = 0;
    std::array<char, kInfoTextSize> infoText{};

    CRomImage() { reset(); }

    // Loading and validation.
    void reset();
    // Throws FileError. `fileSize`, when given, gets the size of the whole file, which may be more
    // than the buffer holds (from the descriptor it was read through).
    void loadFile(const std::string& path, uint64_t* fileSize = nullptr);
    void loadBytes(std::span<const uint8_t> bytes);  // as loadFile, from memory
    RomStatus validate();
    void locateFonts();
    static const char* statusMessage(RomStatus status);

    // Derived views.
    std::string_view headText() const;  // the text at 0x50, up to its NUL or the buffer's end
    const char* info() const { return infoText.data(); }
    uint8_t engineFeedback() const { return data[engineFeedbackOffset]; }
    uint8_t memoryFeedback() const { return data[memoryFeedbackOffset]; }
    uint8_t referenceDivider() const { return data[referenceDividerOffset]; }
    bool clockRecordLocated() const {
        return engineFeedbackOffset != 0 && memoryFeedbackOffset != 0;
    }
    uint16_t referenceFrequency() const { return word(pllOffset + 0x0Eu); }  // 10 kHz units
    bool fontsLocated() const { return font8x8Offset != 0 && font8x16Offset != 0; }
    int validLength() const;  // `length` clamped into the buffer
    uint8_t byteSum() const;  // bytes 0 to length - 1, modulo 256
    uint16_t word(uint32_t offset) const;

    // Fonts.
    void readFontFile(const std::string& path);  // throws FileError
    // Throws FileError; atomic. `to` as for writeFileAtomically.
    void writeFontFile(const std::string& path, WriteTo to = WriteTo::AnyFile);
    void applyBuiltinSet(bool cyrillic);
    bool isCyrillicSet() const;

    // The gates in front of the edits. The window's clock gate is the PLL block: its spins may
    // move while no clock record is located, and writeClocks then changes nothing. A scripted
    // clock edit must not report a write that changed nothing, so its gate is the record itself.
    // A validated image passes both; they differ only on a failed or hand-made one.
    bool clockGateOpen() const { return pllOffset != 0; }
    bool clockWriteGateOpen() const { return clockRecordLocated(); }
    bool tvGateOpen() const { return tvStandard != 0 && pllOffset != 0; }

    // Edits and saving.
    void writeClocks(int engine, int memory);
    void setTvStandard(int index);
    void setSubsystemIds(uint16_t newVendor, uint16_t newSubsystem);
    void fixChecksum();
    // Throws FileError; atomic. Never writes 0 bytes (FileError). Ask saveRefusal first. `to`
    // as for writeFileAtomically.
    void saveFile(const std::string& path, WriteTo to = WriteTo::AnyFile);

    // The bytes of a font at `offset`, kept inside the buffer.
    std::span<uint8_t> fontBytes(uint16_t offset, int size);
    std::span<const uint8_t> fontBytes(uint16_t offset, int size) const;

  private:
    void parse();
    void setWord(uint32_t offset, uint16_t value);
};

// Why an image that `validate` judged `status` must not be saved, or nullptr when it may be.
// Statuses 1 to 4 mean that no BIOS of this family was recognised: there is nothing to repair,
// and writing `length` bytes would cut or empty a file that is something else. Statuses 5 to 7
// are saved (a status-6 image is the checksum repair). The reason is a plain clause without a
// capital or a full stop, for both programs to put in their own sentence.
const char* saveRefusal(RomStatus status, int32_t length);

}  // namespace vorlane
