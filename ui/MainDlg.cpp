#include "ui/MainDlg.h"

#include <memory>

#include "dialogkit/App.h"
#include "dialogkit/FileDialog.h"
#include "dialogkit/PaintContext.h"
#include "dialogkit/Translation.h"
#include "image/Clock.h"
#include "image/Text.h"
#include "res/Strings.h"
#include "res/Templates.h"
#include "res/resource.h"
#include "ui/AboutDlg.h"
#include "ui/CoreTexts.h"
#include "ui/ReportDlg.h"

namespace vorlane {

using namespace res;
using dk::IDOK;

namespace {
constexpr int kIconSize = 32;
constexpr int kTvNone = 0;
constexpr int kTvNtsc = 1;
}  // namespace

CMainDlg::CMainDlg() : CDialog(kMainDialog), m_icon(dk::LoadIcon(IDR_MAINFRAME)) {}

CMainDlg::~CMainDlg() = default;

const dk::MessageMap* CMainDlg::GetMessageMap() const {
    static const auto map = dk::makeMessageMap<CMainDlg>(
        dk::onSysCommand(&CMainDlg::OnSysCommand), dk::onPaint(&CMainDlg::OnPaint),
        dk::onClicked(IDC_LOAD_BIOS, &CMainDlg::OnLoadBios),
        dk::onDropFiles(&CMainDlg::OnDropFiles),
        dk::onClicked(IDC_SAVE_BIOS, &CMainDlg::OnSaveBios), dk::onHScroll(&CMainDlg::OnHScroll),
        dk::onClicked(IDC_SYNC_CLOCKS, &CMainDlg::OnSyncClocks),
        dk::onSelChange(IDC_TV_STANDARD, &CMainDlg::OnTvStandard),
        dk::onClicked(IDC_CHECKSUM_OFF, &CMainDlg::OnChecksumOff),
        dk::onClicked(IDC_FONT, &CMainDlg::OnFont), dk::onClicked(IDC_SUBSYS, &CMainDlg::OnSubsys));
    return &map;
}

void CMainDlg::DoDataExchange(dk::CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    dk::DDX_Control(dx, IDC_CHECKSUM_OFF, m_checksumOffBox);
    dk::DDX_Control(dx, IDC_TV_STANDARD, m_tvCombo);
    dk::DDX_Control(dx, IDC_SYNC_CLOCKS, m_syncBox);
    dk::DDX_Control(dx, IDC_MEM_SPIN, m_memSpin);
    dk::DDX_Control(dx, IDC_CHIP_SPIN, m_chipSpin);
    dk::DDX_Check(dx, IDC_SYNC_CLOCKS, m_syncClocks);
    dk::DDX_Text(dx, IDC_MEM_TEXT, m_memText);
    dk::DDX_Text(dx, IDC_PATH, m_path);
    dk::DDX_Text(dx, IDC_BIOS_TEXT, m_biosText);
    dk::DDX_Check(dx, IDC_CHECKSUM_OFF, m_checksumOff);
    dk::DDX_Text(dx, IDC_CHIP_TEXT, m_chipText);
}

bool CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (dk::CMenu* systemMenu = GetSystemMenu()) {
        const std::string about = dk::translate("Vorlane", loadString(IDS_ABOUTBOX));
        if (!about.empty()) {
            systemMenu->AppendMenu(dk::MF_SEPARATOR);
            systemMenu->AppendMenu(dk::MF_STRING, IDM_ABOUTBOX, about);
        }
        // The keys after the tab work without opening the menu.
        systemMenu->AppendMenu(dk::MF_STRING, IDM_COMPARE,
                               dk::translate("Vorlane", loadString(IDS_COMPARE)));
        systemMenu->AppendMenu(dk::MF_STRING, IDM_CHECK,
                               dk::translate("Vorlane", loadString(IDS_CHECK)));
    }
    SetIcon(m_icon, true);
    SetWindowText(dk::formatText(dk::translate("Vorlane", loadString(IDS_CAPTION)), {kWebAddress}));

    // Indices are the image's TV standards, so the list must keep this order.
    m_tvCombo.AddString(dk::translate("Vorlane", "None"));
    m_tvCombo.AddString("NTSC");
    m_tvCombo.AddString("PAL");

