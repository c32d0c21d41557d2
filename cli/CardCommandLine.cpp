#include "cli/CardCommandLine.h"

#include "card/Cards.h"
#include "cli/Values.h"

namespace vorlane::cli {

void addCardCommands(CLI::App& app, Invocation& inv, CardCommandLine& line) {
    const auto value = [](CLI::App* command, const std::string& name, std::string& into,
                          const std::string& typeName) {
        return command->add_option(name, into)
            ->type_name(typeName)
            ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    };

    line.cards = app.add_subcommand("cards");
    line.cards->add_flag("--json", inv.json);
    value(line.cards, "--sysfs", inv.sysfsRoot, "DIR");

    line.readCard = app.add_subcommand("read-card");
    line.addressOpt = line.readCard->add_option("ADDRESS", line.address);
    value(line.readCard, "-o", inv.output, "OUT")->required();
    line.readCard->add_flag("--json", inv.json);
    value(line.readCard, "--sysfs", inv.sysfsRoot, "DIR");

    line.check = app.add_subcommand("check");
    line.check->add_flag("--json", inv.json);
    line.chipSizeOpt = value(line.check, "--chip-size", line.chipSize, "SIZE");
    line.deviceOpt = value(line.check, "--device", line.device, "HEX");
    line.check->add_option("FILE", inv.files)->required();
}

bool finishCardCommands(const CardCommandLine& line, Invocation& inv) {
    if (line.cards->parsed()) {
        inv.command = Command::Cards;
        return true;
    }
    if (line.readCard->parsed()) {
        inv.command = Command::ReadCard;
        if (line.addressOpt->count() > 0) {
            const auto address = card::normalizeAddress(line.address);
            if (!address) {
                throw UsageError("read-card: '" + line.address +
                                 "' is not a PCI address such as 0000:01:00.0");
            }
            inv.address = *address;
        }
        return true;
    }
    if (line.check->parsed()) {
        inv.command = Command::Check;
        if (line.chipSizeOpt->count() > 0) {
            inv.chipSize = parseChipSize("--chip-size", line.chipSize);
        }
        if (line.deviceOpt->count() > 0) {
            inv.deviceId = parseHexId("--device", line.device);
        }
        int stdinFiles = 0;
        for (const std::string& file : inv.files) {
            stdinFiles += file == "-" ? 1 : 0;
        }
        if (stdinFiles > 1) {
            throw UsageError("check: standard input (-) can be read only once");
        }
        return true;
    }
    return false;
}

}  // namespace vorlane::cli
