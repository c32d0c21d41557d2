#include "cli/CommandOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "image/FileIo.h"

namespace vorlane::cli {

CLI::Option* addValue(CLI::App& app, const std::string& name, std::string& into,
                      const std::string& typeName) {
    return app.add_option(name, into, "")
        ->type_name(typeName)
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

bool isGiven(const CLI::Option* option) {
    return option != nullptr && option->count() > 0;
}

void OptionText::declare(CLI::App& sub, const char* optionName, const char* typeName) {
    name = optionName;
    option = addValue(sub, name, text, typeName);
}

int readCodePage(const OptionText& option) {
    return option.oneOf<int>({{"437", 437}, {"866", 866}}, "437 or 866");
}

void OutputOptions::declare(CLI::App& sub) {
    out_ = addValue(sub, "-o", output, "OUT");
    inPlace_ = sub.add_flag("--in-place", inPlace);
}

void OutputOptions::read(const std::string& command) const {
    if (isGiven(out_) && isGiven(inPlace_)) {
        throw UsageError(command + ": -o and --in-place cannot be used together");
    }
    if (!isGiven(out_) && !isGiven(inPlace_)) {
        throw UsageError(command + ": needs either -o OUT or --in-place");
    }
}

void checkStandardInput(const std::string& command, const std::vector<std::string>& files,
                        bool inPlace) {
    if (std::count(files.begin(), files.end(), kStandardStream) > 1) {
        throw UsageError(command + ": standard input (-) can be read only once");
    }
    if (inPlace && !files.empty() && files.front() == kStandardStream) {
        throw UsageError(command + ": --in-place cannot write back to standard input (-)");
    }
}

}  // namespace vorlane::cli
