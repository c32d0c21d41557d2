// What the commands' options share: the interface CommandLine.cpp drives, and the option kinds
// that several commands take.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/Values.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vorlane::cli {

// One command's options. `declare` adds them to the command's CLI11 subcommand, with somewhere
// to keep what is given; once the whole line has been parsed, `read` checks them and converts
// them into the fields the command runs with. A command's options know nothing of another's.
class CommandOptions {
  public:
    virtual ~CommandOptions() = default;
    virtual void declare(CLI::App& sub) = 0;
    // Throws UsageError for what CLI11 cannot see: conflicts and malformed values.
    virtual void read() = 0;
};

// A value option whose text is checked by our own parsers: CLI11's converters accept forms
// (signs, exponents, "inf") that the contract does not. Given twice, it is a usage error.
CLI::Option* addValue(CLI::App& app, const std::string& name, std::string& into,
                      const std::string& typeName);
bool isGiven(const CLI::Option* option);

// A value option's text as given, checked only in read().
struct OptionText {
    std::string name;
    std::string text;
    CLI::Option* option = nullptr;

    void declare(CLI::App& sub, const char* optionName, const char* typeName);
    bool given() const { return isGiven(option); }
    template <typename T>
    T oneOf(std::initializer_list<std::pair<std::string_view, T>> words,
            const char* wordList) const {
        for (const auto& [word, value] : words) {
            if (text == word) {
                return value;
            }
        }
        throw UsageError(name + ": '" + text + "' is not " + wordList);
    }
};

// --codepage 437|866
int readCodePage(const OptionText& option);

// -o OUT or --in-place, exactly one of them.
class OutputOptions {
  public:
    std::string output;
    bool inPlace = false;

    void declare(CLI::App& sub);
    void read(const std::string& command) const;

  private:
    CLI::Option* out_ = nullptr;
    CLI::Option* inPlace_ = nullptr;
};

// Standard input can be read once, and cannot be saved over.
void checkStandardInput(const std::string& command, const std::vector<std::string>& files,
                        bool inPlace);

}  // namespace vorlane::cli
