// Every modal prompt of the program goes through this one interface: file dialogs and message
// boxes. The desktop uses QtPrompts; tests install ScriptedPrompts so nothing ever blocks.
// CFileDialog is the dialogs' way in.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

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

class QtPrompts : public Prompts {
  public:
    std::optional<std::string> chooseFile(const FileDialogRequest& request,
                                          QWidget* owner) override;
    int messageBox(const MessageRequest& request, QWidget* owner) override;
};

// A filter in the "Description|patterns|...||" form as Qt name filters. "*.*" becomes "*", since
// on Linux "*.*" would hide files without a dot.
std::vector<std::string> qtNameFilters(const std::string& filter);

// Answers prompts from a queue that a test fills beforehand, and records every prompt asked.
// A prompt with no answer queued is recorded as unexpected and answered with a cancel (file
// dialogs) or the box's first button, so a faulty test fails instead of hanging.
class ScriptedPrompts : public Prompts {
  public:
    struct Asked {
        enum Kind { OpenFile, SaveFile, Message } kind;
        FileDialogRequest file;  // for OpenFile and SaveFile
        MessageRequest message;  // for Message
        bool ownerSet = false;
    };

    // Queue the next file dialog's outcome: a path, or nothing to cancel.
    void answerFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    // Queue the next message box's result (IDOK, IDYES, ...).
    void answerMessage(int result) { messages_.push_back(result); }

    const std::vector<Asked>& asked() const { return asked_; }
    int unexpected() const { return unexpected_; }
    bool drained() const { return files_.empty() && messages_.empty(); }

    std::optional<std::string> chooseFile(const FileDialogRequest& request,
                                          QWidget* owner) override;
    int messageBox(const MessageRequest& request, QWidget* owner) override;

  private:
    std::deque<std::optional<std::string>> files_;
    std::deque<int> messages_;
    std::vector<Asked> asked_;
    int unexpected_ = 0;
};

// A file dialog with no parent window, run through the prompts.
class CFileDialog {
  public:
    CFileDialog(bool openFileDialog, std::string defaultExt, std::string fileName, unsigned flags,
                std::string filter);
    int DoModal();  // IDOK or IDCANCEL
    std::string GetPathName() const { return path_; }

  private:
    FileDialogRequest request_;
    std::string path_;
};

}  // namespace vorlane::dk
