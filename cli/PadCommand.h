// `pad`: an image file followed by erased bytes up to a flash chip's size, for programmers that
// need an image of the chip's exact size.
#pragma once

#include <memory>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

std::unique_ptr<CommandOptions> makePadOptions();

// Exit 0 when OUT was written, 1 when refused. Throws FileError.
int runPad(const Invocation& inv);

}  // namespace vorlane::cli
