// The image's texts are single-byte; both programs show them as UTF-8, each byte taken as the
// Latin-1 character of the same value.
#pragma once

#include <string>
#include <string_view>

namespace vorlane {

void appendLatin1AsUtf8(std::string& out, unsigned char byte);
std::string latin1ToUtf8(std::string_view bytes);

}  // namespace vorlane
