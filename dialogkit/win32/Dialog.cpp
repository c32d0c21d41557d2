#include "dialogkit/Dialog.h"

#include "dialogkit/win32/DialogWindow.h"

#include "dialogkit/win32/Win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "dialogkit/OuterHandler.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"
#include "dialogkit/win32/BitGrid.h"
#include "dialogkit/win32/ControlText.h"
#include "dialogkit/win32/DialogTemplateBuilder.h"
#include "dialogkit/win32/Win32Handle.h"
#include "dialogkit/win32/Win32Icon.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

namespace {

HWND itemOf(const CDialog& dialog, int id) {
    return toHwnd(dialog.GetDlgItem(id));
}

}  // namespace

CDialog::CDialog(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate), native_(std::make_unique<Native>()) {}

CDialog::~CDialog() {
    DestroyWindow();
}

WindowHandle CDialog::window() const {
    return native_->window != nullptr && IsWindow(native_->window) ? toHandle(native_->window)
                                                                   : nullptr;
}

WindowHandle CDialog::GetDlgItem(int id) const {
    HWND w = toHwnd(window());
    if (w == nullptr || id == IDC_STATIC) {
        return nullptr;
    }
    return toHandle(::GetDlgItem(w, id));
}

WindowHandle CDialog::ownerWidget() const {
    // The active kit window of this program: the modal dialog running, or the main window.
    HWND active = GetActiveWindow();
    if (CDialog* running = DialogWindow::dialogOf(active); running != nullptr && running != this) {
        return toHandle(active);
    }
    if (CWinApp* app = AfxGetApp();
        app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this) {
        return app->m_pMainWnd->window();
    }
    return nullptr;
}

void CDialog::createWindow(WindowHandle parent) {
    registerBitGridClass();
    const std::vector<WORD> memory = buildDialogTemplate(template_, [](const char* text) {
        return widen(translate(kTemplateContext, text != nullptr ? text : ""));
    });
    native_->modal = false;
    // WM_INITDIALOG records the window and runs OnInitDialog before this returns.
    HWND w = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(memory.data()), toHwnd(parent),
        &DialogWindow::procedure, reinterpret_cast<LPARAM>(this));
    if (w == nullptr) {
        native_->window = nullptr;
    }
}

void CDialog::initialise() {
    HWND w = native_->window;
    runGuarded(toHandle(w), [this] {
        if (OnInitDialog() && window() != nullptr) {
            HWND dialog = native_->window;
            for (const ControlTemplate& c : template_.controls) {
                if ((c.style & kTabStop) == 0 || c.id == IDC_STATIC) {
                    continue;
                }
                HWND control = ::GetDlgItem(dialog, c.id);
                if (control != nullptr && IsWindowEnabled(control)) {
                    // Through the dialog manager, so that a push button becomes the default.
                    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
                    // The dialog manager selects the whole text of an edit it focuses; a report
                    // opens with its start in view and nothing selected, as on the other backends.
                    if (hasClass(control, L"Edit")) {
                        SendMessageW(control, EM_SETSEL, 0, 0);
                    }
                    break;
                }
            }
        }
    });
    addMenuShortcuts();
}

// The window menu's own items (below the system commands) go into the system's window menu; the
// items that name keys get them for the window's life, so that the keys work without opening it.
void CDialog::addMenuShortcuts() {
    HWND w = toHwnd(window());
    if (w == nullptr || !systemMenuBuilt_) {
        return;
    }
    HMENU menu = ::GetSystemMenu(w, FALSE);
    for (const CMenu::Item& item : systemMenu_.items()) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), widen(item.text).c_str());
        const auto tab = item.text.find('\t');
        ACCEL accel{};
        if (item.id < 0xF000 && tab != std::string::npos &&
            parseKeys(item.text.substr(tab + 1), accel)) {
            native_->keys.push_back(accel);
            native_->keyActions.push_back(KeyAction{KeyAction::SysCommand, item.id});
        }
    }
    native_->menuSynced = true;
    DialogWindow::rebuildAccelerators(*this);
}

