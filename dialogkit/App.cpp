#include "dialogkit/App.h"

#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <map>
#include <vector>

#include "dialogkit/Dialog.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Types.h"

namespace vorlane::dk {

namespace {

CWinApp* g_app = nullptr;

std::vector<std::function<std::optional<FileErrorInfo>(std::exception_ptr)>>& translators() {
    static std::vector<std::function<std::optional<FileErrorInfo>(std::exception_ptr)>> list;
    return list;
}

std::map<int, Icon>& icons() {
    static std::map<int, Icon> registry;
    return registry;
}

std::string boxTitle() {
    if (g_app != nullptr && !g_app->appTitle().empty()) {
        return g_app->appTitle();
    }
    return QApplication::applicationDisplayName().toStdString();
}

// Paint events of top-level windows; the first one ends the process once painting is done.
class FirstPaintProbe : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!fired_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            fired_ = true;
            // The zero timer runs after the whole window has been painted and flushed.
            QTimer::singleShot(0, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-paint %lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }

  private:
    bool fired_ = false;
};

}  // namespace

void registerFileErrorTranslator(
    std::function<std::optional<FileErrorInfo>(std::exception_ptr)> translator) {
    translators().push_back(std::move(translator));
}

std::string fileErrorText(const FileErrorInfo& info) {
    return info.path + "\n\nCould not " + info.operation + ": " + info.reason + ".";
}

void reportException(std::exception_ptr error, QWidget* owner) {
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
                text = std::string("The command stopped on an unexpected error:\n") + e.what();
            } catch (...) {
                text = "The command stopped on an unexpected error.";
            }
        }
        prompts().messageBox(MessageRequest{text, boxTitle(), MB_OK | MB_ICONSTOP}, owner);
    } catch (...) {
        // Reporting must not fail the event loop; there is nowhere left to report to.
    }
}

bool runGuarded(QWidget* owner, const std::function<void()>& body) {
    QPointer<QWidget> guardedOwner = owner;
    try {
        body();
        return true;
    } catch (...) {
        reportException(std::current_exception(), guardedOwner.data());
        return false;
    }
}

CWinApp::CWinApp(const char* appName) : title_(appName != nullptr ? appName : "") {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

int CWinApp::Run(int& argc, char** argv) {
    QApplication application(argc, argv);
    if (title_.empty()) {
        title_ = QFileInfo(QApplication::applicationFilePath()).completeBaseName().toStdString();
    }
    applyDialogFont();
    bool runLoop = false;
    runGuarded(nullptr, [&] { runLoop = InitInstance(); });
    return runLoop ? QApplication::exec() : 0;
}

void CWinApp::OnHelp() {
    QWidget* owner = m_pMainWnd != nullptr ? m_pMainWnd->window() : nullptr;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        owner = modal;
    }
    prompts().messageBox(
        MessageRequest{helpText_, boxTitle() + " Help", MB_OK | MB_ICONINFORMATION}, owner);
}

CWinApp* AfxGetApp() {
    return g_app;
}

void registerIcon(int id, const Icon& icon) {
    icons().insert_or_assign(id, icon);
}

Icon LoadIcon(int id) {
    const auto found = icons().find(id);
    return found != icons().end() ? found->second : Icon();
}

void applyDialogFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.0);
    QApplication::setFont(font);
}

void installFirstPaintProbe() {
    qApp->installEventFilter(new FirstPaintProbe(qApp));
}

}  // namespace vorlane::dk
