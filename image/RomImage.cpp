#include "image/RomImage.h"

#include <algorithm>
#include <cstring>

#include "image/BuiltinFonts.h"
#include "image/FileIo.h"
#include "image/PciData.h"

namespace vorlane {

namespace {

constexpr char kAtiSignature[] = " 761295520";  // with its terminating zero at 0x3A
constexpr int kSignatureOffset = 0x30;
constexpr int kHeadTextOffset = 0x50;
constexpr int kInfoTextOffset = 0x80;
constexpr int kInfoTextMax = 1024;
constexpr int kSubsystemCopiesFirst = 0x70;
constexpr int kSubsystemCopiesLast = 0x79;

// The BIOS routine that reports the font addresses: mov cx,14; jmp short; mov bp,w1; mov cx,8;
// jmp short; mov bp,w2; mov cx,16; jmp short. kAny marks the jump distances and the two words.
constexpr int kAny = -1;
constexpr int kFontSequence[] = {0xB9, 0x0E, 0x00, 0xEB, kAny, 0xBD, kAny, kAny, 0xB9, 0x08,
                                 0x00, 0xEB, kAny, 0xBD, kAny, kAny, 0xB9, 0x10, 0x00, 0xEB};
constexpr int kFontSequenceLength = sizeof kFontSequence / sizeof kFontSequence[0];
constexpr int kFontSearchFirst = 0xFB;
constexpr int kFontSearchTail = 38;  // the last start is length - 38

// A value bounded by `length - k`: 0 when it lies past the bound, compared as signed integers,
// so every value fails when the image is shorter than k.
uint16_t bounded(uint16_t value, int32_t length, int32_t k) {
    return static_cast<int32_t>(value) > length - k ? 0 : value;
}

bool matchesFontSequence(const uint8_t* p) {
    for (int i = 1; i < kFontSequenceLength; ++i) {
        if (kFontSequence[i] != kAny && p[i] != kFontSequence[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

void CRomImage::reset() {
    length = 0;
    pcirOffset = headerOffset = pllOffset = tvOffset = 0;
    font8x8Offset = font8x16Offset = 0;
    engineFeedbackOffset = memoryFeedbackOffset = referenceDividerOffset = 0;
    tvStandard = 0;
    infoText.fill('\0');
    data.fill(0xFF);
    stepClock = 2.25f;
}

void CRomImage::loadFile(const std::string& path, uint64_t* fileSize) {
    length = static_cast<int32_t>(readFileInto(path, {std::span<uint8_t>(data)}, fileSize));
}

void CRomImage::loadBytes(std::span<const uint8_t> bytes) {
    const size_t count = std::min(bytes.size(), static_cast<size_t>(kBufferSize));
    std::copy_n(bytes.begin(), count, data.begin());
    length = static_cast<int32_t>(count);
}

int CRomImage::validLength() const {
    return std::clamp(length, 0, kBufferSize);
}

uint16_t CRomImage::word(uint32_t offset) const {
    // The high byte of a word at the very last offset wraps to the start of the buffer, the way
    // a 16-bit offset would; every word the parser reads lies well inside it.
    const uint32_t lo = offset & 0xFFFF;
    const uint32_t hi = (offset + 1) & 0xFFFF;
    return static_cast<uint16_t>(data[lo] | (data[hi] << 8));
}

void CRomImage::setWord(uint32_t offset, uint16_t value) {
    data[offset & 0xFFFF] = static_cast<uint8_t>(value);
    data[(offset + 1) & 0xFFFF] = static_cast<uint8_t>(value >> 8);
}

uint8_t CRomImage::byteSum() const {
    // Only the sum modulo 256 counts, so a byte accumulator is exact, and it lets the compiler
    // add sixteen or more bytes per instruction.
    const int n = validLength();
    uint8_t sum = 0;
    for (int i = 0; i < n; ++i) {
        sum = static_cast<uint8_t>(sum + data[i]);
    }
    return sum;
}

std::string_view CRomImage::headText() const {
    const auto* begin = data.data() + kHeadTextOffset;
    const auto* end = data.data() + kBufferSize;
    const auto* nul = std::find(begin, end, uint8_t{0});
    return {reinterpret_cast<const char*>(begin), static_cast<size_t>(nul - begin)};
}

void CRomImage::parse() {
    length = std::min(length, data[2] * 512);
    pcirOffset = bounded(word(PciData::kPointerAt), length, 8);
    headerOffset = bounded(word(0x48), length, 0x56);

    const uint32_t h = headerOffset;
    clockScanStart = word(h + 0x46);
    subsystemVendorId = word(h + 0x1C);
    subsystemId = word(h + 0x1E);
    deviceId = word(h + 0x20);
    vendorId = PciData::read(data, pcirOffset).vendorId;

    if (h != 0) {
        pllOffset = bounded(word(h + 0x30), length, 0x20);
        tvOffset = bounded(word(h + 0x32), length, 0x10);
        if (tvOffset != 0 && std::memcmp(&data[tvOffset], "$TV", 3) != 0) {
            tvOffset = 0;
        }
    }
    tvStandard = tvOffset != 0 ? data[tvOffset + 7] & 0x0F : 0;

    // The clock record: a carriage return within 15 bytes of the scan start, with a line feed
    // 0x24 bytes further on. The scan ignores `length` on purpose: records may sit past it.
    uint32_t p = 0;
    for (uint32_t j = 0; j < 15; ++j) {
        p = (clockScanStart + j) & 0xFFFF;
        if (data[p] == 0x0D) {
            break;
        }
    }
    if (p + 0x27 < kBufferSize && data[p + 0x24] == 0x0A) {
        referenceDividerOffset = static_cast<uint16_t>(p + 0x25);
        memoryFeedbackOffset = static_cast<uint16_t>(p + 0x26);
        engineFeedbackOffset = static_cast<uint16_t>(p + 0x27);
    } else {
        referenceDividerOffset = memoryFeedbackOffset = engineFeedbackOffset = 0;
    }

    // Leading spaces and every byte outside 0x20 to 0x7F are dropped; inner spaces stay.
    size_t out = 0;
    for (int i = 0; i < kInfoTextMax; ++i) {
        const uint8_t c = data[kInfoTextOffset + i];
        if (c == 0) {
            break;
        }
        if ((c == 0x20 && out != 0) || (c >= 0x21 && c <= 0x7F)) {
            infoText[out++] = static_cast<char>(c);
        }
    }
    infoText[out] = '\0';
}

RomStatus CRomImage::validate() {
    length = std::clamp(length, 0, kBufferSize);
    if (length < kMinLength) {
        return kRomTooSmall;
    }
    if (data[0] != 0x55 || data[1] != 0xAA) {
        return kRomNoSignature;
    }
    if (length < data[2] * 512) {
        return kRomTruncated;
    }
    parse();
    if (headerOffset == 0 || pcirOffset == 0 || !PciData::signedAt(data, pcirOffset) ||
        std::memcmp(&data[kSignatureOffset], kAtiSignature, sizeof kAtiSignature) != 0) {
        return kRomNotAti;
    }
    if (pllOffset == 0) {
        return kRomNoPll;
    }
    if (!skipChecksum && byteSum() != 0) {
        return kRomBadChecksum;
    }
    if (referenceDividerOffset == 0 || referenceDivider() == 0) {
        return kRomNoClockRecord;
    }
    stepClock = static_cast<float>(static_cast<double>(referenceFrequency()) /
                                   static_cast<double>(referenceDivider()));
    locateFonts();
    return kRomOk;
}

void CRomImage::locateFonts() {
    const int32_t n = validLength();
    const int32_t last = n - kFontSearchTail;
    // Every match counts and the last one wins, so the search runs to the end. memchr finds
    // candidate first bytes far faster than a byte-by-byte loop.
    const uint8_t* base = data.data();
    int32_t s = kFontSearchFirst;
    while (s <= last) {
        const void* hit =
            std::memchr(base + s, kFontSequence[0], static_cast<size_t>(last - s + 1));
        if (hit == nullptr) {
            break;
        }
        s = static_cast<int32_t>(static_cast<const uint8_t*>(hit) - base);
        if (matchesFontSequence(base + s)) {
            font8x8Offset = bounded(word(s + 6), n, kFont8x8Size);
            font8x16Offset = bounded(word(s + 14), n, kFont8x16Size);
        }
        ++s;
    }
}

const char* CRomImage::statusMessage(RomStatus status) {
    switch (status) {
        case kRomTooSmall:
            return "Error N1 \n Error size of file";
        case kRomNoSignature:
            return "Error N2 \n Bios non ATI";
        case kRomTruncated:
            return "Error N3 \n Bios non ATI";
        case kRomNotAti:
            return "Error N4 \n Bios non ATI";
        case kRomNoPll:
            return "Error N5 \n Error CLK";
        case kRomBadChecksum:
            return "Error N6 \n CheckSum Error!";
        case kRomNoClockRecord:
            return "Error N7 \n Bios non ATI";
        default:
            return "";
    }
}

// Fonts ---------------------------------------------------------------------------------------

void CRomImage::readFontFile(const std::string& path) {
    if (!fontsLocated()) {
        return;
    }
    // A font file is never standard input: "-" names a file.
    readFileInto(path,
                 {fontBytes(font8x8Offset, kFont8x8Size), fontBytes(font8x16Offset, kFont8x16Size)},
                 nullptr, Dash::FileName);
}

void CRomImage::writeFontFile(const std::string& path, WriteTo to) {
    if (!fontsLocated()) {
        return;
    }
    writeFileAtomically(
        path, {fontBytes(font8x8Offset, kFont8x8Size), fontBytes(font8x16Offset, kFont8x16Size)},
        to);
}

void CRomImage::applyBuiltinSet(bool cyrillic) {
    if (!fontsLocated()) {
        return;
    }
    // The 8x16 copy goes second, as fonts that overlap in the image expect.
    const BuiltinFontSet set = builtinFontSet(cyrillic);
    std::ranges::copy(set.font8x8, fontBytes(font8x8Offset, kFont8x8Size).begin());
    std::ranges::copy(set.font8x16, fontBytes(font8x16Offset, kFont8x16Size).begin());
}

bool CRomImage::isCyrillicSet() const {
    return std::ranges::equal(kCyrillicFont8x8, fontBytes(font8x8Offset, kFont8x8Size));
}

// A located font always fits; the clamp keeps a hand-set offset from reaching past the buffer.
std::span<uint8_t> CRomImage::fontBytes(uint16_t offset, int size) {
    return {data.data() + std::min<int>(offset, kBufferSize - size), static_cast<size_t>(size)};
}

std::span<const uint8_t> CRomImage::fontBytes(uint16_t offset, int size) const {
    return {data.data() + std::min<int>(offset, kBufferSize - size), static_cast<size_t>(size)};
}

// Edits and saving ----------------------------------------------------------------------------

void CRomImage::writeClocks(int engine, int memory) {
    if (!clockRecordLocated()) {
        return;
    }
    data[engineFeedbackOffset] = static_cast<uint8_t>(engine & 0xFF);
    data[memoryFeedbackOffset] = static_cast<uint8_t>(memory & 0xFF);
}

void CRomImage::setTvStandard(int index) {
    // Without a TV table byte 7 of the image would be the one overwritten: code, not a setting.
    if (tvOffset == 0) {
        return;
    }
    data[tvOffset + 7u] = static_cast<uint8_t>(index);
    tvStandard = index;
}

void CRomImage::setSubsystemIds(uint16_t newVendor, uint16_t newSubsystem) {
    const uint16_t oldVendor = subsystemVendorId;
    const uint16_t oldSubsystem = subsystemId;
    if (oldVendor == 0) {
        return;
    }
    // Every copy is recognised in the bytes as they were before this call wrote anything, so a
    // new vendor ID equal to the old subsystem ID cannot be mistaken for a subsystem copy, and a
    // zero old ID (which would match every blank word) matches nothing.
    enum class Copy : uint8_t { None, Vendor, Subsystem };
    std::array<Copy, kSubsystemCopiesLast + 1 - kSubsystemCopiesFirst> copies{};
    for (int at = kSubsystemCopiesFirst; at <= kSubsystemCopiesLast; ++at) {
        const uint16_t was = word(at);
        Copy& copy = copies[at - kSubsystemCopiesFirst];
        if (was == oldVendor) {
            copy = Copy::Vendor;
        } else if (oldSubsystem != 0 && was == oldSubsystem) {
            copy = Copy::Subsystem;
        }
    }

    setWord(headerOffset + 0x1Cu, newVendor);
    setWord(headerOffset + 0x1Eu, newSubsystem);
    for (int at = kSubsystemCopiesFirst; at <= kSubsystemCopiesLast; ++at) {
        const Copy copy = copies[at - kSubsystemCopiesFirst];
        if (copy == Copy::Vendor) {
            setWord(at, newVendor);
        } else if (copy == Copy::Subsystem) {
            setWord(at, newSubsystem);
        }
    }
    subsystemVendorId = word(headerOffset + 0x1Cu);
    subsystemId = word(headerOffset + 0x1Eu);
}

void CRomImage::fixChecksum() {
    const int n = validLength();
    if (n == 0) {
        return;
    }
    data[n - 1] = 0;
    data[n - 1] = static_cast<uint8_t>(256 - byteSum());
}

void CRomImage::saveFile(const std::string& path, WriteTo to) {
    fixChecksum();
    writeFileAtomically(path, {std::span<const uint8_t>(data.data(), validLength())}, to);
}

const char* saveRefusal(RomStatus status, int32_t length) {
    if (status >= kRomTooSmall && status <= kRomNotAti) {
        return "no Radeon 7000 to 9800 BIOS was recognised in it, so there is nothing to repair, "
               "and saving it would cut or rewrite a file that is something else";
    }
    // Validation passes no image this short; a hand-made one must not empty a file either.
    if (length <= 0) {
        return "it holds no byte, and saving it would empty the file";
    }
    return nullptr;
}

}  // namespace vorlane
