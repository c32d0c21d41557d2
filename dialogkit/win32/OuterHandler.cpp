#include "dialogkit/OuterHandler.h"

#include <vector>

#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"
#include "dialogkit/win32/Win32Handle.h"
#include "dialogkit/win32/Win32Text.h"

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

// The program's name as the system knows it: its file name without the extension.
std::string programName() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (const size_t dot = name.rfind(L'.'); dot != std::wstring::npos) {
        name.erase(dot);
    }
    return narrow(name);
}

std::string fileErrorText(const FileErrorInfo& info) {
    const std::string sentence =
        formatText(translate(kKitContext, DK_TRANSLATE_NOOP("DialogKit", "Could not %1: %2.")),
                   {info.operation, info.reason});
    return info.path + "\n\n" + sentence;
}

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
        const std::string title = !errorBoxTitle().empty() ? errorBoxTitle() : programName();
        prompts().messageBox(MessageRequest{text, title, MB_OK | MB_ICONSTOP}, owner);
    } catch (...) {
    }
}

}  // namespace

void registerFileErrorTranslator(
    std::function<std::optional<FileErrorInfo>(std::exception_ptr)> translator) {
    translators().push_back(std::move(translator));
}

void setErrorBoxTitle(std::string title) {
    errorBoxTitle() = std::move(title);
}

bool runGuarded(WindowHandle owner, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (...) {
        // The handler may have destroyed the owner before it threw.
        HWND window = toHwnd(owner);
        reportException(std::current_exception(),
                        window != nullptr && IsWindow(window) ? owner : nullptr);
        return false;
    }
}

}  // namespace vorlane::dk
