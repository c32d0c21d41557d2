// Kit-internal: turns a template's controls into Qt widgets on a dialog window.
#pragma once

#include <span>

#include "dialogkit/Template.h"

namespace vorlane::dk {

class DialogWindow;

// Creates every control in template order, wires what the user does with it to the window's
// messages, and records each in `window.items`.
void createControls(DialogWindow& window, std::span<const ControlTemplate> controls);

}  // namespace vorlane::dk