    m_image.skipChecksum = 0;
    m_loaded = 0;
    // A file dragged from a file manager opens as if "Load Bios" had chosen it.
    DragAcceptFiles();
    SetButtonShortcuts(kMainShortcuts);
    // Takes the road of a dropped file, which is that of "Load Bios" once a file is chosen.
    if (!m_fileToOpen.empty()) {
        PostDropFiles(m_fileToOpen);
    }
    return true;
}

// Enter with the focus away from any push button arrives as OK. Ending the program there would
// lose unsaved edits, so the main window ignores it; Cancel, Escape and the close box still end it.
void CMainDlg::OnOK() {}

void CMainDlg::OnSysCommand(int id) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else if ((id & 0xFFF0) == IDM_COMPARE) {
        OnCompare();
    } else if ((id & 0xFFF0) == IDM_CHECK) {
        OnCheck();
    } else {
        CDialog::OnSysCommand(id);
    }
}

void CMainDlg::OnPaint(dk::PaintContext& dc) {
    if (IsIconic()) {
        const dk::Rect client = GetClientRect();
        const int x = (client.width() - kIconSize + 1) / 2;
        const int y = (client.height() - kIconSize + 1) / 2;
        dc.DrawIcon(x, y, m_icon);
    }
}

void CMainDlg::Refresh() {
    if (m_image.clockRecordLocated()) {
        m_chipText = clockText(m_image.engineFeedback(), m_image.stepClock);
        m_memText = clockText(m_image.memoryFeedback(), m_image.stepClock);
    } else {
        m_chipText.clear();
        m_memText.clear();
    }
    UpdateData(false);
}

void CMainDlg::OnLoadBios() {
    // The file is chosen first: cancelling keeps the loaded (and perhaps edited) image.
    dk::CFileDialog dialog(true, "rom", "", dk::OFN_FILEMUSTEXIST | dk::OFN_HIDEREADONLY,
                           dk::translate("Vorlane", kRomFilter));
    if (dialog.DoModal() != IDOK) {
        return;
    }
    LoadBios(dialog.GetPathName());
}

void CMainDlg::OnDropFiles(const std::string& path) {
    LoadBios(path);
}

void CMainDlg::LoadBios(const std::string& path) {
    // Read into a copy, so that a file that cannot be read leaves the image and the window as
    // they were. The copy keeps what reset keeps (the checksum switch, the IDs).
    auto incoming = std::make_unique<CRomImage>(m_image);
    incoming->reset();
    incoming->loadFile(path);
    m_image = *incoming;

    m_syncClocks = 0;
    m_chipText.clear();
    m_memText.clear();
    m_path.clear();
    m_biosText.clear();
    UpdateData(false);

    m_path = path;
    const RomStatus status = m_image.validate();
    m_loadStatus = status;
    if (status != kRomOk) {
        m_statusMessage = statusText(status);
        UpdateData(false);
        MessageBox(m_statusMessage, dk::translate("Vorlane", "Error"), dk::MB_OK | dk::MB_ICONSTOP);
    } else {
        m_biosText = latin1ToUtf8(m_image.headText()) + "   " + m_image.info();

        const FeedbackRange range = clockSpinRange(m_image.stepClock);
        m_chipSpin.SetRange(range.lower, range.upper);
        m_memSpin.SetRange(range.lower, range.upper);

        m_chipPos = m_image.engineFeedback();
        m_memPos = m_image.memoryFeedback();
        m_chipSpin.SetPos(m_chipPos);
        m_memSpin.SetPos(m_memPos);

        m_syncClocks = m_memPos == m_chipPos ? 1 : 0;
        m_syncBox.SetCheck(m_syncClocks);

        m_tvCombo.SetCurSel(m_image.tvStandard);

        // The box and the image's switch always agree: a successful load clears both.
        m_checksumOff = 0;
        m_checksumOffBox.SetCheck(0);
        m_image.skipChecksum = 0;

        Refresh();
    }
    m_loaded = 1;
}

