// How cards, read-card and check read their options; their rows are in commandTable().
#pragma once

#include <memory>

#include "cli/CommandOptions.h"

namespace vorlane::cli {

std::unique_ptr<CommandOptions> makeCardsOptions();
std::unique_ptr<CommandOptions> makeReadCardOptions();
std::unique_ptr<CommandOptions> makeCheckOptions();

}  // namespace vorlane::cli
