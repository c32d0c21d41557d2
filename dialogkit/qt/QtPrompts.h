// The prompts of the desktop: Qt's file dialogs and message boxes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dialogkit/Prompts.h"

namespace vorlane::dk {

class QtPrompts : public Prompts {
  public:
    std::optional<std::string> chooseFile(const FileDialogRequest& request,
                                          WindowHandle owner) override;
    int messageBox(const MessageRequest& request, WindowHandle owner) override;
};

// A filter in the "Description|patterns|...||" form as Qt name filters. "*.*" becomes "*", since
// on Linux "*.*" would hide files without a dot.
std::vector<std::string> qtNameFilters(const std::string& filter);

}  // namespace vorlane::dk
