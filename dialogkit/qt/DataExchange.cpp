#include "dialogkit/DataExchange.h"

#include <QAbstractButton>
#include <stdexcept>

#include "dialogkit/Controls.h"
#include "dialogkit/Dialog.h"
#include "dialogkit/qt/ControlText.h"
#include "dialogkit/qt/QtHandle.h"

namespace vorlane::dk {

namespace {
// A binding to a control the template lacks is a fault of the dialog's code, not of its user.
QWidget* requireItem(const CDialog& dialog, int id) {
    QWidget* widget = toWidget(dialog.GetDlgItem(id));
    if (widget == nullptr) {
        throw std::logic_error("the dialog has no control with ID " + std::to_string(id));
    }
    return widget;
}
}  // namespace

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    QWidget* widget = requireItem(*dx.m_pDlgWnd, id);
    if (control.GetSafeHwnd() != toHandle(widget)) {
        control.Attach(toHandle(widget));
    }
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    QWidget* widget = requireItem(*dx.m_pDlgWnd, id);
    if (dx.m_bSaveAndValidate) {
        value = controlText(widget).toStdString();
    } else {
        setControlText(widget, QString::fromStdString(value));
    }
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    auto* button = qobject_cast<QAbstractButton*>(requireItem(*dx.m_pDlgWnd, id));
    if (button == nullptr) {
        throw std::logic_error("control " + std::to_string(id) + " is not a button");
    }
    if (dx.m_bSaveAndValidate) {
        value = button->isChecked() ? 1 : 0;
    } else {
        button->setChecked(value != 0);
    }
}

}  // namespace vorlane::dk
