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

    // Ends the process after the first painted window (start-up measurement).
    bool m_firstPaintProbe = false;
};

// What every run of the editor needs before its first dialog: the icon, the help text and the
// outer handler's knowledge of file errors. Needs a QApplication.
void registerEditorResources(dk::CWinApp& app);

// Text for --version and --help.
std::string versionText();
std::string usageText();

}  // namespace vorlane
