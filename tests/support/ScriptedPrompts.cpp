#include "tests/support/ScriptedPrompts.h"

#include "dialogkit/Types.h"

namespace vorlane::dk {

std::optional<std::string> ScriptedPrompts::chooseFile(const FileDialogRequest& request,
                                                       WindowHandle owner) {
    Asked asked{request.open ? Asked::OpenFile : Asked::SaveFile, request, {}, owner != nullptr};
    asked_.push_back(asked);
    if (files_.empty()) {
        ++unexpected_;
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(files_.front());
    files_.pop_front();
    return answer;
}

int ScriptedPrompts::messageBox(const MessageRequest& request, WindowHandle owner) {
    asked_.push_back(Asked{Asked::Message, {}, request, owner != nullptr});
    if (messages_.empty()) {
        ++unexpected_;
        return (request.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
    const int answer = messages_.front();
    messages_.pop_front();
    return answer;
}

}  // namespace vorlane::dk
