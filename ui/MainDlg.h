// The main window: one ROM image, its clocks, TV standard and checksum switch.
#pragma once

#include <string>

#include "dialogkit/Dialog.h"
#include "dialogkit/Translation.h"
#include "image/RomImage.h"
#include "ui/FontDlg.h"
#include "ui/SubsysDlg.h"

namespace vorlane {

class CMainDlg : public dk::CDialog {
  public:
    CMainDlg();
    ~CMainDlg() override;

    const dk::MessageMap* GetMessageMap() const override;

    // Members in declaration order; the comments name the bound control.
    dk::CButton m_checksumOffBox;    // 1016
    dk::CComboBox m_tvCombo;         // 1011
    dk::CButton m_syncBox;           // 1008
    dk::CSpinButtonCtrl m_memSpin;   // 1006
    dk::CSpinButtonCtrl m_chipSpin;  // 1007
    int m_syncClocks = 0;            // check of 1008
    std::string m_memText;           // text of 1010
    std::string m_path;              // text of 1000
    std::string m_biosText;          // text of 1002
    int m_checksumOff = 0;           // check of 1016
    std::string m_chipText;          // text of 1009
    CRomImage m_image;
    CFontDlg m_fontDlg;
    CSubsysDlg m_subsysDlg;
    int m_chipPos = 0;
    int m_memPos = 0;
    std::string m_statusMessage;      // message of the last failed load
    int m_loaded = 0;                 // a chosen file was read and validated
    RomStatus m_loadStatus = kRomOk;  // what validation said of the image in hand
    dk::Icon m_icon;
    // A file named on the command line, opened once the window is shown; empty for none.
    std::string m_fileToOpen;

    // The open and save dialogs' filter, translated as a whole where it is shown.
    static constexpr const char* kRomFilter = DK_TRANSLATE_NOOP(
        "Vorlane", "Rom Files (*.rom)|*.rom|Bin Files (*.bin)|*.bin|All Files (*.*)|*.*||");

  protected:
    void DoDataExchange(dk::CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    void OnSysCommand(int id);
    void OnPaint(dk::PaintContext& dc);
    void OnLoadBios();
    void OnDropFiles(const std::string& path);
    void OnSaveBios();
    void OnHScroll(int id);
    void OnSyncClocks();
    void OnTvStandard();
    void OnChecksumOff();
    void OnFont();
    void OnSubsys();
    // The window menu's reports on the image as "Save Bios" would write it.
    void OnCompare();
    void OnCheck();

  private:
    void Refresh();
    // Everything "Load Bios" does once a path has been chosen.
    void LoadBios(const std::string& path);
};

}  // namespace vorlane
