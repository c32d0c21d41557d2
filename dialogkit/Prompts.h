// Every modal prompt of the program goes through this one interface: file dialogs and message
// boxes. The desktop uses QtPrompts (dialogkit/QtPrompts.h); tests install a scripted double
// (tests/support/ScriptedPrompts.h) so that nothing ever blocks. CFileDialog
// (dialogkit/FileDialog.h) is the dialogs' way in.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace vorlane::dk {

struct FileDialogRequest {
    bool open = true;
    std::string defaultExt;   // appended when the name typed has no extension
    std::string initialName;  // may be empty
    unsigned flags = 0;       // OFN_*
    std::string filter;       // "Text (*.a)|*.a|All Files (*.*)|*.*||"
};

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
                                                  QWidget* owner) = 0;
    // IDOK, IDYES or IDNO.
    virtual int messageBox(const MessageRequest& request, QWidget* owner) = 0;
};

// The prompts in use; QtPrompts unless a test installed others.
Prompts& prompts();
// Installs `replacement` (not owned); nullptr returns to QtPrompts.
void setPrompts(Prompts* replacement);

}  // namespace vorlane::dk
