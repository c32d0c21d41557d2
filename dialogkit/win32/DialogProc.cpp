#include "dialogkit/win32/DialogWindow.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cctype>
#include <vector>

#include "dialogkit/IconRegistry.h"
#include "dialogkit/PaintContext.h"
#include "dialogkit/win32/BitGrid.h"
#include "dialogkit/win32/ControlText.h"
#include "dialogkit/win32/GdiPaint.h"
#include "dialogkit/win32/ScreenReaderName.h"
#include "dialogkit/win32/Win32Handle.h"
#include "dialogkit/win32/Win32Icon.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

namespace {

// The fixed-pitch font of the edits that ask for one: the dialog's own font, at its size, with a
// fixed-pitch face, so that it scales with the dialog.
void applyFixedFont(HFONT& fixedFont, HWND window, std::span<const ControlTemplate> controls) {
    // Freed once the edits have the new one.
    HFONT previous = fixedFont;
    fixedFont = nullptr;
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& c : controls) {
        if (child == nullptr) {
            break;
        }
        HWND control = child;
        child = GetWindow(child, GW_HWNDNEXT);
        if (c.kind != ControlKind::Edit || (c.style & kFixedPitch) == 0) {
            continue;
        }
        if (fixedFont == nullptr) {
            LOGFONTW font{};
            auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
            if (dialogFont == nullptr ||
                GetObjectW(dialogFont, sizeof font, &font) != sizeof font) {
                font.lfHeight = -11;
            }
            font.lfWidth = 0;
            font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
            lstrcpynW(font.lfFaceName, L"Courier New", LF_FACESIZE);
            fixedFont = CreateFontIndirectW(&font);
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
    }
    if (previous != nullptr) {
        DeleteObject(previous);
    }
}

std::wstring withoutMnemonic(const std::wstring& text) {
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;  // "&&" is one '&'
        }
        plain += text[i];
    }
    return plain;
}

// What the window needs beyond what the template gives: the fixed-pitch font, the icons of icon
// controls, up-downs with the other backends' default range, and the names screen readers say
// for controls that a label names.
void finishControls(HFONT& fixedFont, HWND window, std::span<const ControlTemplate> controls) {
    applyFixedFont(fixedFont, window, controls);
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD);
         child != nullptr && children.size() < controls.size();
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    for (size_t i = 0; i < children.size(); ++i) {
        const ControlTemplate& c = controls[i];
        HWND control = children[i];
        if (c.kind == ControlKind::Icon) {
            if (HICON icon = nativeIcon(LoadIcon(c.iconId), 32)) {
                SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            }
        } else if (c.kind == ControlKind::UpDown) {
            SendMessageW(control, UDM_SETRANGE32, 0, 100);
            SendMessageW(control, UDM_SETPOS32, 0, 0);
        }
        const bool namedByLabel = c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox ||
                                  c.kind == ControlKind::UpDown || c.text == nullptr ||
                                  c.text[0] == '\0';
        if (namedByLabel && c.kind != ControlKind::Static) {
            if (const ControlTemplate* label = labelFor(c, controls)) {
                const auto at = static_cast<size_t>(label - controls.data());
                if (at < children.size()) {
                    setScreenReaderName(control, withoutMnemonic(windowText(children[at])));
                }
            }
        }
    }
}

