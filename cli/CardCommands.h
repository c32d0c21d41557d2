// The commands between the card and the flash chip: cards, read-card and check.
#pragma once

#include "cli/CommandLine.h"

namespace vorlane::cli {

int runCards(const Invocation& inv);
int runReadCard(const Invocation& inv);
int runCheck(const Invocation& inv);

}  // namespace vorlane::cli
