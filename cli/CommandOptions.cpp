#include "cli/CommandOptions.h"

#include <CLI/CLI.hpp>
#include <initializer_list>
#include <string>
#include <utility>

#include "cli/CardCommandLine.h"
#include "cli/PadCommand.h"
#include "cli/Values.h"

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

void OutputOptions::declare(CLI::App& sub) {
    out_ = addValue(sub, "-o", output_, "OUT");
    inPlace_ = sub.add_flag("--in-place", inPlaceFlag_);
}

void OutputOptions::read(Invocation& inv, const std::string& command) const {
    if (isGiven(out_) && isGiven(inPlace_)) {
        throw UsageError(command + ": -o and --in-place cannot be used together");
    }
    if (!isGiven(out_) && !isGiven(inPlace_)) {
        throw UsageError(command + ": needs either -o OUT or --in-place");
    }
    inv.output = output_;
    inv.inPlace = inPlaceFlag_;
}

namespace {

// A value option's text as given, checked only in read().
struct Text {
    std::string name;
    std::string text;
    CLI::Option* option = nullptr;

    void declare(CLI::App& sub, const char* optionName, const char* typeName) {
        name = optionName;
        option = addValue(sub, name, text, typeName);
    }
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

int readCodePage(const Text& option) {
    return option.oneOf<int>({{"437", 437}, {"866", 866}}, "437 or 866");
}

// info [--json] [--skip-checksum] FILE...
class InfoOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        sub.add_flag("--json", json_);
        sub.add_flag("--skip-checksum", skipChecksum_);
        sub.add_option("FILE", files_)->required();
    }
    void read(Invocation& inv) const override {
        inv.files = files_;
        inv.json = json_;
        inv.skipChecksum = skipChecksum_;
    }

  private:
    std::vector<std::string> files_;
    bool json_ = false;
    bool skipChecksum_ = false;
};

// edit FILE (-o OUT | --in-place) [--skip-checksum] [EDIT...]
class EditOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        sub.add_option("FILE", file_)->required();
        outputs_.declare(sub);
        sub.add_flag("--skip-checksum", skipChecksum_);
        engineFeedback_.declare(sub, "--engine-feedback", "N");
        memoryFeedback_.declare(sub, "--memory-feedback", "N");
        engineMHz_.declare(sub, "--engine-mhz", "F");
        memoryMHz_.declare(sub, "--memory-mhz", "F");
        tv_.declare(sub, "--tv", "ntsc|pal");
        subsystemVendor_.declare(sub, "--subsystem-vendor", "HEX");
        subsystem_.declare(sub, "--subsystem", "HEX");
        fontFile_.declare(sub, "--font-file", "F.fnt");
        builtinFont_.declare(sub, "--builtin-font", "standard|cyrillic");
        font8x16_.declare(sub, "--font-8x16", "F");
        font8x8_.declare(sub, "--font-8x8", "F");
        codePage_.declare(sub, "--codepage", "437|866");
    }

    void read(Invocation& inv) const override {
        inv.files = {file_};
        inv.skipChecksum = skipChecksum_;
        outputs_.read(inv, "edit");
        refuseTogether(engineFeedback_, engineMHz_);
        refuseTogether(memoryFeedback_, memoryMHz_);
        refuseTogether(fontFile_, builtinFont_);
        for (const Text* single : {&font8x16_, &font8x8_}) {
            refuseTogether(*single, fontFile_);
            refuseTogether(*single, builtinFont_);
        }
        if (codePage_.given() && !font8x16_.given() && !font8x8_.given()) {
            throw UsageError("edit: --codepage needs --font-8x16 or --font-8x8");
        }

        EditRequest& e = inv.edits;
        if (engineFeedback_.given()) {
            e.engineFeedback = parseFeedbackByte(engineFeedback_.name, engineFeedback_.text);
        }
        if (memoryFeedback_.given()) {
            e.memoryFeedback = parseFeedbackByte(memoryFeedback_.name, memoryFeedback_.text);
        }
        if (engineMHz_.given()) {
            e.engineMHz = parseMegahertz(engineMHz_.name, engineMHz_.text);
        }
        if (memoryMHz_.given()) {
            e.memoryMHz = parseMegahertz(memoryMHz_.name, memoryMHz_.text);
        }
        if (tv_.given()) {
            e.tvStandard = tv_.oneOf<int>({{"ntsc", 1}, {"pal", 2}}, "ntsc or pal");
        }
        if (subsystemVendor_.given()) {
            e.subsystemVendorId = parseHexId(subsystemVendor_.name, subsystemVendor_.text);
        }
        if (subsystem_.given()) {
            e.subsystemId = parseHexId(subsystem_.name, subsystem_.text);
        }
        if (fontFile_.given()) {
            e.fontFile = fontFile_.text;
        }
        if (builtinFont_.given()) {
            e.builtinCyrillic = builtinFont_.oneOf<bool>({{"standard", false}, {"cyrillic", true}},
                                                         "standard or cyrillic");
        }
        if (font8x16_.given()) {
            e.font8x16 = font8x16_.text;
        }
        if (font8x8_.given()) {
            e.font8x8 = font8x8_.text;
        }
        if (codePage_.given()) {
            e.codePage = readCodePage(codePage_);
        }
    }

  private:
    static void refuseTogether(const Text& a, const Text& b) {
        if (a.given() && b.given()) {
            throw UsageError("edit: " + a.name + " and " + b.name + " cannot be used together");
        }
    }

    std::string file_;
    OutputOptions outputs_;
    bool skipChecksum_ = false;
    Text engineFeedback_, memoryFeedback_, engineMHz_, memoryMHz_, tv_, subsystemVendor_,
        subsystem_, fontFile_, builtinFont_, font8x16_, font8x8_, codePage_;
};

