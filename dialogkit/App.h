// The application object and the outer handler for exceptions that leave a handler.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "dialogkit/Icon.h"
#include "dialogkit/MessageMap.h"

class QWidget;

namespace vorlane::dk {

class CDialog;

// A file error as the outer handler reports it.
struct FileErrorInfo {
    std::string path;
    std::string operation;  // "open for reading", "write", ...
    std::string reason;     // the system's reason
};

// Teaches the outer handler to recognise a file-error type of the program:
//   dk::registerFileError<MyError>([](const MyError& e) { return dk::FileErrorInfo{...}; });
void registerFileErrorTranslator(std::function<std::optional<FileErrorInfo>(std::exception_ptr)>);
template <class E, class F>
void registerFileError(F describe) {
    registerFileErrorTranslator(
        [describe](std::exception_ptr error) -> std::optional<FileErrorInfo> {
            try {
                std::rethrow_exception(error);
            } catch (const E& e) {
                return describe(e);
            } catch (...) {
                return std::nullopt;
            }
        });
}

// The text of the file-error box.
std::string fileErrorText(const FileErrorInfo& info);

// Reports an exception that left a handler in an error box owned by `owner`; never throws.
void reportException(std::exception_ptr error, QWidget* owner);
// Runs `body`, reporting anything it throws. False when it threw.
bool runGuarded(QWidget* owner, const std::function<void()>& body);

class CWinApp : public CCmdTarget {
  public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Creates the Qt application, sets the dialog font, runs InitInstance and then, when it
    // returned true, the event loop. Returns the exit code.
    int Run(int& argc, char** argv);

    virtual bool InitInstance() { return false; }
    // The default help handler: shows the help text in an information box.
    void OnHelp();
    void SetHelpText(std::string text) { helpText_ = std::move(text); }

    // Title of the kit's own boxes (file errors, help).
    const std::string& appTitle() const { return title_; }
    void SetAppTitle(std::string title) { title_ = std::move(title); }

    CDialog* m_pMainWnd = nullptr;

  private:
    std::string title_;
    std::string helpText_;
};

CWinApp* AfxGetApp();

// Icons by resource ID, registered once at start-up and shown by template icon controls.
void registerIcon(int id, const Icon& icon);
// The registered icon, or a null icon.
Icon LoadIcon(int id);

// The dialog font: an 8-point sans serif with metrics close to the classic dialog font, applied
// to the whole application so message boxes match. Needs a QApplication.
void applyDialogFont();

// Prints "first-paint <CLOCK_MONOTONIC ns>" to standard output once the first top-level window
// has painted and ends the process; used to measure start-up. Needs a QApplication.
void installFirstPaintProbe();

}  // namespace vorlane::dk
