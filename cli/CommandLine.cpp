#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <string_view>

#include "cli/Values.h"

namespace vorlane::cli {

namespace {

constexpr std::array<std::string_view, 4> kCommands = {"info", "edit", "font-export",
                                                       "fix-checksum"};

// A value option whose text is checked by our own parsers: CLI11's converters accept forms
// (signs, exponents, "inf") that the contract does not.
CLI::Option* addValue(CLI::App* app, const std::string& name, std::string& into,
                      const std::string& typeName, const std::string& help) {
    return app->add_option(name, into, help)
        ->type_name(typeName)
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

bool given(const CLI::Option* option) {
    return option->count() > 0;
}

// CLI11 words some of its errors in its own terms; these read better for this program.
// `command` is the command being parsed when the error came, or empty.
std::string usageMessage(const CLI::ParseError& error, const std::string& command) {
    std::string message = error.what();
    for (char& c : message) {
        if (c == '\n') {
            c = ' ';
        }
    }
    const auto colon = message.find(": ");
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        if (message.find("subcommand") != std::string::npos) {
            return "a command is required: info, edit, font-export or fix-checksum";
        }
        return command.empty() ? message : command + ": " + message;
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr && colon != std::string::npos) {
        return "unknown option or extra argument: " + message.substr(colon + 2);
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr &&
        colon != std::string::npos) {
        const std::string option = message.substr(0, colon);
        if (message.find("At Most") != std::string::npos) {
            return option + ": given more than once";
        }
        if (message.find("missing") != std::string::npos) {
            return option + ": its value is missing";
        }
    }
    return message;
}

// Standard input can be read once, and cannot be saved over.
void checkStandardInput(const Invocation& inv, const std::string& command) {
    if (std::count(inv.files.begin(), inv.files.end(), "-") > 1) {
        throw UsageError(command + ": standard input (-) can be read only once");
    }
    if (inv.inPlace && inv.files.front() == "-") {
        throw UsageError(command + ": --in-place cannot write back to standard input (-)");
    }
}

void requireOneOutput(const CLI::Option* out, const CLI::Option* inPlace,
                      const std::string& command) {
    if (given(out) && given(inPlace)) {
        throw UsageError(command + ": -o and --in-place cannot be used together");
    }
    if (!given(out) && !given(inPlace)) {
        throw UsageError(command + ": needs either -o OUT or --in-place");
    }
}

}  // namespace

const char* versionLine() {
    return "vorlane-cli " VORLANE_CLI_VERSION;
}

Invocation parseCommandLine(int argc, const char* const* argv) {
    // A first word that is no option and no command is almost always a typo of a command;
    // saying so beats CLI11's "argument was not expected".
    if (argc >= 2 && argv[1][0] != '-') {
        const std::string_view word = argv[1];
        bool known = false;
        for (const auto command : kCommands) {
            known = known || word == command;
        }
        if (!known) {
            throw UsageError("unknown command '" + std::string(word) + "'");
        }
    } else if (argc >= 2) {
        // Before a command only --help and --version exist; CLI11 would first complain that
        // the command is missing.
        const std::string_view option = argv[1];
        if (option != "-h" && option != "--help" && option != "--version") {
            throw UsageError("unknown option '" + std::string(option) + "'");
        }
    }

    Invocation inv;
    CLI::App app{"", "vorlane-cli"};
    // The help flag is set before the commands exist so that each of them inherits it.
    app.set_help_flag("-h,--help");
    app.set_version_flag("--version", std::string(versionLine()));
    app.require_subcommand(1);

    CLI::App* info = app.add_subcommand("info");
    info->add_flag("--json", inv.json);
    info->add_flag("--skip-checksum", inv.skipChecksum);
    info->add_option("FILE", inv.files)->required();

    std::string file;
    CLI::App* edit = app.add_subcommand("edit");
    edit->add_option("FILE", file)->required();
    CLI::Option* editOut = addValue(edit, "-o", inv.output, "OUT", "");
    CLI::Option* editInPlace = edit->add_flag("--in-place", inv.inPlace);
    edit->add_flag("--skip-checksum", inv.skipChecksum);
    std::string engineFeedback, memoryFeedback, engineMHz, memoryMHz, tv, subsystemVendor,
        subsystem, fontFile, builtinFont;
    CLI::Option* engineFeedbackOpt = addValue(edit, "--engine-feedback", engineFeedback, "N", "");
    CLI::Option* memoryFeedbackOpt = addValue(edit, "--memory-feedback", memoryFeedback, "N", "");
    CLI::Option* engineMHzOpt = addValue(edit, "--engine-mhz", engineMHz, "F", "");
    CLI::Option* memoryMHzOpt = addValue(edit, "--memory-mhz", memoryMHz, "F", "");
    CLI::Option* tvOpt = addValue(edit, "--tv", tv, "ntsc|pal", "");
    CLI::Option* vendorOpt = addValue(edit, "--subsystem-vendor", subsystemVendor, "HEX", "");
    CLI::Option* subsystemOpt = addValue(edit, "--subsystem", subsystem, "HEX", "");
    CLI::Option* fontFileOpt = addValue(edit, "--font-file", fontFile, "F.fnt", "");
    CLI::Option* builtinOpt =
        addValue(edit, "--builtin-font", builtinFont, "standard|cyrillic", "");

    CLI::App* fontExport = app.add_subcommand("font-export");
    fontExport->add_option("FILE", file)->required();
    fontExport->add_option("OUT.fnt", inv.output)->required();
    fontExport->add_flag("--skip-checksum", inv.skipChecksum);

    CLI::App* fixChecksum = app.add_subcommand("fix-checksum");
    fixChecksum->add_option("FILE", file)->required();
    CLI::Option* fixOut = addValue(fixChecksum, "-o", inv.output, "OUT", "");
    CLI::Option* fixInPlace = fixChecksum->add_flag("--in-place", inv.inPlace);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        inv.command = Command::Help;
        return inv;
    } catch (const CLI::CallForAllHelp&) {
        inv.command = Command::Help;
        return inv;
    } catch (const CLI::CallForVersion&) {
        inv.command = Command::Version;
        return inv;
    } catch (const CLI::ParseError& error) {
        std::string command;
        for (const CLI::App* sub : {info, edit, fontExport, fixChecksum}) {
            if (sub->parsed()) {
                command = sub->get_name();
            }
        }
        throw UsageError(usageMessage(error, command));
    }

