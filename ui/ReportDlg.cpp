#include "ui/ReportDlg.h"

#include <algorithm>

#include "dialogkit/Translation.h"
#include "image/Check.h"
#include "image/Diff.h"
#include "image/Report.h"
#include "res/Templates.h"
#include "res/resource.h"
#include "ui/CoreTexts.h"
#include "ui/MainDlg.h"

namespace vorlane {

using namespace res;

SavedImage savedImage(const CRomImage& image) {
    auto copy = std::make_unique<CRomImage>(image);
    copy->fixChecksum();
    SavedImage saved;
    saved.bytes.assign(copy->data.begin(), copy->data.begin() + copy->validLength());
    // A fresh image, as the command-line tool reads a file: nothing kept from the editor's, and
    // the checksum checked whatever the window's box says.
    saved.image = std::make_unique<CRomImage>();
    saved.image->loadBytes(saved.bytes);
    saved.status = saved.image->validate();
    return saved;
}

std::string compareReport(const std::string& name, const SavedImage& saved,
                          const std::string& otherPath, const ReportTexts& texts) {
    auto other = std::make_unique<CRomImage>();
    other->loadFile(otherPath);
    const size_t otherLoaded = static_cast<size_t>(other->validLength());
    const RomStatus otherStatus = other->validate();
    const DiffSide a{name, {*saved.image, saved.status, saved.bytes.size()}};
    const DiffSide b{otherPath, {*other, otherStatus, otherLoaded}};
    return diffHuman(a, b, compareImages(a.compared, b.compared), texts);
}

std::string checkReport(const std::string& name, const SavedImage& saved, uint64_t chipSize,
                        const ReportTexts& texts) {
    // Every byte of the file is in the buffer: none lies past it.
    const auto findings =
        checkImage(*saved.image, saved.status, saved.bytes.size(), {chipSize, std::nullopt},
                   {.moreThanSize = false, .erasedPastBuffer = true}, texts);
    return checkHuman(name, *saved.image, saved.status, findings, texts);
}

CReportDlg::CReportDlg(const dk::DialogTemplate& dialogTemplate) : CDialog(dialogTemplate) {}

CReportDlg::~CReportDlg() = default;

const dk::MessageMap* CReportDlg::GetMessageMap() const {
    static const auto map =
        dk::makeMessageMap<CReportDlg>(dk::onClicked(IDC_COPY_REPORT, &CReportDlg::OnCopy));
    return &map;
}

void CReportDlg::DoDataExchange(dk::CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    dk::DDX_Text(dx, IDC_REPORT_TEXT, m_report);
}

void CReportDlg::OnCopy() {
    dk::CopyToClipboard(m_report);
}

CCompareDlg::CCompareDlg() : CReportDlg(kCompareDialog) {}

CCheckDlg::CCheckDlg() : CReportDlg(kCheckDialog) {}

CCheckDlg::~CCheckDlg() = default;

const dk::MessageMap* CCheckDlg::GetMessageMap() const {
    static const auto map =
        dk::makeMessageMap<CCheckDlg>(dk::onClicked<CCheckDlg>(IDC_COPY_REPORT, &CCheckDlg::OnCopy),
                                      dk::onSelChange(IDC_CHIP_SIZE, &CCheckDlg::OnChipSize),
                                      dk::onClicked(IDC_SAVE_PADDED, &CCheckDlg::OnSavePadded));
    return &map;
}

void CCheckDlg::DoDataExchange(dk::CDataExchange& dx) {
    CReportDlg::DoDataExchange(dx);
    dk::DDX_Control(dx, IDC_CHIP_SIZE, m_chipSizeCombo);
}

bool CCheckDlg::OnInitDialog() {
    saved_ = savedImage(*m_pImage);
    CReportDlg::OnInitDialog();
    // Indices are those of kChipSizes, after the image's own size.
    m_chipSizeCombo.AddString(dk::translate("Vorlane", "The image's own size"));
    for (const uint64_t size : kChipSizes) {
        m_chipSizeCombo.AddString(
            dk::formatText(dk::translate("Vorlane", "%1 KiB"), {std::to_string(size / 1024)}));
    }
    m_chipSizeCombo.SetCurSel(0);
    OnChipSize();
    return true;
}

uint64_t CCheckDlg::ChosenChipSize() const {
    const int choice = m_chipSizeCombo.GetCurSel();
    if (choice >= 1 && choice <= static_cast<int>(std::size(kChipSizes))) {
        return kChipSizes[choice - 1];
    }
    return saved_.bytes.size();
}

void CCheckDlg::OnChipSize() {
    m_report = checkReport(m_path, saved_, ChosenChipSize());
    UpdateData(false);
}

void CCheckDlg::OnSavePadded() {
    const uint64_t chipSize = ChosenChipSize();
    // Refused before a name is asked for, with the words of vorlane-cli pad.
    const std::string refusal =
        padRefusal(*saved_.image, saved_.status, saved_.bytes.size(), chipSize);
    if (!refusal.empty()) {
        MessageBox(
            dk::formatText(dk::translate("Vorlane", "Not padded: %1"), {padRefusalText(refusal)}),
            dk::translate("Vorlane", "Error"), dk::MB_OK | dk::MB_ICONSTOP);
        return;
    }
    dk::CFileDialog dialog(false, "rom", "", dk::OFN_HIDEREADONLY | dk::OFN_OVERWRITEPROMPT,
                           dk::translate("Vorlane", CMainDlg::kRomFilter));
    if (dialog.DoModal() != dk::IDOK) {
        return;
    }
    writePadded(dialog.GetPathName(), saved_.bytes, chipSize, WriteTo::RegularFileOnly);
}

}  // namespace vorlane
