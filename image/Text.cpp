#include "image/Text.h"

namespace vorlane {

void appendLatin1AsUtf8(std::string& out, unsigned char byte) {
    if (byte < 0x80) {
        out += static_cast<char>(byte);
    } else {
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        appendLatin1AsUtf8(out, static_cast<unsigned char>(c));
    }
    return out;
}

}  // namespace vorlane
