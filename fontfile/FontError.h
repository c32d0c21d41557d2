// A font file that was read but cannot be used: the message says what is wrong with it, in a few
// words fit to follow the file's name ("glyphs are 9 pixels wide, need 8").
#pragma once

#include <stdexcept>

namespace vorlane::fontfile {

class FontError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace vorlane::fontfile
