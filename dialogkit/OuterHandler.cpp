// The outer handler's report, alike on every backend: a file error as the program describes it,
// anything else as an unexpected error, in a box over the owner.
#include "dialogkit/OuterHandler.h"

#include <vector>

#include "dialogkit/Backend.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"

namespace vorlane::dk {

namespace {

std::vector<std::function<std::optional<FileErrorInfo>(std::exception_ptr)>>& translators() {
    static std::vector<std::function<std::optional<FileErrorInfo>(std::exception_ptr)>> list;
    return list;
}

std::string& errorBoxTitle() {
    static std::string title;
    return title;
}

std::string fileErrorText(const FileErrorInfo& info) {
    const std::string sentence =
        formatText(translate(kKitContext, DK_TRANSLATE_NOOP("DialogKit", "Could not %1: %2.")),
                   {info.operation, info.reason});
    return info.path + "\n\n" + sentence;
}

}  // namespace

// Never throws: reporting must not fail the event loop, and there is nowhere left to report to.
void reportException(std::exception_ptr error, WindowHandle owner) {
    try {
        std::string text;
        for (const auto& translate : translators()) {
            if (std::optional<FileErrorInfo> info = translate(error)) {
                text = fileErrorText(*info);
                break;
            }
        }
        if (text.empty()) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                text =
                    translate(kKitContext, DK_TRANSLATE_NOOP("DialogKit",
                                                             "The command stopped on an unexpected "
                                                             "error:\n")) +
                    e.what();
            } catch (...) {
                text =
                    translate(kKitContext, DK_TRANSLATE_NOOP("DialogKit",
                                                             "The command stopped on an unexpected "
                                                             "error."));
            }
        }
        const std::string title =
            !errorBoxTitle().empty() ? errorBoxTitle() : applicationDisplayName();
        prompts().messageBox(MessageRequest{text, title, MB_OK | MB_ICONSTOP}, owner);
    } catch (...) {
    }
}

void registerFileErrorTranslator(
    std::function<std::optional<FileErrorInfo>(std::exception_ptr)> translator) {
    translators().push_back(std::move(translator));
}

void setErrorBoxTitle(std::string title) {
    errorBoxTitle() = std::move(title);
}

}  // namespace vorlane::dk