void CMainDlg::OnSaveBios() {
    if (m_loaded == 0) {
        return;
    }
    // Asked before a file is chosen: no name is worth choosing for an image that is not saved.
    if (const char* refusal = saveRefusal(m_loadStatus, m_image.length)) {
        MessageBox(dk::formatText(dk::translate("Vorlane", "This image cannot be saved: %1."),
                                  {saveRefusalText(refusal)}),
                   dk::translate("Vorlane", "Error"), dk::MB_OK | dk::MB_ICONSTOP);
        return;
    }
    dk::CFileDialog dialog(false, "rom", "", dk::OFN_HIDEREADONLY | dk::OFN_OVERWRITEPROMPT,
                           dk::translate("Vorlane", kRomFilter));
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const std::string path = dialog.GetPathName();
    m_image.saveFile(path, WriteTo::RegularFileOnly);
    // Shown only once written: a failed save must not pass for the file in hand.
    m_path = path;
    m_checksumOff = 0;
    m_checksumOffBox.SetCheck(0);
    m_image.skipChecksum = 0;
    Refresh();
}

void CMainDlg::OnCompare() {
    if (m_loaded == 0) {
        return;
    }
    dk::CFileDialog dialog(true, "rom", "", dk::OFN_FILEMUSTEXIST | dk::OFN_HIDEREADONLY,
                           dk::translate("Vorlane", kRomFilter));
    if (dialog.DoModal() != IDOK) {
        return;
    }
    CCompareDlg compare;
    compare.m_report = compareReport(m_path, savedImage(m_image), dialog.GetPathName());
    compare.DoModal();
}

void CMainDlg::OnCheck() {
    if (m_loaded == 0) {
        return;
    }
    CCheckDlg check;
    check.m_pImage = &m_image;
    check.m_path = m_path;
    check.DoModal();
}

void CMainDlg::OnHScroll(int) {
    if (!m_image.clockGateOpen()) {
        m_chipText.clear();
        m_memText.clear();
        UpdateData(false);
        return;
    }
    m_chipPos = m_chipSpin.GetPos();
    if (m_syncClocks != 0) {
        m_memPos = m_chipPos;
        m_memSpin.SetPos(m_memPos);
    } else {
        m_memPos = m_memSpin.GetPos();
    }
    m_image.writeClocks(m_chipPos, m_memPos);
    Refresh();
}

void CMainDlg::OnSyncClocks() {
    if (!m_image.clockGateOpen()) {
        return;
    }
    m_syncClocks = m_syncBox.GetCheck();
    if (m_syncClocks != 0) {
        m_memPos = m_chipPos;
    }
    m_chipSpin.SetPos(m_chipPos);
    m_memSpin.SetPos(m_memPos);
    m_image.writeClocks(m_chipPos, m_memPos);
    Refresh();
}

void CMainDlg::OnTvStandard() {
    if (!m_image.tvGateOpen()) {
        return;
    }
    int selection = m_tvCombo.GetCurSel();
    if (selection < 0) {
        return;
    }
    // An image that has a TV table cannot be told to have none.
    if (selection == kTvNone) {
        m_tvCombo.SetCurSel(kTvNtsc);
        selection = kTvNtsc;
    }
    m_image.setTvStandard(selection);
    Refresh();
}

void CMainDlg::OnChecksumOff() {
    const int ticked = m_checksumOffBox.GetCheck();
    m_checksumOff = ticked;
    m_image.skipChecksum = ticked;
}

void CMainDlg::OnFont() {
    if (m_loaded == 0) {
        return;
    }
    m_fontDlg.m_pImage = &m_image;
    m_fontDlg.DoModal();
}

void CMainDlg::OnSubsys() {
    if (m_loaded == 0) {
        return;
    }
    m_subsysDlg.m_pImage = &m_image;
    m_subsysDlg.m_deviceIdText = hexId(m_image.deviceId);
    m_subsysDlg.m_vendorIdText = hexId(m_image.vendorId);
    m_subsysDlg.m_subvendorIdText = hexId(m_image.subsystemVendorId);
    m_subsysDlg.m_subsystemIdText = hexId(m_image.subsystemId);
    m_subsysDlg.DoModal();
}

}  // namespace vorlane