// font-export FILE OUT [--format fnt|psf|png] [--size 8x16|8x8] [--codepage 437|866] [--scale N]
//             [--skip-checksum]
class FontExportOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        sub.add_option("FILE", file_)->required();
        sub.add_option("OUT", output_)->required();
        sub.add_flag("--skip-checksum", skipChecksum_);
        format_.declare(sub, "--format", "fnt|psf|png");
        size_.declare(sub, "--size", "8x16|8x8");
        codePage_.declare(sub, "--codepage", "437|866");
        scale_.declare(sub, "--scale", "N");
    }
    void read(Invocation& inv) const override {
        inv.files = {file_};
        inv.output = output_;
        inv.skipChecksum = skipChecksum_;
        FontExportRequest& r = inv.fontExport;
        r.format = format_.given() ? format_.oneOf<FontFormat>({{"fnt", FontFormat::Fnt},
                                                                {"psf", FontFormat::Psf},
                                                                {"png", FontFormat::Png}},
                                                               "fnt, psf or png")
                                   : formatOfName(output_);
        const char* format = r.format == FontFormat::Fnt   ? "fnt"
                             : r.format == FontFormat::Psf ? "psf"
                                                           : "png";
        const auto refuseWith = [&](const Text& option) {
            if (option.given()) {
                throw UsageError("font-export: " + option.name + " does not apply to the " +
                                 format + " format");
            }
        };
        if (r.format == FontFormat::Fnt) {
            refuseWith(size_);
        }
        if (r.format != FontFormat::Psf) {
            refuseWith(codePage_);
        }
        if (r.format != FontFormat::Png) {
            refuseWith(scale_);
        }
        if (size_.given()) {
            r.height = size_.oneOf<int>({{"8x16", 16}, {"8x8", 8}}, "8x16 or 8x8");
        }
        if (codePage_.given()) {
            r.codePage = readCodePage(codePage_);
        }
        if (scale_.given()) {
            r.scale = parseDecimal(scale_.name, scale_.text, 1, 8);
        }
    }

  private:
    // Without --format: .psf and .psfu are PC Screen Fonts, .png a picture, anything else the
    // 6144-byte font file. The case of the extension does not matter.
    static FontFormat formatOfName(const std::string& name) {
        std::string lower;
        for (const char c : name) {
            lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        if (lower.ends_with(".psf") || lower.ends_with(".psfu")) {
            return FontFormat::Psf;
        }
        return lower.ends_with(".png") ? FontFormat::Png : FontFormat::Fnt;
    }

    std::string file_;
    std::string output_;
    bool skipChecksum_ = false;
    Text format_, size_, codePage_, scale_;
};

// fix-checksum FILE (-o OUT | --in-place)
class FixChecksumOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        sub.add_option("FILE", file_)->required();
        outputs_.declare(sub);
    }
    void read(Invocation& inv) const override {
        inv.files = {file_};
        outputs_.read(inv, "fix-checksum");
    }

  private:
    std::string file_;
    OutputOptions outputs_;
};

// diff [--json] [--skip-checksum] A B
class DiffOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        sub.add_flag("--json", json_);
        sub.add_flag("--skip-checksum", skipChecksum_);
        sub.add_option("A", fileA_)->required();
        sub.add_option("B", fileB_)->required();
    }
    void read(Invocation& inv) const override {
        inv.files = {fileA_, fileB_};
        inv.json = json_;
        inv.skipChecksum = skipChecksum_;
    }

  private:
    std::string fileA_;
    std::string fileB_;
    bool json_ = false;
    bool skipChecksum_ = false;
};

}  // namespace

std::vector<CommandEntry> commandTable() {
    std::vector<CommandEntry> table;
    table.push_back({"info", Command::Info, std::make_unique<InfoOptions>()});
    table.push_back({"edit", Command::Edit, std::make_unique<EditOptions>()});
    table.push_back({"font-export", Command::FontExport, std::make_unique<FontExportOptions>()});
    table.push_back({"fix-checksum", Command::FixChecksum, std::make_unique<FixChecksumOptions>()});
    table.push_back({"diff", Command::Diff, std::make_unique<DiffOptions>()});
    table.push_back({"check", Command::Check, makeCheckOptions()});
    table.push_back({"cards", Command::Cards, makeCardsOptions()});
    table.push_back({"read-card", Command::ReadCard, makeReadCardOptions()});
    table.push_back({"pad", Command::Pad, makePadOptions()});
    return table;
}

}  // namespace vorlane::cli
