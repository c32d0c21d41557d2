#include "cli/CommandTable.h"

#include <array>

#include "cli/CardsCommand.h"
#include "cli/CheckCommand.h"
#include "cli/DiffCommand.h"
#include "cli/EditCommand.h"
#include "cli/FixChecksumCommand.h"
#include "cli/FontExportCommand.h"
#include "cli/InfoCommand.h"
#include "cli/PadCommand.h"
#include "cli/ReadCardCommand.h"

namespace vorlane::cli {

std::span<const CommandRow> commandTable() {
    static constexpr std::array kCommands = {
        commandRow<InfoOptions, runInfo>("info"),
        commandRow<EditOptions, runEdit>("edit"),
        commandRow<FontExportOptions, runFontExport>("font-export"),
        commandRow<FixChecksumOptions, runFixChecksum>("fix-checksum"),
        commandRow<DiffOptions, runDiff>("diff"),
        commandRow<CheckOptions, runCheck>("check"),
        commandRow<CardsOptions, runCards>("cards"),
        commandRow<ReadCardOptions, runReadCard>("read-card"),
        commandRow<PadOptions, runPad>("pad"),
    };
    return kCommands;
}

}  // namespace vorlane::cli
