#include "dialogkit/App.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QFont>
#include <cstdio>

#include "dialogkit/Backend.h"
#include "dialogkit/OuterHandler.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"
#include "dialogkit/Types.h"
#include "dialogkit/qt/QtHandle.h"

namespace vorlane::dk {

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

WindowHandle activeModalWindow() {
    return toHandle(QApplication::activeModalWidget());
}

}  // namespace vorlane::dk
