// Every modal prompt of the program goes through this one interface: file dialogs and message
// boxes. The desktop uses the backend's (nativePrompts); tests install a scripted double
// (tests/support/ScriptedPrompts.h) so that nothing ever blocks. CFileDialog
// (dialogkit/FileDialog.h) is the dialogs' way in.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogkit/Types.h"

namespace vorlane::dk {

struct FileDialogRequest {
    bool open = true;
    std::string defaultExt;   // appended when the name typed has no extension
    std::string initialName;  // may be empty
    unsigned flags = 0;       // OFN_*
    std::string filter;       // "Text (*.a)|*.a|All Files (*.*)|*.*||"
};

// The (description, patterns) pairs of a filter such as FileDialogRequest::filter, up to the "||"
// that ends it.
std::vector<std::pair<std::string, std::string>> filterEntries(const std::string& filter);

struct MessageRequest {
    std::string text;
    std::string caption;
    unsigned type = 0;  // MB_* button set | MB_ICON*
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request,
                                                  WindowHandle owner) = 0;
    // IDOK, IDYES or IDNO.
    virtual int messageBox(const MessageRequest& request, WindowHandle owner) = 0;
};

// The backend's own file dialogs and message boxes.
Prompts& nativePrompts();
// The prompts in use; the backend's unless a test installed others.
Prompts& prompts();
// Installs `replacement` (not owned); nullptr returns to the backend's.
void setPrompts(Prompts* replacement);

}  // namespace vorlane::dk
