// The PCI ID dialog: what it shows, the "EDIT" / "Edit End" sequence over what was typed, and
// closing without writing.
#include <QLineEdit>

#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "SubsysDlg.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;

TEST(Hex4, FirstFourCharactersEachOnItsOwn) {
    EXPECT_EQ(CSubsysDlg::Hex4("10020000"), 0x1002);
    EXPECT_EQ(CSubsysDlg::Hex4("0002"), 0x0002);
    EXPECT_EQ(CSubsysDlg::Hex4("120000"), 0x1200);
    EXPECT_EQ(CSubsysDlg::Hex4("50002"), 0x5000);
    EXPECT_EQ(CSubsysDlg::Hex4("ABCDE"), 0xABCD);
    EXPECT_EQ(CSubsysDlg::Hex4("abcd"), 0xABCD);
    EXPECT_EQ(CSubsysDlg::Hex4("12G4"), 0x1204);
    EXPECT_EQ(CSubsysDlg::Hex4(" 1 2"), 0x0102);
    EXPECT_EQ(CSubsysDlg::Hex4("-f+F"), 0x0F0F);
    EXPECT_EQ(CSubsysDlg::Hex4("ffff"), 0xFFFF);
    // A character is one whatever its length in bytes; a missing one counts as 0.
    EXPECT_EQ(CSubsysDlg::Hex4("\xC3\xA9"
                               "123"),
              0x0123);
    EXPECT_EQ(CSubsysDlg::Hex4("\xE2\x82\xAC"
                               "F\xF0\x9F\x98\x80"
                               "A"),
              0x0F0A);
    EXPECT_EQ(CSubsysDlg::Hex4("7"), 0x7000);
    EXPECT_EQ(CSubsysDlg::Hex4(""), 0);
    EXPECT_EQ(hexId(0xABCD), "abcd");
    EXPECT_EQ(hexId(0x0002), "0002");
}

class SubsysDialogTest : public MainWindowFixture {
  protected:
    void TearDown() override {
        pci.reset();
        MainWindowFixture::TearDown();
    }

