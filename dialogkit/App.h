// The application object.
#pragma once

#include <string>
#include <vector>

#include "dialogkit/MessageMap.h"
// What a program's InitInstance sets up before its first dialog: its icons, its file errors and,
// when measuring, the start-up probe.
#include "dialogkit/FirstPaintProbe.h"
#include "dialogkit/IconRegistry.h"
#include "dialogkit/OuterHandler.h"
#include "dialogkit/Types.h"

namespace vorlane::dk {

// All the application needs of its main window, so that it depends on no dialog class.
class TopLevel {
  public:
    virtual WindowHandle window() const = 0;

  protected:
    ~TopLevel() = default;
};

class CWinApp : public CCmdTarget {
  public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Creates the backend's application, sets the dialog font, runs InitInstance and then, when it
    // returned true, the event loop. Returns the exit code: the event loop's, or else
    // ExitInstance's.
    int Run(int& argc, char** argv);

    virtual bool InitInstance() { return false; }
    virtual int ExitInstance() { return 0; }
    // The default help handler: shows the help text in an information box.
    void OnHelp();
    void SetHelpText(std::string text) { helpText_ = std::move(text); }

    // Title of the kit's own boxes (file errors, help).
    void SetAppTitle(std::string title);

    TopLevel* m_pMainWnd = nullptr;
    // The arguments after the program name that the backend left once it had taken its own
    // options.
    std::vector<std::string> m_commandLine;

  private:
    std::string title_;
    std::string helpText_;
};

CWinApp* AfxGetApp();

// Shows `text` (UTF-8) to whoever started the program from a command line: on standard output, or
// standard error when `error`. A program without a console of its own (a GUI program on Windows)
// writes to its standard streams when they lead somewhere (redirected, or the console it was
// started from), and shows an information box (an error box when `error`) when they do not.
// Works before Run.
void showCommandLineText(const std::string& text, bool error);

// Puts `text` (UTF-8) on the clipboard, for pasting into another program.
void CopyToClipboard(const std::string& text);

// The dialog font: an 8-point sans serif with metrics close to the classic dialog font, applied
// to the whole application so message boxes match. Needs the backend's application.
void applyDialogFont();

}  // namespace vorlane::dk
