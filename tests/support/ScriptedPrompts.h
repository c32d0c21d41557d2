// The prompts' test double: answers from a queue that a test fills beforehand, so that a
// test of a dialog never blocks.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialogkit/Prompts.h"

namespace vorlane::dk {

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
                                          WindowHandle owner) override;
    int messageBox(const MessageRequest& request, WindowHandle owner) override;

  private:
    std::deque<std::optional<std::string>> files_;
    std::deque<int> messages_;
    std::vector<Asked> asked_;
    int unexpected_ = 0;
};

}  // namespace vorlane::dk
