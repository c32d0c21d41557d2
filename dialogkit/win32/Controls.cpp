#include "dialogkit/Controls.h"

#include "dialogkit/win32/Win32.h"

#include <commctrl.h>

#include <algorithm>

#include "dialogkit/win32/BitGrid.h"
#include "dialogkit/win32/ControlText.h"
#include "dialogkit/win32/Win32Handle.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

bool hasClass(HWND control, const wchar_t* className) {
    wchar_t name[64] = {};
    return control != nullptr && GetClassNameW(control, name, 64) > 0 &&
           lstrcmpiW(name, className) == 0;
}

std::string controlText(HWND control) {
    if (control == nullptr) {
        return {};
    }
    if (hasClass(control, L"ComboBox")) {
        const auto index = SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) {
            return {};
        }
        const auto length = SendMessageW(control, CB_GETLBTEXTLEN, index, 0);
        std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length > 0 ? length : 0));
        return narrow(text);
    }
    std::wstring text = windowText(control);
    if (hasClass(control, L"Edit") && (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0) {
        std::erase(text, L'\r');
    }
    return narrow(text);
}

void setControlText(HWND control, const std::string& text) {
    if (control == nullptr) {
        return;
    }
    const std::wstring wide = widen(text);
    if (hasClass(control, L"ComboBox")) {
        const auto index = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(wide.c_str()));
        SendMessageW(control, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index, 0);
        return;
    }
    // A multi-line edit breaks its lines at CR LF only.
    if (hasClass(control, L"Edit") && (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0) {
        std::wstring lines;
        lines.reserve(wide.size() + wide.size() / 16);
        for (size_t i = 0; i < wide.size(); ++i) {
            if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r')) {
                lines += L'\r';
            }
            lines += wide[i];
        }
        SetWindowTextW(control, lines.c_str());
        return;
    }
    SetWindowTextW(control, wide.c_str());
}

struct CWnd::Native {
    HWND window = nullptr;
};

CWnd::CWnd() = default;

CWnd::~CWnd() = default;

void CWnd::Attach(WindowHandle window) {
    if (!native_) {
        native_ = std::make_unique<Native>();
    }
    native_->window = toHwnd(window);
}

WindowHandle CWnd::GetSafeHwnd() const {
    return native_ && native_->window != nullptr && IsWindow(native_->window)
               ? toHandle(native_->window)
               : nullptr;
}

namespace {
HWND hwndOf(const CWnd& w) {
    return toHwnd(w.GetSafeHwnd());
}
}  // namespace

int CButton::GetCheck() const {
    HWND w = hwndOf(*this);
    return w != nullptr && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CButton::SetCheck(int check) {
    if (HWND w = hwndOf(*this)) {
        SendMessageW(w, BM_SETCHECK, check != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void CButton::Click() {
    HWND w = hwndOf(*this);
    if (w == nullptr || !IsWindowEnabled(w)) {
        return;
    }
    // As the mouse does it, without moving the focus: an automatic box toggles, then the parent
    // hears of the click.
    const LONG type = GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX) {
        const bool checked = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(w, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), BN_CLICKED),
                 reinterpret_cast<LPARAM>(w));
}

void CEdit::SetReadOnly(bool readOnly) {
    if (HWND w = hwndOf(*this)) {
        SendMessageW(w, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
    }
}

int CComboBox::AddString(const std::string& text) {
    HWND w = hwndOf(*this);
    if (w == nullptr) {
        return -1;
    }
    const auto index =
        SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

int CComboBox::GetCurSel() const {
    HWND w = hwndOf(*this);
    return w != nullptr ? static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0)) : -1;
}

int CComboBox::SetCurSel(int index) {
    HWND w = hwndOf(*this);
    if (w == nullptr) {
        return -1;
    }
    const auto count = SendMessageW(w, CB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) {
        SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return -1;
    }
    SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return index;
}

void CSpinButtonCtrl::SetRange(int lower, int upper) {
    if (HWND w = hwndOf(*this)) {
        const int low = static_cast<int16_t>(lower);
        const int high = static_cast<int16_t>(upper);
        SendMessageW(w, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
        // The position stays inside the range, as on the other backends.
        const int position = static_cast<int>(SendMessageW(w, UDM_GETPOS32, 0, 0));
        const int clamped = std::clamp(position, std::min(low, high), std::max(low, high));
        if (clamped != position) {
            SendMessageW(w, UDM_SETPOS32, 0, clamped);
        }
    }
}

int CSpinButtonCtrl::SetPos(int position) {
    HWND w = hwndOf(*this);
    return w != nullptr
               ? static_cast<int>(SendMessageW(w, UDM_SETPOS32, 0, static_cast<int16_t>(position)))
               : 0;
}

int CSpinButtonCtrl::GetPos() const {
    HWND w = hwndOf(*this);
    return w != nullptr ? static_cast<int>(SendMessageW(w, UDM_GETPOS32, 0, 0)) : 0;
}

void CBitGrid::SetRows(std::span<const uint8_t> rows) {
    if (HWND w = hwndOf(*this)) {
        setBitGridRows(w, std::vector<uint8_t>(rows.begin(), rows.end()));
    }
}

std::vector<uint8_t> CBitGrid::GetRows() const {
    HWND w = hwndOf(*this);
    return w != nullptr ? bitGridRows(w) : std::vector<uint8_t>{};
}

void CBitGrid::SetColours(Rgb lit, Rgb unlit) {
    if (HWND w = hwndOf(*this)) {
        setBitGridColours(w, lit, unlit);
    }
}

Point CBitGrid::GetCursor() const {
    HWND w = hwndOf(*this);
    return w != nullptr ? bitGridCursor(w) : Point{};
}

}  // namespace vorlane::dk