    if (info->parsed()) {
        inv.command = Command::Info;
        checkStandardInput(inv, "info");
        return inv;
    }
    inv.files = {file};
    if (fontExport->parsed()) {
        inv.command = Command::FontExport;
        return inv;
    }
    if (fixChecksum->parsed()) {
        inv.command = Command::FixChecksum;
        requireOneOutput(fixOut, fixInPlace, "fix-checksum");
        checkStandardInput(inv, "fix-checksum");
        return inv;
    }

    inv.command = Command::Edit;
    requireOneOutput(editOut, editInPlace, "edit");
    checkStandardInput(inv, "edit");
    if (given(engineFeedbackOpt) && given(engineMHzOpt)) {
        throw UsageError("edit: --engine-feedback and --engine-mhz cannot be used together");
    }
    if (given(memoryFeedbackOpt) && given(memoryMHzOpt)) {
        throw UsageError("edit: --memory-feedback and --memory-mhz cannot be used together");
    }
    if (given(fontFileOpt) && given(builtinOpt)) {
        throw UsageError("edit: --font-file and --builtin-font cannot be used together");
    }

    EditRequest& e = inv.edits;
    if (given(engineFeedbackOpt)) {
        e.engineFeedback = parseFeedbackByte("--engine-feedback", engineFeedback);
    }
    if (given(memoryFeedbackOpt)) {
        e.memoryFeedback = parseFeedbackByte("--memory-feedback", memoryFeedback);
    }
    if (given(engineMHzOpt)) {
        e.engineMHz = parseMegahertz("--engine-mhz", engineMHz);
    }
    if (given(memoryMHzOpt)) {
        e.memoryMHz = parseMegahertz("--memory-mhz", memoryMHz);
    }
    if (given(tvOpt)) {
        if (tv == "ntsc") {
            e.tvStandard = 1;
        } else if (tv == "pal") {
            e.tvStandard = 2;
        } else {
            throw UsageError("--tv: '" + tv + "' is not ntsc or pal");
        }
    }
    if (given(vendorOpt)) {
        e.subsystemVendorId = parseHexId("--subsystem-vendor", subsystemVendor);
    }
    if (given(subsystemOpt)) {
        e.subsystemId = parseHexId("--subsystem", subsystem);
    }
    if (given(fontFileOpt)) {
        e.fontFile = fontFile;
    }
    if (given(builtinOpt)) {
        if (builtinFont == "standard") {
            e.builtinCyrillic = false;
        } else if (builtinFont == "cyrillic") {
            e.builtinCyrillic = true;
        } else {
            throw UsageError("--builtin-font: '" + builtinFont + "' is not standard or cyrillic");
        }
    }
    return inv;
}

}  // namespace vorlane::cli
