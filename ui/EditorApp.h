// The application object of the editor.
#pragma once

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

// Text for --version and --help, and the line a refused command line ends with.
std::string versionText();
std::string usageText();
std::string usageLine();

}  // namespace vorlane
