#include "card/Cards.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "image/Descriptor.h"
#include "image/FileError.h"
#include "image/FileIo.h"

namespace vorlane::card {

namespace {

constexpr uint32_t kDisplayClass = 0x03;
// Attribute files hold one short line; anything longer is not what the kernel writes. The
// `resource` file holds one line of 57 characters for each of the device's resources.
constexpr size_t kAttributeMax = 64;
constexpr size_t kResourceMax = 4096;
constexpr uint64_t kStartupCopyAddress = 0xC0000;
constexpr uint64_t kShadowFlag = 0x2;  // IORESOURCE_ROM_SHADOW
constexpr int kRomResourceLine = 7;

// A DIR* closed on every path out of a scope, an exception included.
class DirectoryStream {
  public:
    explicit DirectoryStream(DIR* dir) : dir_(dir) {}
    ~DirectoryStream() {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    DirectoryStream(const DirectoryStream&) = delete;
    DirectoryStream& operator=(const DirectoryStream&) = delete;
    DIR* get() const { return dir_; }

  private:
    DIR* dir_;
};

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<uint32_t> hexDigits(std::string_view text, size_t count) {
    if (text.size() != count) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (const char c : text) {
        if (!isHex(c)) {
            return std::nullopt;
        }
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

std::optional<uint64_t> parseHex64(std::string_view text) {
    if (!text.starts_with("0x") || text.size() < 3 || text.size() > 18) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char c : text.substr(2)) {
        if (!isHex(c)) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint64_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return value;
}

// "0x" and exactly `digits` hexadecimal digits, with the line feed the kernel adds.
std::optional<uint32_t> parseHexLine(std::string_view text, size_t digits) {
    if (text.ends_with('\n')) {
        text.remove_suffix(1);
    }
    if (!text.starts_with("0x")) {
        return std::nullopt;
    }
    return hexDigits(text.substr(2), digits);
}

struct Attribute {
    std::optional<std::string> text;  // nullopt: there is no such file
    std::string problem;              // why the file could not be read, or ""
};

// One attribute file of the device folder `folder`. A link, a pipe or a device is never opened
// for what it might point at or block on: only a regular file is an attribute.
Attribute readAttribute(int folder, const char* name, size_t limit = kAttributeMax) {
    const int raw =
        ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (raw < 0) {
        if (errno == ENOENT) {
            return {};
        }
        return {std::nullopt,
                std::string("its ") + name + " file cannot be read: " + std::strerror(errno)};
    }
    const Descriptor fd(raw);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {std::nullopt, std::string("its ") + name + " file is not a regular file"};
    }
    std::string buffer(limit + 1, '\0');
    size_t done = 0;
    try {
        done = readFully(fd.get(), name, reinterpret_cast<uint8_t*>(buffer.data()), buffer.size());
    } catch (const FileError& error) {
        return {std::nullopt, std::string("its ") + name +
                                  " file cannot be read: " + std::strerror(error.code().value())};
    }
    buffer.resize(done);
    return {std::move(buffer), ""};
}

// Reads and parses one ID file; a missing or malformed one is a reason to skip the device.
bool readHex(int folder, const char* name, size_t digits, uint32_t& value, std::string& problem) {
    const Attribute attribute = readAttribute(folder, name);
    if (!attribute.problem.empty()) {
        problem = attribute.problem;
        return false;
    }
    if (!attribute.text) {
        problem = std::string("its ") + name + " file is missing";
        return false;
    }
    const auto parsed = parseHexLine(*attribute.text, digits);
    if (!parsed) {
        problem = std::string("its ") + name + " file does not hold a " + std::to_string(digits) +
                  "-digit hexadecimal number";
        return false;
    }
    value = *parsed;
    return true;
}

// The card of the folder `name`, nullopt when it is no ATI display card. A device that cannot
// be told apart gets `problem` set.
std::optional<DisplayCard> examine(int folder, const std::string& name, std::string& problem) {
    uint32_t vendor = 0, deviceClass = 0, device = 0, subVendor = 0, sub = 0;
    if (!readHex(folder, "vendor", 4, vendor, problem)) {
        return std::nullopt;
    }
    if (vendor != kAtiVendorId) {
        return std::nullopt;
    }
    if (!readHex(folder, "class", 6, deviceClass, problem)) {
        return std::nullopt;
    }
    if ((deviceClass >> 16) != kDisplayClass) {
        return std::nullopt;
    }
    if (!readHex(folder, "device", 4, device, problem) ||
        !readHex(folder, "subsystem_vendor", 4, subVendor, problem) ||
        !readHex(folder, "subsystem_device", 4, sub, problem)) {
        return std::nullopt;
    }
    DisplayCard card{name, static_cast<uint16_t>(vendor), static_cast<uint16_t>(device),
                     static_cast<uint16_t>(subVendor), static_cast<uint16_t>(sub)};
    const Attribute bootVga = readAttribute(folder, "boot_vga");
    if (!bootVga.problem.empty()) {
        problem = bootVga.problem;
        return std::nullopt;
    }
    if (bootVga.text) {
        if (*bootVga.text != "0\n" && *bootVga.text != "1\n" && *bootVga.text != "0" &&
            *bootVga.text != "1") {
            problem = "its boot_vga file holds neither 0 nor 1";
            return std::nullopt;
        }
        card.bootVga = (*bootVga.text)[0] == '1';
    }
    struct stat rom {};
    card.hasRom = ::fstatat(folder, "rom", &rom, AT_SYMLINK_NOFOLLOW) == 0 &&
                  (S_ISREG(rom.st_mode) || S_ISFIFO(rom.st_mode));
    // A resource file that is missing or cannot be read leaves the ROM taken as the card's own.
    const Attribute resource = readAttribute(folder, "resource", kResourceMax);
    if (resource.text) {
        card.startupCopyMark = startupCopyMarkOf(*resource.text);
    }
    card.romIsStartupCopy = card.startupCopyMark != StartupCopyMark::None;
    return card;
}

}  // namespace

std::string devicesFolder(const std::string& sysfsRoot) {
    std::string root = sysfsRoot;
    while (root.size() > 1 && root.ends_with('/')) {
        root.pop_back();
    }
    return (root == "/" ? "" : root) + "/bus/pci/devices";
}

bool resourceMarksStartupCopy(std::string_view resourceFile) {
    return startupCopyMarkOf(resourceFile) != StartupCopyMark::None;
}

StartupCopyMark startupCopyMarkOf(std::string_view resourceFile) {
    for (int line = 1; line < kRomResourceLine; ++line) {
        const size_t end = resourceFile.find('\n');
        if (end == std::string_view::npos) {
            return StartupCopyMark::None;
        }
        resourceFile.remove_prefix(end + 1);
    }
    resourceFile = resourceFile.substr(0, resourceFile.find('\n'));
    // START END FLAGS, single spaces between them.
    const size_t first = resourceFile.find(' ');
    const size_t last = resourceFile.rfind(' ');
    if (first == std::string_view::npos || first == last) {
        return StartupCopyMark::None;
    }
    const auto start = parseHex64(resourceFile.substr(0, first));
    const auto end = parseHex64(resourceFile.substr(first + 1, last - first - 1));
    const auto flags = parseHex64(resourceFile.substr(last + 1));
    if (!start || !end || !flags) {
        return StartupCopyMark::None;
    }
    return static_cast<StartupCopyMark>((*start == kStartupCopyAddress ? 1 : 0) |
                                        ((*flags & kShadowFlag) != 0 ? 2 : 0));
}

std::optional<std::string> normalizeAddress(std::string_view text) {
    std::string address(text);
    if (address.size() == 7) {
        address = "0000:" + address;
    }
    // DDDD:BB:DD.F
    if (address.size() != 12 || address[4] != ':' || address[7] != ':' || address[10] != '.') {
        return std::nullopt;
    }
    for (const size_t at : {0, 1, 2, 3, 5, 6, 8, 9, 11}) {
        if (!isHex(address[at])) {
            return std::nullopt;
        }
        address[at] = static_cast<char>(std::tolower(static_cast<unsigned char>(address[at])));
    }
    // Device numbers go up to 0x1f and functions up to 7.
    if (*hexDigits(address.substr(8, 2), 2) > 0x1F || address[11] > '7') {
        return std::nullopt;
    }
    return address;
}

CardListing listAtiCards(const std::string& sysfsRoot) {
    const std::string folder = devicesFolder(sysfsRoot);
    const DirectoryStream dir(::opendir(folder.c_str()));
    if (dir.get() == nullptr) {
        throwFileError(folder, "read", errno);
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
        errno = 0;
    }
    const int readError = errno;
    if (readError != 0) {
        throw FileError(folder, "read", std::error_code(readError, std::generic_category()));
    }

    CardListing listing;
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        const auto address = normalizeAddress(name);
        if (!address || *address != name) {
            listing.skipped.push_back({path, "not named as a PCI address"});
            continue;
        }
        // Each entry is the kernel's link to the device's own folder; that link is followed,
        // and no other.
        const Descriptor device(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (device.get() < 0) {
            listing.skipped.push_back({path, std::strerror(errno)});
            continue;
        }
        std::string problem;
        if (auto card = examine(device.get(), name, problem)) {
            listing.cards.push_back(std::move(*card));
        } else if (!problem.empty()) {
            listing.skipped.push_back({path, problem});
        }
    }
    // Fixed-width lower-case hexadecimal sorts as the numbers do.
    std::sort(listing.cards.begin(), listing.cards.end(),
              [](const DisplayCard& a, const DisplayCard& b) { return a.address < b.address; });
    std::sort(listing.skipped.begin(), listing.skipped.end(),
              [](const SkippedDevice& a, const SkippedDevice& b) { return a.path < b.path; });
    return listing;
}

}  // namespace vorlane::card
