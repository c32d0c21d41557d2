// The application object of the editor.
#pragma once

#include <string>

#include "dialogkit/App.h"

namespace vorlane {

class CEditorApp : public dk::CWinApp {
  public:
    CEditorApp();
    ~CEditorApp() override;

    const dk::MessageMap* GetMessageMap() const override;
    bool InitInstance() override;
    int ExitInstance() override { return m_exitCode; }

    // Ends the process after the first painted window (start-up measurement).
    bool m_firstPaintProbe = false;
    // 2 when the command line was refused.
    int m_exitCode = 0;
};

// What every run of the editor needs before its first dialog: the icon, the help text and the
// outer handler's knowledge of file errors. Needs a QApplication.
void registerEditorResources(dk::CWinApp& app);

// Installs the editor's translation for the user's locale (LANG, LC_ALL, LC_MESSAGES, LANGUAGE)
// and returns its language; empty when the texts stay English. Needs a QApplication, and comes
// before registerEditorResources.
std::string installEditorTranslation();

// Text for --version and --help, and the line a refused command line ends with.
std::string versionText();
std::string usageText();
std::string usageLine();
// The one line the editor ends with when there is no display and no Qt platform was chosen.
std::string noDisplayText();

}  // namespace vorlane
