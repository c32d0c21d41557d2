#include "cli/CardCommandLine.h"

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "card/Cards.h"
#include "cli/Values.h"

namespace vorlane::cli {

namespace {

// cards [--json] [--sysfs DIR]
class CardsOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        sub.add_flag("--json", json_);
        addValue(sub, "--sysfs", sysfsRoot_, "DIR");
    }
    void read(Invocation& inv) const override {
        inv.json = json_;
        inv.sysfsRoot = sysfsRoot_;
    }

  private:
    bool json_ = false;
    std::string sysfsRoot_ = "/sys";
};

// read-card [ADDRESS] -o OUT [--json] [--shadow] [--sysfs DIR]
class ReadCardOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        address_ = sub.add_option("ADDRESS", addressText_);
        addValue(sub, "-o", output_, "OUT")->required();
        sub.add_flag("--json", json_);
        sub.add_flag("--shadow", shadow_);
        addValue(sub, "--sysfs", sysfsRoot_, "DIR");
    }
    void read(Invocation& inv) const override {
        inv.output = output_;
        inv.json = json_;
        inv.shadow = shadow_;
        inv.sysfsRoot = sysfsRoot_;
        if (isGiven(address_)) {
            const auto address = card::normalizeAddress(addressText_);
            if (!address) {
                throw UsageError("read-card: '" + addressText_ +
                                 "' is not a PCI address such as 0000:01:00.0");
            }
            inv.address = *address;
        }
    }

  private:
    std::string addressText_;
    std::string output_;
    bool json_ = false;
    bool shadow_ = false;
    std::string sysfsRoot_ = "/sys";
    CLI::Option* address_ = nullptr;
};

// check [--json] [--chip-size SIZE] [--device HEX] FILE...
class CheckOptions : public CommandOptions {
  public:
    void declare(CLI::App& sub) override {
        sub.add_flag("--json", json_);
        chipSize_ = addValue(sub, "--chip-size", chipSizeText_, "SIZE");
        device_ = addValue(sub, "--device", deviceText_, "HEX");
        sub.add_option("FILE", files_)->required();
    }
    void read(Invocation& inv) const override {
        inv.json = json_;
        inv.files = files_;
        if (isGiven(chipSize_)) {
            inv.chipSize = parseChipSize("--chip-size", chipSizeText_);
        }
        if (isGiven(device_)) {
            inv.deviceId = parseHexId("--device", deviceText_);
        }
    }

  private:
    bool json_ = false;
    std::string chipSizeText_;
    std::string deviceText_;
    std::vector<std::string> files_;
    CLI::Option* chipSize_ = nullptr;
    CLI::Option* device_ = nullptr;
};

}  // namespace

std::unique_ptr<CommandOptions> makeCardsOptions() {
    return std::make_unique<CardsOptions>();
}
std::unique_ptr<CommandOptions> makeReadCardOptions() {
    return std::make_unique<ReadCardOptions>();
}
std::unique_ptr<CommandOptions> makeCheckOptions() {
    return std::make_unique<CheckOptions>();
}

}  // namespace vorlane::cli
