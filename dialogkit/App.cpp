// The application object as every backend has it; running it is the backend's.
#include "dialogkit/App.h"

#include "dialogkit/Backend.h"
#include "dialogkit/OuterHandler.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"

namespace vorlane::dk {

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp(const char* appName) {
    g_app = this;
    SetAppTitle(appName != nullptr ? appName : "");
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
        setErrorBoxTitle({});
    }
}

void CWinApp::SetAppTitle(std::string title) {
    title_ = std::move(title);
    if (g_app == this) {
        setErrorBoxTitle(title_);
    }
}

void CWinApp::OnHelp() {
    WindowHandle owner = activeModalWindow();
    if (owner == nullptr && m_pMainWnd != nullptr) {
        owner = m_pMainWnd->window();
    }
    const std::string title = !title_.empty() ? title_ : applicationDisplayName();
    const std::string caption = formatText(translate("DialogKit", "%1 Help"), {title});
    prompts().messageBox(MessageRequest{helpText_, caption, MB_OK | MB_ICONINFORMATION}, owner);
}

CWinApp* AfxGetApp() {
    return g_app;
}

}  // namespace vorlane::dk
