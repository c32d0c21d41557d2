// The PCI ID dialog: the "EDIT" / "Edit End" sequence over what was typed, and closing without
// writing.
#include <algorithm>
#include <cctype>

#include "tests/ui/MainWindowFixture.h"
#include "ui/SubsysDlg.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;

std::string repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

TEST_F(MainWindowFixture, PciIdEditEndWritesTheFirstFourCharactersOfEachEntry) {
    load(write("card.rom", B().subsystemId(0x0008)));
    CSubsysDlg pci;  // prepared as the main window prepares it
    pci.m_pImage = &dlg->m_image;
    pci.m_subvendorIdText = hexId(dlg->m_image.subsystemVendorId);
    pci.m_subsystemIdText = hexId(dlg->m_image.subsystemId);
    ASSERT_TRUE(pci.Create());
    drive::activate(pci.window());
    const auto readOnly = [&](int id) { return drive::isReadOnly(pci.GetDlgItem(id)); };
    const auto press = [&](int id) { drive::click(pci.GetDlgItem(id)); };
    const auto type = [&](int id, const std::string& text) {
        drive::setText(pci.GetDlgItem(id), text);
    };
    const auto shown = [&] {
        return pci.GetDlgItemText(IDC_SUBVENDOR_ID) + " " + pci.GetDlgItemText(IDC_SUBSYSTEM_ID);
    };
    // The subsystem vendor ID and subsystem ID as the image and its header words hold them.
    const auto ids = [&] {
        const CRomImage& m = dlg->m_image;
        return std::vector<int>{m.subsystemVendorId, m.subsystemId, m.word(B::kHeader + 0x1C),
                                m.word(B::kHeader + 0x1E)};
    };

    EXPECT_TRUE(readOnly(IDC_SUBVENDOR_ID));
    // The label on its left.
    EXPECT_EQ(drive::accessibleName(pci.GetDlgItem(IDC_SUBVENDOR_ID)), "Subvendor ID:");
    press(IDC_EDIT_SUB);
    EXPECT_FALSE(readOnly(IDC_SUBVENDOR_ID) || readOnly(IDC_SUBSYSTEM_ID));
    EXPECT_EQ(shown(), "1002 ");  // the vendor offered, the subsystem emptied
    type(IDC_SUBSYSTEM_ID, "7777");
    press(IDC_EDIT_SUB);  // "EDIT" while editing drops what was typed
    EXPECT_EQ(shown(), "1002 ");
    press(IDC_EDIT_END);  // at once: "1002" + "0000" and "" + "0002"
    EXPECT_EQ(ids(), (std::vector<int>{0x1002, 0x0002, 0x1002, 0x0002}));
    const auto bytes = dlg->m_image.data;
    press(IDC_EDIT_END);  // while viewing, the values shown are written back unchanged
    EXPECT_TRUE(dlg->m_image.data == bytes);

    struct Case {
        std::string vendor, subsystem;
        int vendorId, subsystemId;
    };
    const std::vector<Case> cases = {
        // Short entries are filled up, long ones cut; anything but a hex digit counts as 0.
        {"12", "5", 0x1200, 0x5000},
        {"abcde", "12G4", 0xABCD, 0x1204},
        {"ABCD", "abcd", 0xABCD, 0xABCD},
        // A character is one, whatever its length in bytes.
        {" 1 2",
         "\xC3\xA9"
         "9\xE2\x82\xAC"
         "z",
         0x0102, 0x0900},
        // Junk of any length; the sharp s stays one character in the upper-case edit.
        {"abcd" + repeated("\xE2\x82\xAC", 5000),
         "\xC3\x9F"
         "f" +
             std::string(20000, '9'),
         0xABCD, 0x0F99},
        // An empty vendor entry writes vendor 0, and from then on Edit End changes nothing.
        {"", "44", 0, 0x4400},
        {"1002", "55", 0, 0x4400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vendor.substr(0, 6) + " / " + c.subsystem.substr(0, 6));
        press(IDC_EDIT_SUB);
        type(IDC_SUBVENDOR_ID, c.vendor);
        type(IDC_SUBSYSTEM_ID, c.subsystem);
        press(IDC_EDIT_END);
        EXPECT_EQ(ids(), (std::vector<int>{c.vendorId, c.subsystemId, c.vendorId, c.subsystemId}));
        // The edits, read-only again, show what the image holds.
        EXPECT_TRUE(readOnly(IDC_SUBVENDOR_ID) && readOnly(IDC_SUBSYSTEM_ID));
        std::string expected = hexId(c.vendorId) + " " + hexId(c.subsystemId);
        std::ranges::transform(expected, expected.begin(),
                               [](unsigned char ch) { return char(std::toupper(ch)); });
        EXPECT_EQ(shown(), expected);
    }
    // Edit End always pads; on its own, a character the text lacks counts as 0.
    EXPECT_EQ(std::make_pair(CSubsysDlg::Hex4("7"), CSubsysDlg::Hex4("")),
              std::make_pair(uint16_t{0x7000}, uint16_t{0}));
}

TEST_F(MainWindowFixture, SubSysButtonShowsTheIdsAndOkOrEscapeWriteNothing) {
    load(
        write("card.rom",
              B().deviceId(0x5a4b).vendorId(0x1002).subsystemVendorId(0x1458).subsystemId(0x00ea)));
    CSubsysDlg& pci = dlg->m_subsysDlg;
    const auto bytes = dlg->m_image.data;
    for (const auto close : {drive::Key::Return, drive::Key::Escape}) {
        std::vector<std::string> shown;
        drive::ModalDriver driver;
        driver.onNext([&](dk::WindowHandle) {
            for (int id : {IDC_VENDOR_ID, IDC_DEVICE_ID, IDC_SUBVENDOR_ID, IDC_SUBSYSTEM_ID}) {
                shown.push_back(pci.GetDlgItemText(id));
            }
            drive::click(pci.GetDlgItem(IDC_EDIT_SUB));
            const dk::WindowHandle subsystem = pci.GetDlgItem(IDC_SUBSYSTEM_ID);
            drive::setFocus(subsystem);
            drive::typeText(subsystem, "77");
            // Enter in an edit presses OK, the default button.
            drive::pressKey(subsystem, close);
        });
        click(IDC_SUBSYS);
        EXPECT_TRUE(driver.fired());
        EXPECT_EQ(shown, (std::vector<std::string>{"1002", "5A4B", "1458", "00EA"}));
        EXPECT_TRUE(dlg->m_image.data == bytes);
        // OK reads the controls back into the members, as shown; Escape does not.
        EXPECT_EQ(pci.m_subsystemIdText, close == drive::Key::Return ? "77" : "");
    }
    EXPECT_TRUE(drive::isVisible(dlg->window()));
}

}  // namespace
}  // namespace vorlane::test
