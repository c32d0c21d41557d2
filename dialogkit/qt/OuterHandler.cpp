#include "dialogkit/OuterHandler.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"
#include "dialogkit/Types.h"
#include "dialogkit/qt/QtHandle.h"
#include "dialogkit/qt/QtText.h"

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
    const QString sentence =
        translated(kKitContext, DK_TRANSLATE_NOOP("DialogKit", "Could not %1: %2."))
            .arg(QString::fromStdString(info.operation), QString::fromStdString(info.reason));
    return info.path + "\n\n" + sentence.toStdString();
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
        const std::string title = !errorBoxTitle().empty()
                                      ? errorBoxTitle()
                                      : QApplication::applicationDisplayName().toStdString();
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
    // The handler may destroy the owner before it throws.
    QPointer<QWidget> guardedOwner = toWidget(owner);
    try {
        body();
        return true;
    } catch (...) {
        reportException(std::current_exception(), toHandle(guardedOwner.data()));
        return false;
    }
}

}  // namespace vorlane::dk
