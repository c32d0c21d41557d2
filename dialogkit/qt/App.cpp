#include "dialogkit/App.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QFont>
#include <cstdio>

#include "dialogkit/OuterHandler.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"
#include "dialogkit/Types.h"
#include "dialogkit/qt/QtHandle.h"

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

int CWinApp::Run(int& argc, char** argv) {
    QApplication application(argc, argv);
    m_commandLine.assign(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (title_.empty()) {
        SetAppTitle(
            QFileInfo(QApplication::applicationFilePath()).completeBaseName().toStdString());
    }
    applyDialogFont();
    bool runLoop = false;
    runGuarded(nullptr, [&] { runLoop = InitInstance(); });
    return runLoop ? QApplication::exec() : ExitInstance();
}

void CWinApp::OnHelp() {
    WindowHandle owner = m_pMainWnd != nullptr ? m_pMainWnd->window() : nullptr;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        owner = toHandle(modal);
    }
    const std::string title =
        !title_.empty() ? title_ : QApplication::applicationDisplayName().toStdString();
    const std::string caption = formatText(translate("DialogKit", "%1 Help"), {title});
    prompts().messageBox(MessageRequest{helpText_, caption, MB_OK | MB_ICONINFORMATION}, owner);
}

CWinApp* AfxGetApp() {
    return g_app;
}

void showCommandLineText(const std::string& text, bool error) {
    std::fputs(text.c_str(), error ? stderr : stdout);
}

void CopyToClipboard(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromStdString(text));
    }
}

void applyDialogFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.0);
    QApplication::setFont(font);
}

}  // namespace vorlane::dk
