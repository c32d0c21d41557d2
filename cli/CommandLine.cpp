#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/Values.h"

namespace vorlane::cli {

namespace {

// "info, edit, font-export or fix-checksum"
std::string commandList(std::span<const CommandRow> commands) {
    std::string list;
    for (size_t i = 0; i < commands.size(); ++i) {
        if (i > 0) {
            list += i + 1 == commands.size() ? " or " : ", ";
        }
        list += commands[i].name;
    }
    return list;
}

// CLI11 catches neither of these as this program words them: a first word that is no option and
// no command is almost always a typo of a command, and before a command only --help and
// --version exist (CLI11 would first complain that the command is missing).
void checkFirstWord(int argc, const char* const* argv, std::span<const CommandRow> commands) {
    if (argc < 2) {
        return;
    }
    const std::string_view word = argv[1];
    if (!word.starts_with('-')) {
        for (const CommandRow& entry : commands) {
            if (word == entry.name) {
                return;
            }
        }
        throw UsageError("unknown command '" + std::string(word) + "'");
    }
    if (word != "-h" && word != "--help" && word != "--version") {
        throw UsageError("unknown option '" + std::string(word) + "'");
    }
}

// CLI11 words some of its errors in its own terms; these read better for this program.
// `command` is the command being parsed when the error came, or empty.
std::string usageMessage(const CLI::ParseError& error, const std::string& command,
                         std::span<const CommandRow> commands) {
    std::string message = error.what();
    for (char& c : message) {
        if (c == '\n') {
            c = ' ';
        }
    }
    const auto colon = message.find(": ");
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        if (message.find("subcommand") != std::string::npos) {
            return "a command is required: " + commandList(commands);
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

}  // namespace

const char* versionLine() {
    return "vorlane-cli " VORLANE_CLI_VERSION;
}

ParsedLine parseCommandLine(int argc, const char* const* argv) {
    const std::span<const CommandRow> commands = commandTable();
    checkFirstWord(argc, argv, commands);

    CLI::App app{"", "vorlane-cli"};
    // The help flag is set before the commands exist so that each of them inherits it.
    app.set_help_flag("-h,--help");
    app.set_version_flag("--version", std::string(versionLine()));
    app.require_subcommand(1);
    // Off on Windows too (CLI11 turns it on there): a path such as /tmp/x is an argument, never
    // an option.
    app.allow_windows_style_options(false);
    std::vector<CLI::App*> subs;
    std::vector<std::unique_ptr<CommandOptions>> options;
    for (const CommandRow& entry : commands) {
        subs.push_back(app.add_subcommand(std::string(entry.name)));
        options.push_back(entry.makeOptions());
        options.back()->declare(*subs.back());
    }

    ParsedLine line;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        line.action = ParsedLine::Action::Help;
        return line;
    } catch (const CLI::CallForAllHelp&) {
        line.action = ParsedLine::Action::Help;
        return line;
    } catch (const CLI::CallForVersion&) {
        line.action = ParsedLine::Action::Version;
        return line;
    } catch (const CLI::ParseError& error) {
        std::string command;
        for (const CLI::App* sub : subs) {
            if (sub->parsed()) {
                command = sub->get_name();
            }
        }
        throw UsageError(usageMessage(error, command, commands));
    }

    for (size_t i = 0; i < commands.size(); ++i) {
        if (subs[i]->parsed()) {
            options[i]->read();
            line.action = ParsedLine::Action::Run;
            line.command = &commands[i];
            line.options = std::move(options[i]);
        }
    }
    return line;
}

}  // namespace vorlane::cli
