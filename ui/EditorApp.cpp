#include "ui/EditorApp.h"

#include "dialogkit/Translation.h"
#include "image/FileError.h"
#include "res/Strings.h"
#include "res/resource.h"
#include "ui/CoreTexts.h"
#include "ui/EditorArgs.h"
#include "ui/MainDlg.h"

namespace vorlane {

CEditorApp::CEditorApp() : CWinApp(nullptr) {}

CEditorApp::~CEditorApp() = default;

const dk::MessageMap* CEditorApp::GetMessageMap() const {
    static const auto map =
        dk::makeMessageMap<CEditorApp>(dk::onCommand<CEditorApp>(dk::ID_HELP, &CWinApp::OnHelp));
    return &map;
}

void registerEditorResources(dk::CWinApp& app) {
    dk::registerIcon(res::IDR_MAINFRAME, dk::Icon{res::kIcon32, res::kIcon16});
    static const bool fileErrorsKnown = [] {
        dk::registerFileError<FileError>([](const FileError& e) {
            return dk::FileErrorInfo{e.path(), fileOperationText(e.operation()),
                                     fileReasonText(e.code())};
        });
        return true;
    }();
    (void)fileErrorsKnown;
    app.SetHelpText(dk::translate("Vorlane", res::loadString(res::IDS_HELP_TEXT)));
    app.SetAppTitle("Vorlane");
}

std::string installEditorTranslation() {
    // Relative to the program, where both the build and an installation put it.
    return dk::installTranslations("vorlane", {VORLANE_TRANSLATIONS_RELDIR});
}

bool CEditorApp::InitInstance() {
    const EditorArgs args = parseEditorArgs(m_commandLine);
    if (!args.ok) {
        dk::showCommandLineText("vorlane: " + args.error + "\n" + usageLine(), true);
        m_exitCode = 2;
        return false;
    }
    installEditorTranslation();
    registerEditorResources(*this);
    if (m_firstPaintProbe) {
        dk::installFirstPaintProbe();
    }
    CMainDlg dialog;
    dialog.m_fileToOpen = args.file;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // The program ends with its main dialog.
    return false;
}

// As GNU programs give it: the version block itself stays what the About box and the resources
// show, and its file version and description belong to neither this program nor this release.
std::string versionText() {
    return std::string("vorlane ") + res::releaseVersion() + "\n" +
           res::kVersionBlock.legalCopyright +
           "\n"
           "License GPLv2+: GNU GPL version 2 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

std::string noDisplayText() {
    return "vorlane: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset): "
           "start it in a graphical session, or without one under xvfb-run (Debian's xvfb)\n";
}

std::string usageLine() {
    return "Usage: vorlane [FILE]\n";
}

std::string usageText() {
    return usageLine() +
           "       vorlane --version | --help\n"
           "Opens the Vorlane editor for Radeon 7000 to 9800 video BIOS images, and FILE in it\n"
           "when given, as Load Bios would.\n"
           "The standard Qt options (such as -platform) are accepted as well.\n"
           "\n"
           "Exit status:\n"
           "  0  the editor was closed, or this text or the version was shown\n"
           "  1  there is no display to open the window on\n"
           "  2  the command line was wrong\n";
}

}  // namespace vorlane