int CDialog::DoModal() {
    DestroyWindow();
    endResult_.reset();
    HWND owner = toHwnd(ownerWidget());
    createWindow(toHandle(owner));
    int result = IDCANCEL;
    if (endResult_) {
        result = *endResult_;
    } else if (HWND w = toHwnd(window())) {
        native_->modal = true;
        if (owner != nullptr && IsWindowEnabled(owner)) {
            EnableWindow(owner, FALSE);
            native_->disabledOwner = owner;
        }
        ShowWindow(w, SW_SHOW);
        MSG message{};
        while (!endResult_ && window() != nullptr) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (got < 0) {
                break;
            }
            if (!preTranslateDialogMessage(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        result = endResult_.value_or(IDCANCEL);
        // The owner comes back before this window goes, so that it is the one activated.
        if (native_->disabledOwner != nullptr) {
            EnableWindow(native_->disabledOwner, TRUE);
            native_->disabledOwner = nullptr;
        }
        native_->modal = false;
    }
    DestroyWindow();
    if (owner != nullptr && IsWindowVisible(owner)) {
        SetActiveWindow(owner);
    }
    return result;
}

bool CDialog::Create() {
    DestroyWindow();
    endResult_.reset();
    createWindow(ownerWidget());
    HWND w = toHwnd(window());
    if (w != nullptr && !endResult_) {
        ShowWindow(w, SW_SHOW);
    }
    return w != nullptr;
}

void CDialog::DestroyWindow() {
    HWND w = native_->window;
    native_->window = nullptr;
    if (w != nullptr && IsWindow(w)) {
        // The window no longer reaches this object, even from a handler still on the stack.
        SetWindowLongPtrW(w, DWLP_USER, 0);
        ::DestroyWindow(w);
    }
    if (native_->fixedFont != nullptr) {
        DeleteObject(native_->fixedFont);
        native_->fixedFont = nullptr;
    }
    if (native_->accelerators != nullptr) {
        DestroyAcceleratorTable(native_->accelerators);
        native_->accelerators = nullptr;
    }
    native_->toolTip = nullptr;
    native_->keys.clear();
    native_->keyActions.clear();
    native_->pendingDrops.clear();
    native_->menuSynced = false;
    systemMenu_.clear();
    systemMenuBuilt_ = false;
}

void CDialog::EndDialog(int result) {
    endResult_ = result;
    if (HWND w = toHwnd(window())) {
        if (native_->modal) {
            // Gone from the screen at once, as the system's own modal dialogs go; the owner comes
            // back first, so that it is the one activated.
            if (native_->disabledOwner != nullptr) {
                EnableWindow(native_->disabledOwner, TRUE);
                native_->disabledOwner = nullptr;
            }
            ShowWindow(w, SW_HIDE);
            PostMessageW(w, WM_NULL, 0, 0);  // wakes the modal loop to see the result
        } else {
            ShowWindow(w, SW_HIDE);
        }
    }
}

void CDialog::OnSysCommand(int id) {
    HWND w = toHwnd(window());
    if (w == nullptr) {
        return;
    }
    switch (id & 0xFFF0) {
        case SC_CLOSE:
            // The close box is the Cancel command, as Escape is.
            dispatch(Message::Command, IDCANCEL);
            break;
        case SC_MINIMIZE:
            ShowWindow(w, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(w, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(w, SW_RESTORE);
            break;
        default:
            // Moving, sizing, the menu keys: the system's own.
            DefWindowProcW(
                w, WM_SYSCOMMAND, static_cast<WPARAM>(id),
                g_sysCommand.command == static_cast<WPARAM>(id) ? g_sysCommand.position : 0);
            break;
    }
}

void CDialog::SetWindowText(const std::string& caption) {
    if (HWND w = toHwnd(window())) {
        SetWindowTextW(w, widen(caption).c_str());
    }
}

std::string CDialog::GetWindowText() const {
    HWND w = toHwnd(window());
    return w != nullptr ? narrow(windowText(w)) : std::string();
}

void CDialog::SetIcon(const Icon& icon, bool) {
    HWND w = toHwnd(window());
    if (w == nullptr || icon.isNull()) {
        return;
    }
    // Both sizes, as the other backends set the window's icon whole.
    if (HICON big = nativeIcon(icon, GetSystemMetrics(SM_CXICON))) {
        SendMessageW(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    }
    if (HICON little = nativeIcon(icon, GetSystemMetrics(SM_CXSMICON))) {
        SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little));
    }
}

bool CDialog::IsIconic() const {
    HWND w = toHwnd(window());
    return w != nullptr && ::IsIconic(w);
}

Rect CDialog::GetClientRect() const {
    RECT r{};
    HWND w = toHwnd(window());
    if (w == nullptr || !::GetClientRect(w, &r)) {
        return Rect{};
    }
    return Rect{r.left, r.top, r.right, r.bottom};
}

Rect CDialog::GetDlgItemClientRect(int id) const {
    RECT r{};
    HWND item = itemOf(*this, id);
    if (item == nullptr || !::GetClientRect(item, &r)) {
        return Rect{};
    }
    return Rect{r.left, r.top, r.right, r.bottom};
}

Rect CDialog::MapDlgItemRectToDialog(int id, const Rect& rect) const {
    HWND item = itemOf(*this, id);
    HWND w = toHwnd(window());
    if (item == nullptr || w == nullptr) {
        return rect;
    }
    POINT origin{0, 0};
    MapWindowPoints(item, w, &origin, 1);
    return Rect{rect.left + origin.x, rect.top + origin.y, rect.right + origin.x,
                rect.bottom + origin.y};
}

void CDialog::Invalidate() {
    if (HWND w = toHwnd(window())) {
        // The controls too: the dialog paints beneath them (frames it draws into show through).
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void CDialog::DragAcceptFiles(bool accept) {
    if (HWND w = toHwnd(window())) {
        ::DragAcceptFiles(w, accept ? TRUE : FALSE);
    }
}

void CDialog::PostDropFiles(const std::string& path) {
    if (HWND w = toHwnd(window())) {
        native_->pendingDrops.push_back(path);
        PostMessageW(w, kDeliverDrop, 0, 0);
    }
}

void CDialog::SetButtonShortcuts(std::span<const ButtonShortcut> shortcuts) {
    HWND w = toHwnd(window());
    if (w == nullptr) {
        return;
    }
    for (const ButtonShortcut& s : shortcuts) {
        HWND button = itemOf(*this, s.id);
        ACCEL accel{};
        if (button == nullptr || !parseKeys(s.keys, accel)) {
            continue;
        }
        native_->keys.push_back(accel);
        native_->keyActions.push_back(KeyAction{KeyAction::PressButton, s.id});
        if (native_->toolTip == nullptr) {
            native_->toolTip =
                CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        }
        if (native_->toolTip != nullptr) {
            std::wstring text = widen(s.keys);
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = w;
            tool.uId = reinterpret_cast<UINT_PTR>(button);
            tool.lpszText = text.data();
            SendMessageW(native_->toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    DialogWindow::rebuildAccelerators(*this);
}

CMenu* CDialog::GetSystemMenu() {
    if ((template_.style & kSysMenu) == 0) {
        return nullptr;
    }
    // The system's window menu has its standard entries already; the dialog's own are appended
    // to it once OnInitDialog has added them.
    systemMenuBuilt_ = true;
    return &systemMenu_;
}

void CDialog::popupSystemMenu(int globalX, int globalY) {
    HWND w = toHwnd(window());
    if (w == nullptr || (template_.style & kSysMenu) == 0) {
        return;
    }
    HMENU menu = ::GetSystemMenu(w, FALSE);
    const int chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, globalX, globalY, 0, w, nullptr));
    if (chosen != 0) {
        MessageArgs args;
        args.value = chosen;
        dispatch(Message::SysCommand, 0, args);
    }
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    if (HWND item = itemOf(*this, id)) {
        setControlText(item, text);
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    HWND item = itemOf(*this, id);
    return item != nullptr ? controlText(item) : std::string();
}

int CDialog::IsDlgButtonChecked(int id) const {
    HWND item = itemOf(*this, id);
    return item != nullptr && SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CDialog::CheckDlgButton(int id, int check) {
    if (HWND item = itemOf(*this, id)) {
        SendMessageW(item, BM_SETCHECK, check != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

}  // namespace vorlane::dk
