#include "image/Clock.h"

#include <charconv>
#include <system_error>

namespace vorlane {

double clockMHz(int feedback, float stepClock) {
    // Each product is rounded to double on its own; taking 0.01 as a float is what makes a step
    // of 337.5 show 3.37 rather than 3.38.
    const double steps = static_cast<double>(feedback) * static_cast<double>(stepClock);
    return steps * static_cast<double>(0.01f);
}

std::string clockText(int feedback, float stepClock) {
    // to_chars knows no locale: the editor, whose toolkit adopts the user's locale at start-up,
    // shows the same "411.75" as the command line. It rounds as "%.2f" in the C locale does.
    char text[400];
    const auto [end, error] = std::to_chars(text, text + sizeof text, clockMHz(feedback, stepClock),
                                            std::chars_format::fixed, 2);
    std::string shown(text, error == std::errc{} ? end : text);
    if (shown.size() < 4) {
        shown.insert(0, 4 - shown.size(), ' ');  // the width of "%4.2f"
    }
    return shown;
}

}  // namespace vorlane
