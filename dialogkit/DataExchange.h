// Data exchange: a dialog's DoDataExchange binds its members to its controls, in either direction.
// Pair: CDialog (Dialog.h) hands an exchange to DoDataExchange, and the exchange finds the
// controls through that dialog; the header names CDialog only, the source includes it.
#pragma once

#include <string>

namespace vorlane::dk {

class CDialog;
class CWnd;

class CDataExchange {
  public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_pDlgWnd(&dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;  // true: controls to members; false: members to controls
};

// Binds a handle to control `id` (attached on the first exchange of each window).
void DDX_Control(CDataExchange& dx, int id, CWnd& control);
// Text of control `id` <-> `value` (UTF-8).
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// Check state of check box `id` <-> `value` (0 or 1).
void DDX_Check(CDataExchange& dx, int id, int& value);

}  // namespace vorlane::dk