HBRUSH dialogBrush(HWND window, HDC dc) {
    auto brush = reinterpret_cast<HBRUSH>(DefDlgProcW(
        window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    return brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

// A drop of exactly one file is taken; any other is ignored, as on the other backends.
std::optional<std::string> droppedFile(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count != 1) {
        return std::nullopt;
    }
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(static_cast<size_t>(length) + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
    // A network path is not a local file.
    if (path.empty() || path.starts_with(L"\\\\")) {
        return std::nullopt;
    }
    // A folder, or a file gone by now, is taken all the same: loading it says what is wrong.
    return narrow(path);
}

}  // namespace

CDialog* DialogWindow::dialogOf(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    HWND root = GetAncestor(window, GA_ROOT);
    if (root == nullptr) {
        return nullptr;
    }
    if (GetWindowLongPtrW(root, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&procedure)) {
        return nullptr;
    }
    return reinterpret_cast<CDialog*>(GetWindowLongPtrW(root, DWLP_USER));
}

void DialogWindow::rebuildAccelerators(CDialog& dialog) {
    CDialog::Native& n = *dialog.native_;
    if (n.accelerators != nullptr) {
        DestroyAcceleratorTable(n.accelerators);
        n.accelerators = nullptr;
    }
    std::vector<ACCEL> table;
    // F1 asks for help in every dialog of the kit.
    table.push_back(ACCEL{FVIRTKEY, VK_F1, static_cast<WORD>(kFirstKeyCommand)});
    for (size_t i = 0; i < n.keys.size(); ++i) {
        ACCEL a = n.keys[i];
        a.cmd = static_cast<WORD>(kFirstKeyCommand + 1 + i);
        table.push_back(a);
    }
    n.accelerators = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

void DialogWindow::paint(CDialog& dialog, HDC dc) {
    PaintSurface surface(dc);
    PaintContext context(surface);
    MessageArgs args;
    args.paint = &context;
    dialog.dispatch(Message::Paint, 0, args);
}

void DialogWindow::onCommand(CDialog& dialog, HWND window, WPARAM wParam, LPARAM lParam) {
    const int id = static_cast<int>(static_cast<short>(LOWORD(wParam)));
    const WORD code = HIWORD(wParam);
    const auto control = reinterpret_cast<HWND>(lParam);
    CDialog::Native& n = *dialog.native_;
    if (control == nullptr) {
        const int key = static_cast<int>(LOWORD(wParam)) - kFirstKeyCommand;
        if (code == 1 && key >= 0 && key <= static_cast<int>(n.keyActions.size())) {
            if (key == 0) {
                dialog.dispatch(Message::Command, ID_HELP);
                return;
            }
            const KeyAction action = n.keyActions[static_cast<size_t>(key - 1)];
            if (action.kind == KeyAction::SysCommand) {
                MessageArgs args;
                args.value = action.id;
                dialog.dispatch(Message::SysCommand, 0, args);
                return;
            }
            // Pressed like a click, so a disabled button stays deaf to its keys as well.
            HWND button = ::GetDlgItem(window, action.id);
            if (button != nullptr && IsWindowEnabled(button) && IsWindowVisible(button)) {
                dialog.dispatch(Message::Command, action.id);
            }
            return;
        }
        // A menu command, or a command the dialog manager sends for Enter or Escape.
        dialog.dispatch(Message::Command, static_cast<int>(LOWORD(wParam)));
        return;
    }
    if (isBitGrid(control)) {
        if (code == kBitGridChanged) {
            dialog.dispatch(Message::Change, id);
        }
        return;
    }
    if (hasClass(control, L"ComboBox")) {
        if (code == CBN_SELCHANGE) {
            dialog.dispatch(Message::SelChange, id);
        }
        return;
    }
    if (hasClass(control, L"Button")) {
        if (code == BN_CLICKED) {
            dialog.dispatch(Message::Command, id);
        }
        return;
    }
}

INT_PTR CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->native_->window = window;
        finishControls(dialog->native_->fixedFont, window, dialog->template_.controls);
        dialog->initialise();
        // The focus is set (or not) by initialise, as OnInitDialog asked.
        return FALSE;
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr || dialog->native_->window != window) {
        return FALSE;
    }
    return handle(*dialog, window, message, wParam, lParam);
}

INT_PTR DialogWindow::handle(CDialog& dialog, HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(dialog, window, wParam, lParam);
            return TRUE;
        case WM_CLOSE:
            // The close box and Alt+F4 are the Cancel command, as Escape is.
            dialog.dispatch(Message::Command, IDCANCEL);
            return TRUE;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const auto control = reinterpret_cast<HWND>(lParam);
            // Each step, even at a bound, arrives once as SB_THUMBPOSITION; SB_ENDSCROLL closes it.
            if (control != nullptr && LOWORD(wParam) == SB_THUMBPOSITION &&
                hasClass(control, UPDOWN_CLASSW)) {
                MessageArgs args;
                args.value = GetDlgCtrlID(control);
                dialog.dispatch(Message::HScroll, args.value, args);
            }
            return TRUE;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(window, &ps);
            paint(dialog, dc);
            EndPaint(window, &ps);
            if (firstPaintProbeArmed()) {
                fireFirstPaintProbe(window);
            }
            return TRUE;
        }
        case WM_PRINTCLIENT: {
            auto dc = reinterpret_cast<HDC>(wParam);
            RECT client{};
            GetClientRect(window, &client);
            FillRect(dc, &client, dialogBrush(window, dc));
            paint(dialog, dc);
            return TRUE;
        }
        case WM_SYSCOMMAND: {
            const SysCommandInProgress outer = g_sysCommand;
            g_sysCommand = SysCommandInProgress{wParam, lParam};
            struct Restore {
                SysCommandInProgress saved;
                ~Restore() { g_sysCommand = saved; }
            } restore{outer};
            MessageArgs args;
            args.value = static_cast<int>(wParam);
            dialog.dispatch(Message::SysCommand, 0, args);
            return TRUE;
        }
        case WM_CONTEXTMENU: {
            const auto under = reinterpret_cast<HWND>(wParam);
            // Over the dialog itself, a label or a group box: the window menu.
            if (under == window || hasClass(under, L"Static") ||
                (hasClass(under, L"Button") &&
                 (GetWindowLongW(under, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)) {
                int x = GET_X_LPARAM(lParam);
                int y = GET_Y_LPARAM(lParam);
                if (x == -1 && y == -1) {
                    POINT origin{0, 0};
                    ClientToScreen(window, &origin);
                    x = origin.x;
                    y = origin.y;
                }
                dialog.popupSystemMenu(x, y);
                return TRUE;
            }
            return FALSE;
        }
        case WM_DROPFILES: {
            auto drop = reinterpret_cast<HDROP>(wParam);
            const std::optional<std::string> path = droppedFile(drop);
            DragFinish(drop);
            // Handled once the drop has returned, so the drag source is released before the
            // handler can open a message box.
            if (path) {
                dialog.PostDropFiles(*path);
            }
            return TRUE;
        }
        case kDeliverDrop: {
            CDialog::Native& n = *dialog.native_;
            if (n.pendingDrops.empty()) {
                return TRUE;
            }
            const std::string path = std::move(n.pendingDrops.front());
            n.pendingDrops.pop_front();
            MessageArgs args;
            args.path = &path;
            dialog.dispatch(Message::DropFiles, 0, args);
            return TRUE;
        }
        case WM_LBUTTONDBLCLK: {
            MessageArgs args;
            args.point = Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            dialog.dispatch(Message::LButtonDblClk, 0, args);
            return TRUE;
        }
        case WM_SIZE:
            // Minimized and back: the paint handler draws something else.
            if (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED) {
                InvalidateRect(window, nullptr, TRUE);
            }
            return FALSE;
        case WM_DPICHANGED:
            // The system scales the dialog and its font first; the fixed-pitch font follows.
            PostMessageW(window, kRefreshFonts, 0, 0);
            return FALSE;
        case kRefreshFonts:
            applyFixedFont(dialog.native_->fixedFont, window, dialog.template_.controls);
            return TRUE;
        case WM_HELP:
            dialog.dispatch(Message::Command, ID_HELP);
            return TRUE;
        default:
            return FALSE;
    }
}

bool preTranslateDialogMessage(MSG& message) {
    if (message.hwnd == nullptr) {
        return false;
    }
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    CDialog* dialog = DialogWindow::dialogOf(root);
    if (dialog == nullptr) {
        return false;
    }
    if (HACCEL keys = DialogWindow::accelerators(*dialog);
        keys != nullptr && TranslateAcceleratorW(root, keys, &message) != 0) {
        return true;
    }
    return IsDialogMessageW(root, &message) != 0;
}

bool parseKeys(const std::string& keys, ACCEL& accel) {
    accel = ACCEL{FVIRTKEY, 0, 0};
    std::string rest = keys;
    for (;;) {
        const size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 >= rest.size()) {
            break;
        }
        std::string modifier = rest.substr(0, plus);
        for (char& c : modifier) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (modifier == "ctrl") {
            accel.fVirt |= FCONTROL;
        } else if (modifier == "alt") {
            accel.fVirt |= FALT;
        } else if (modifier == "shift") {
            accel.fVirt |= FSHIFT;
        } else {
            return false;
        }
        rest.erase(0, plus + 1);
    }
    if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
        accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(rest[0])));
        return true;
    }
    if (rest.size() >= 2 && (rest[0] == 'F' || rest[0] == 'f')) {
        const int n = std::atoi(rest.c_str() + 1);
        if (n >= 1 && n <= 24) {
            accel.key = static_cast<WORD>(VK_F1 + n - 1);
            return true;
        }
    }
    return false;
}

}  // namespace vorlane::dk
