#include "ui/SubsysDlg.h"

#include "image/Text.h"
#include "res/Templates.h"
#include "res/resource.h"

namespace vorlane {

using namespace res;

namespace {

// The PCI vendor ID of ATI, offered as the subsystem vendor when editing starts.
constexpr const char* kAtiVendor = "1002";

int hexDigit(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return 0;
}

bool continuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

std::string hexId(uint16_t value) {
    return formatPlain("%04x", static_cast<unsigned>(value));
}

uint16_t CSubsysDlg::Hex4(std::string_view text) {
    unsigned value = 0;
    int taken = 0;
    for (size_t i = 0; i < text.size() && taken < 4; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (continuationByte(c)) {
            continue;  // the rest of a character already counted
        }
        value = (value << 4) | static_cast<unsigned>(hexDigit(c));
        ++taken;
    }
    // A text shorter than four characters is read as if filled up with zeros.
    value <<= 4 * (4 - taken);
    return static_cast<uint16_t>(value);
}

CSubsysDlg::CSubsysDlg() : CDialog(kSubsysDialog) {}

CSubsysDlg::~CSubsysDlg() = default;

const dk::MessageMap* CSubsysDlg::GetMessageMap() const {
    static const auto map =
        dk::makeMessageMap<CSubsysDlg>(dk::onClicked(IDC_EDIT_SUB, &CSubsysDlg::OnEdit),
                                       dk::onClicked(IDC_EDIT_END, &CSubsysDlg::OnEditEnd));
    return &map;
}

void CSubsysDlg::DoDataExchange(dk::CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    dk::DDX_Control(dx, IDC_SUBSYSTEM_ID, m_subsystemIdEdit);
    dk::DDX_Control(dx, IDC_SUBVENDOR_ID, m_subvendorIdEdit);
    dk::DDX_Text(dx, IDC_DEVICE_ID, m_deviceIdText);
    dk::DDX_Text(dx, IDC_VENDOR_ID, m_vendorIdText);
    dk::DDX_Text(dx, IDC_SUBVENDOR_ID, m_subvendorIdText);
    dk::DDX_Text(dx, IDC_SUBSYSTEM_ID, m_subsystemIdText);
}

void CSubsysDlg::OnOK() {
    CDialog::OnOK();
}

void CSubsysDlg::OnEdit() {
    m_subvendorIdEdit.SetReadOnly(false);
    m_subsystemIdEdit.SetReadOnly(false);
    m_subvendorIdText = kAtiVendor;
    m_subsystemIdText.clear();
    SetDlgItemText(IDC_SUBSYSTEM_ID, m_subsystemIdText);
    SetDlgItemText(IDC_SUBVENDOR_ID, m_subvendorIdText);
    UpdateData(false);
}

void CSubsysDlg::OnEditEnd() {
    UpdateData(true);
    m_subvendorIdEdit.SetReadOnly(true);
    m_subsystemIdEdit.SetReadOnly(true);
    m_subvendorIdText = GetDlgItemText(IDC_SUBVENDOR_ID);
    m_subsystemIdText = GetDlgItemText(IDC_SUBSYSTEM_ID);

    // What is appended fills up a short entry; only the first four characters count.
    m_subvendorIdText += "0000";
    m_subsystemIdText += "0002";
    const uint16_t newSubsystem = Hex4(m_subsystemIdText);
    const uint16_t newVendor = Hex4(m_subvendorIdText);
    if (m_pImage == nullptr) {
        return;
    }
    m_pImage->setSubsystemIds(newVendor, newSubsystem);
    // The image decides what is shown: it may have refused the change.
    m_subvendorIdText = hexId(m_pImage->subsystemVendorId);
    m_subsystemIdText = hexId(m_pImage->subsystemId);
    SetDlgItemText(IDC_SUBSYSTEM_ID, m_subsystemIdText);
    SetDlgItemText(IDC_SUBVENDOR_ID, m_subvendorIdText);
}

}  // namespace vorlane