    // Loads the image and shows the dialog over it the way the main window prepares it.
    void open(const RomBuilder& builder = B()) {
        load(write("card.rom", builder));
        pci = std::make_unique<CSubsysDlg>();
        pci->m_pImage = &dlg->m_image;
        pci->m_deviceIdText = hexId(dlg->m_image.deviceId);
        pci->m_vendorIdText = hexId(dlg->m_image.vendorId);
        pci->m_subvendorIdText = hexId(dlg->m_image.subsystemVendorId);
        pci->m_subsystemIdText = hexId(dlg->m_image.subsystemId);
        ASSERT_TRUE(pci->Create());
        QApplication::setActiveWindow(pci->window());
    }
    QLineEdit* edit(int id) const { return qobject_cast<QLineEdit*>(pci->GetDlgItem(id)); }
    std::string shown(int id) const { return pci->GetDlgItemText(id); }
    void press(int id) { QTest::mouseClick(pci->GetDlgItem(id), Qt::LeftButton); }
    // Replaces the edit's text by typing.
    void type(int id, const QString& text) {
        QLineEdit* e = edit(id);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        // Key by key, as typed, letters outside ASCII included.
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // The subsystem vendor ID and subsystem ID the image holds, from its header words.
    std::pair<uint16_t, uint16_t> headerIds() const {
        return {dlg->m_image.word(B::kHeader + 0x1C), dlg->m_image.word(B::kHeader + 0x1E)};
    }
    // Types both IDs, presses "Edit End" and returns what the image then holds.
    std::pair<uint16_t, uint16_t> enter(const QString& vendor, const QString& subsystem) {
        press(IDC_EDIT_SUB);
        type(IDC_SUBVENDOR_ID, vendor);
        type(IDC_SUBSYSTEM_ID, subsystem);
        press(IDC_EDIT_END);
        return {dlg->m_image.subsystemVendorId, dlg->m_image.subsystemId};
    }

    std::unique_ptr<CSubsysDlg> pci;
};

TEST_F(SubsysDialogTest, EditThenEditEndWritesWhatWasTyped) {
    open(B().subsystemId(0x0008));
    EXPECT_TRUE(edit(IDC_SUBVENDOR_ID)->isReadOnly());
    EXPECT_TRUE(edit(IDC_SUBSYSTEM_ID)->isReadOnly());

    press(IDC_EDIT_SUB);
    EXPECT_FALSE(edit(IDC_SUBVENDOR_ID)->isReadOnly());
    EXPECT_FALSE(edit(IDC_SUBSYSTEM_ID)->isReadOnly());
    EXPECT_EQ(shown(IDC_SUBVENDOR_ID), "1002");
    EXPECT_EQ(shown(IDC_SUBSYSTEM_ID), "");

    // At once "Edit End": "1002" + "0000" and "" + "0002".
    press(IDC_EDIT_END);
    EXPECT_TRUE(edit(IDC_SUBVENDOR_ID)->isReadOnly());
    EXPECT_TRUE(edit(IDC_SUBSYSTEM_ID)->isReadOnly());
    EXPECT_EQ(headerIds(), std::make_pair(uint16_t{0x1002}, uint16_t{0x0002}));
    EXPECT_EQ(pci->m_subvendorIdText, "1002");
    EXPECT_EQ(pci->m_subsystemIdText, "0002");
    EXPECT_EQ(shown(IDC_SUBSYSTEM_ID), "0002");

    // Short entries are filled up, long ones cut; letters show and count in either case.
    EXPECT_EQ(enter("12", "5"), std::make_pair(uint16_t{0x1200}, uint16_t{0x5000}));
    EXPECT_EQ(enter("abcde", "12G4"), std::make_pair(uint16_t{0xABCD}, uint16_t{0x1204}));
    EXPECT_EQ(shown(IDC_SUBVENDOR_ID), "ABCD");
    EXPECT_EQ(pci->m_subvendorIdText, "abcd");
    EXPECT_EQ(headerIds(), std::make_pair(uint16_t{0xABCD}, uint16_t{0x1204}));
    EXPECT_EQ(enter(" 1 2", QString::fromUtf8("\xC3\xA9"
                                              "9z")),
              std::make_pair(uint16_t{0x0102}, uint16_t{0x0900}));

    // "EDIT" while editing drops what was typed.
    press(IDC_EDIT_SUB);
    type(IDC_SUBSYSTEM_ID, "7777");
    press(IDC_EDIT_SUB);
    EXPECT_EQ(shown(IDC_SUBSYSTEM_ID), "");
    EXPECT_EQ(shown(IDC_SUBVENDOR_ID), "1002");

    // "Edit End" while viewing writes back the values shown: the bytes do not change.
    press(IDC_EDIT_END);
    const auto bytes = dlg->m_image.data;
    press(IDC_EDIT_END);
    EXPECT_TRUE(dlg->m_image.data == bytes);
    EXPECT_EQ(shown(IDC_SUBSYSTEM_ID), "0002");
}

TEST_F(SubsysDialogTest, AnythingTypedIsTakenAndNothingCrashes) {
    open();
    // Pasted or long text; the edit keeps it in upper case, only the first four characters count.
    press(IDC_EDIT_SUB);
    const auto paste = [&](int id, const QString& text) {
        edit(id)->selectAll();
        edit(id)->insert(text);
    };
    paste(IDC_SUBVENDOR_ID, QString(5000, QChar(u'\u20AC')));
    paste(IDC_SUBSYSTEM_ID, QString::fromUtf8("\xC3\x9F"
                                              "f") +
                                QString(20000, u'9'));
    press(IDC_EDIT_END);
    // The euro signs give 0; the sharp s shows as "SS", so the subsystem reads "SSF9".
    EXPECT_EQ(dlg->m_image.subsystemVendorId, 0);
    EXPECT_EQ(dlg->m_image.subsystemId, 0x00F9);
    EXPECT_EQ(shown(IDC_SUBVENDOR_ID), "0000");
    EXPECT_EQ(shown(IDC_SUBSYSTEM_ID), "00F9");
}

TEST_F(SubsysDialogTest, SubsystemVendorZeroMakesEditEndChangeNothing) {
    // An empty vendor entry writes vendor 0, and from then on nothing changes.
    open(B().subsystemId(0x0031));
    EXPECT_EQ(enter("", "44"), std::make_pair(uint16_t{0}, uint16_t{0x4400}));
    const auto bytes = dlg->m_image.data;
    EXPECT_EQ(enter("1002", "55"), std::make_pair(uint16_t{0}, uint16_t{0x4400}));
    EXPECT_TRUE(dlg->m_image.data == bytes);
    // The edits fall back to what the image holds.
    EXPECT_EQ(shown(IDC_SUBVENDOR_ID), "0000");
    EXPECT_EQ(shown(IDC_SUBSYSTEM_ID), "4400");
    EXPECT_TRUE(edit(IDC_SUBVENDOR_ID)->isReadOnly());
}

TEST_F(MainWindowFixture, SubSysButtonShowsTheIdsAndClosingWritesNothing) {
    load(
        write("card.rom",
              B().deviceId(0x5a4b).vendorId(0x1002).subsystemVendorId(0x1458).subsystemId(0x00ea)));
    CSubsysDlg& pci = dlg->m_subsysDlg;
    std::vector<std::string> shownTexts;
    QString title;
    bool readOnly = false;
    const auto bytes = dlg->m_image.data;

    for (const auto close : {Qt::Key_Return, Qt::Key_Escape}) {
        ModalDriver driver;
        driver.onNext(ModalDriver::Kind::Modal, [&](QWidget* modal) {
            title = modal->windowTitle();
            shownTexts.clear();
            for (int id : {IDC_VENDOR_ID, IDC_DEVICE_ID, IDC_SUBVENDOR_ID, IDC_SUBSYSTEM_ID}) {
                shownTexts.push_back(pci.GetDlgItemText(id));
            }
            readOnly = qobject_cast<QLineEdit*>(pci.GetDlgItem(IDC_SUBSYSTEM_ID))->isReadOnly();
            QTest::mouseClick(pci.GetDlgItem(IDC_EDIT_SUB), Qt::LeftButton);
            auto* subsystem = qobject_cast<QLineEdit*>(pci.GetDlgItem(IDC_SUBSYSTEM_ID));
            subsystem->setFocus();
            QTest::keyClicks(subsystem, "77");
            // Enter in an edit presses OK, the default button.
            QTest::keyClick(subsystem, close);
        });
        click(IDC_SUBSYS);
        EXPECT_TRUE(driver.fired());
        EXPECT_FALSE(driver.timedOut());
        EXPECT_EQ(title, "Vorlane");
        EXPECT_EQ(shownTexts, (std::vector<std::string>{"1002", "5A4B", "1458", "00EA"}));
        EXPECT_TRUE(readOnly);
        EXPECT_EQ(pci.m_pImage, &dlg->m_image);
        EXPECT_TRUE(dlg->m_image.data == bytes);
        EXPECT_EQ(dlg->m_image.subsystemId, 0x00ea);
        // OK reads the controls back into the members, as shown; Escape does not.
        if (close == Qt::Key_Return) {
            EXPECT_EQ(pci.m_deviceIdText, "5A4B");
            EXPECT_EQ(pci.m_subsystemIdText, "77");
        } else {
            EXPECT_EQ(pci.m_deviceIdText, "5a4b");
            EXPECT_EQ(pci.m_subsystemIdText, "");
        }
    }
    EXPECT_TRUE(dlg->window()->isVisible());
}

}  // namespace
}  // namespace vorlane::test
