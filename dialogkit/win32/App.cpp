#include "dialogkit/App.h"

#include "dialogkit/win32/DialogWindow.h"

#include "dialogkit/win32/Win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "dialogkit/Backend.h"
#include "dialogkit/OuterHandler.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"
#include "dialogkit/win32/Win32Handle.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

namespace {

// The arguments after the program's name. A program's argv is in the ANSI code page on Windows,
// which cannot hold every file name; the wide command line can.
std::vector<std::string> commandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(narrow(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace

int CWinApp::Run(int&, char**) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    m_commandLine = commandLineArguments();
    if (title_.empty()) {
        SetAppTitle(applicationDisplayName());
    }
    applyDialogFont();
    bool runLoop = false;
    runGuarded(nullptr, [&] { runLoop = InitInstance(); });
    if (!runLoop) {
        return ExitInstance();
    }
    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (!preTranslateDialogMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return got == 0 ? static_cast<int>(message.wParam) : ExitInstance();
}

namespace {

// Whether the handle leads to a file, pipe or console the text can go to.
bool usable(HANDLE stream) {
    return stream != nullptr && stream != INVALID_HANDLE_VALUE &&
           GetFileType(stream) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void showCommandLineText(const std::string& text, bool error) {
    const DWORD which = error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    HANDLE stream = GetStdHandle(which);
    // Started from a console without redirection: a GUI program has no streams of its own, but
    // may write to the console it was started from.
    if (!usable(stream) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        stream = GetStdHandle(which);
    }
    if (usable(stream)) {
        DWORD mode = 0;
        if (GetConsoleMode(stream, &mode)) {
            const std::wstring wide = widen(text);
            DWORD written = 0;
            WriteConsoleW(stream, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            DWORD written = 0;
            WriteFile(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        }
        return;
    }
    MessageBoxW(nullptr, widen(text).c_str(), widen(applicationDisplayName()).c_str(),
                MB_OK | MB_TASKMODAL | (error ? MB_ICONSTOP : MB_ICONINFORMATION));
}

void CopyToClipboard(const std::string& text) {
    // CR LF between lines, as every program that pastes expects.
    std::wstring wide;
    for (wchar_t c : widen(text)) {
        if (c == L'\n' && (wide.empty() || wide.back() != L'\r')) {
            wide += L'\r';
        }
        wide += c;
    }
    HWND owner = nullptr;
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd != nullptr) {
        owner = toHwnd(app->m_pMainWnd->window());
    }
    // Another program may hold the clipboard for a moment.
    bool open = false;
    for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(owner) != 0); ++attempt) {
        Sleep(20);
    }
    if (!open) {
        return;
    }
    EmptyClipboard();
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* data = GlobalLock(memory)) {
            std::memcpy(data, wide.c_str(), bytes);
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
                GlobalFree(memory);
            }
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

// Each template carries its dialog font, which the system creates and scales with the dialog;
// message boxes and file dialogs take the system's own. Nothing is left to set for the program.
void applyDialogFont() {}

WindowHandle activeModalWindow() {
    // The modal dialog running, when there is one of the kit's.
    HWND active = GetActiveWindow();
    return DialogWindow::dialogOf(active) != nullptr ? toHandle(active) : nullptr;
}

}  // namespace vorlane::dk
