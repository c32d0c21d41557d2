// The About box, reached from the main window's window menu.
#pragma once

#include "dialogkit/Dialog.h"

namespace vorlane {

class CAboutDlg : public dk::CDialog {
  public:
    CAboutDlg();
    ~CAboutDlg() override;

  protected:
    void DoDataExchange(dk::CDataExchange& dx) override;
};

}  // namespace vorlane
