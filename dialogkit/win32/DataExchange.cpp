#include "dialogkit/DataExchange.h"

#include <stdexcept>

#include "dialogkit/Controls.h"
#include "dialogkit/Dialog.h"
#include "dialogkit/win32/ControlText.h"
#include "dialogkit/win32/Win32Handle.h"

namespace vorlane::dk {

namespace {
// A binding to a control the template lacks is a fault of the dialog's code, not of its user.
HWND requireItem(const CDialog& dialog, int id) {
    HWND control = toHwnd(dialog.GetDlgItem(id));
    if (control == nullptr) {
        throw std::logic_error("the dialog has no control with ID " + std::to_string(id));
    }
    return control;
}
}  // namespace

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    HWND window = requireItem(*dx.m_pDlgWnd, id);
    if (control.GetSafeHwnd() != toHandle(window)) {
        control.Attach(toHandle(window));
    }
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    HWND window = requireItem(*dx.m_pDlgWnd, id);
    if (dx.m_bSaveAndValidate) {
        value = controlText(window);
    } else {
        setControlText(window, value);
    }
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    HWND button = requireItem(*dx.m_pDlgWnd, id);
    if (!hasClass(button, L"Button")) {
        throw std::logic_error("control " + std::to_string(id) + " is not a button");
    }
    if (dx.m_bSaveAndValidate) {
        value = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    } else {
        SendMessageW(button, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

}  // namespace vorlane::dk
