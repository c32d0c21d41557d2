// Numbers are written alike under every locale, as the editor's toolkit adopts the user's.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale>
#include <sstream>

#include "image/Clock.h"
#include "image/Text.h"
#include "tests/support/RomBuilder.h"

namespace vorlane {
namespace {

struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

// A decimal comma for both the C++ global locale and, through a private locale compiled into a
// temporary folder, the C library: no system locale needs to be installed. Where the C library's
// cannot be made (no localedef), the C++ one still is. Both are put back afterwards.
class CommaLocale {
  public:
    CommaLocale() : cxx_(std::locale::global(std::locale(std::locale::classic(), new CommaPoint))) {
#ifdef _WIN32
        // Windows carries its locales with it; German writes a decimal comma.
        cLibrary_ = std::setlocale(LC_NUMERIC, "German_Germany.1252") != nullptr;
#else
        const std::string source = dir_.file("comma.src");
        test::writeBytes(source,
                         bytesOf("LC_NUMERIC\ndecimal_point \"<U002C>\"\n"
                                 "thousands_sep \"<U002E>\"\ngrouping 3;3\nEND LC_NUMERIC\n"));
        const std::string command =
            "localedef -c -i '" + source + "' '" + dir_.file("comma") + "' >/dev/null 2>&1";
        std::system(command.c_str());  // warns (exit 1) about the categories it leaves out
        ::setenv("LOCPATH", dir_.path().c_str(), 1);
        cLibrary_ = std::setlocale(LC_NUMERIC, "comma") != nullptr;
#endif
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, "C");
#ifndef _WIN32
        ::unsetenv("LOCPATH");
#endif
        std::locale::global(cxx_);
    }
    bool cLibrary() const {
        return cLibrary_;
    }

  private:
    static std::vector<uint8_t> bytesOf(const std::string& text) {
        return {text.begin(), text.end()};
    }
    test::TempDir dir_;
    std::locale cxx_;
    bool cLibrary_ = false;
};

TEST(NumberText, IsTheSameUnderADecimalCommaLocale) {
    CommaLocale comma;
    // The switch itself must have worked, or the checks below would prove nothing.
    std::ostringstream cxx;
    cxx << 2.5;
    ASSERT_EQ(cxx.str(), "2,5");
    if (comma.cLibrary()) {
        char c[16];
        std::snprintf(c, sizeof c, "%.1f", 2.5);
        ASSERT_STREQ(c, "2,5");
    } else {
        std::printf("no private C locale could be made; the C++ locale alone is switched\n");
    }
    EXPECT_EQ(clockText(0x64, 225.0f), "225.00");
    EXPECT_EQ(clockText(183, 2.25f), "4.12");
    EXPECT_EQ(formatPlain("%.9g|%#.9g|%4.2f", 2.25, 225.0, 0.5), "2.25|225.000000|0.50");
}

}  // namespace
}  // namespace vorlane
