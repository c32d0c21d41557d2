#include "ui/AboutDlg.h"

#include "res/Templates.h"

namespace vorlane {

CAboutDlg::CAboutDlg() : CDialog(res::kAboutDialog) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(dk::CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
}

}  // namespace vorlane
