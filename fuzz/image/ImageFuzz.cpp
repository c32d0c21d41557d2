// Any bytes, of any length, through the whole life of an image: load, validate, every edit with
// arbitrary arguments, and the checksum. Nothing may read or write outside the buffer, and the
// edits may change no byte but the ones they own.
#include <fuzzer/FuzzedDataProvider.h>

#include <bitset>
#include <cstdlib>

#include "image/RomImage.h"

using vorlane::CRomImage;

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

using Owned = std::bitset<CRomImage::kBufferSize>;

void addRange(Owned& owned, uint32_t first, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        owned.set((first + i) & 0xFFFF);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static CRomImage image;
    FuzzedDataProvider input(bytes, size);
    // The arguments of the edits come from the end of the input, the image from the rest.
    const bool skipChecksum = input.ConsumeBool();
    const int engine = input.ConsumeIntegral<int>();
    const int memory = input.ConsumeIntegral<int>();
    const int tv = input.ConsumeIntegral<int>();
    const auto vendor = input.ConsumeIntegral<uint16_t>();
    const auto subsystem = input.ConsumeIntegral<uint16_t>();
    const int fontChoice = input.ConsumeIntegralInRange(0, 2);
    const auto rest = input.ConsumeRemainingBytes<uint8_t>();

    image.skipChecksum = skipChecksum;
    image.reset();
    image.loadBytes(rest);
    const vorlane::RomStatus status = image.validate();
    check(status >= 0 && status <= 7);
    check(image.length >= 0 && image.length <= CRomImage::kBufferSize);
    (void)CRomImage::statusMessage(status);
    (void)image.headText();
    (void)image.isCyrillicSet();

    static std::array<uint8_t, CRomImage::kBufferSize> before;
    before = image.data;
    static Owned owned;
    owned.reset();
    if (image.clockRecordLocated()) {
        owned.set(image.engineFeedbackOffset);
        owned.set(image.memoryFeedbackOffset);
    }
    if (image.tvOffset != 0) {
        owned.set(image.tvOffset + 7u);
    }
    if (image.subsystemVendorId != 0) {
        addRange(owned, image.headerOffset + 0x1Cu, 4);
        addRange(owned, 0x70, 11);
    }
    if (fontChoice != 0 && image.fontsLocated()) {
        addRange(owned, image.font8x8Offset, CRomImage::kFont8x8Size);
        addRange(owned, image.font8x16Offset, CRomImage::kFont8x16Size);
    }
    if (image.length > 0) {
        owned.set(static_cast<uint32_t>(image.length - 1));
    }

    image.writeClocks(engine, memory);
    image.setTvStandard(tv);
    image.setSubsystemIds(vendor, subsystem);
    if (fontChoice != 0) {
        image.applyBuiltinSet(fontChoice == 2);
    }
    image.fixChecksum();

    check(image.length == 0 || image.byteSum() == 0);
    for (uint32_t i = 0; i < CRomImage::kBufferSize; ++i) {
        check(image.data[i] == before[i] || owned.test(i));
    }
    return 0;
}
