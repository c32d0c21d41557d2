// Dialogs realized from templates: geometry, controls by ID, data exchange, message maps, the
// outer handler, Enter and Escape, modal runs and the window menu.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

#include "ModalDriver.h"
#include "dialogkit/App.h"
#include "dialogkit/Dialog.h"
#include "dialogkit/PaintContext.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Widgets.h"

namespace vorlane::dk {
namespace {

using test::ModalDriver;

constexpr int IDC_GO = 100;
constexpr int IDC_NAME = 101;
constexpr int IDC_LOCK = 102;
constexpr int IDC_LIST = 103;
constexpr int IDC_VALUE = 104;
constexpr int IDC_SPIN = 105;
constexpr int IDC_FRAME = 106;
constexpr int IDC_FAIL = 107;
constexpr int IDM_ABOUT = 0x10;

constexpr ControlTemplate kControls[] = {
    {IDC_GO, ControlKind::PushButton, "&Go", 150, 7, 50, 14, kTabStop},
    {IDC_STATIC, ControlKind::Static, "Name:", 7, 9, 30, 8},
    {IDC_NAME, ControlKind::Edit, "", 40, 7, 100, 12, kUpperCase | kStaticEdge},
    {IDC_LOCK, ControlKind::AutoCheckBox, "Lock", 7, 30, 50, 10, kLeftText},
    {IDC_LIST, ControlKind::ComboBox, "", 60, 30, 60, 48},
    {IDC_STATIC, ControlKind::Static, "Value", 7, 50, 50, 8, kCentre},
    {IDC_VALUE, ControlKind::Edit, "", 7, 60, 50, 12, kReadOnly | kCentre | kStaticEdge},
    {IDC_SPIN, ControlKind::UpDown, "Spin", 7, 76, 50, 12,
     kHorz | kArrowKeys | kAutoBuddy | kSetBuddyInt},
    {IDC_FRAME, ControlKind::StaticFrame, "", 100, 50, 64, 40, kWhiteFrame | kTransparent},
    {IDC_FAIL, ControlKind::PushButton, "Fail", 150, 30, 50, 14},
};
constexpr DialogTemplate kTemplate{
    1, "Kit test", "MS Sans Serif", 8, 208, 100, kModalFrame | kCaption | kSysMenu, kControls};

constexpr ControlTemplate kDefaultControls[] = {
    {IDOK, ControlKind::DefPushButton, "OK", 7, 7, 50, 14, kTabStop},
    {IDC_NAME, ControlKind::Edit, "", 7, 25, 50, 12, kTabStop},
    {IDCANCEL, ControlKind::PushButton, "Cancel", 60, 7, 50, 14, kTabStop},
};
constexpr DialogTemplate kDefaultTemplate{2,
                                          "With default",
                                          "MS Sans Serif",
                                          8,
                                          120,
                                          45,
                                          kModalFrame | kCaption | kSysMenu,
                                          kDefaultControls};

struct DiskFull {
    std::string file;
};

class TestApp : public CWinApp {
  public:
    TestApp() : CWinApp("KitTest") { SetHelpText("Help of the kit test."); }
    const MessageMap* GetMessageMap() const override {
        static const auto map =
            makeMessageMap<TestApp>(onCommand<TestApp>(ID_HELP, &CWinApp::OnHelp));
        return &map;
    }
};
TestApp theTestApp;

class TestDlg : public CDialog {
  public:
    explicit TestDlg(const DialogTemplate& t = kTemplate) : CDialog(t) {}

    CButton m_lockBox;
    CComboBox m_list;
    CSpinButtonCtrl m_spin;
    CEdit m_nameEdit;
    std::string m_name;
    int m_lock = 0;

    std::vector<std::string> log;
    int lockSeenByHandler = -1;
    std::function<void()> onGo;
    bool paintFrame = false;

    const MessageMap* GetMessageMap() const override {
        static const auto map = makeMessageMap<TestDlg>(
            onClicked(IDC_GO, &TestDlg::OnGo), onClicked(IDC_LOCK, &TestDlg::OnLock),
            onSelChange(IDC_LIST, &TestDlg::OnList), onHScroll(&TestDlg::OnScroll),
            onClicked(IDC_FAIL, &TestDlg::OnFail), onPaint(&TestDlg::OnPaint),
            onSysCommand(&TestDlg::OnSys));
        return &map;
    }

  protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, IDC_LOCK, m_lockBox);
        DDX_Control(dx, IDC_LIST, m_list);
        DDX_Control(dx, IDC_SPIN, m_spin);
        DDX_Control(dx, IDC_NAME, m_nameEdit);
        DDX_Text(dx, IDC_NAME, m_name);
        DDX_Check(dx, IDC_LOCK, m_lock);
    }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        m_list.AddString("zeta");
        m_list.AddString("alpha");
        m_spin.SetRange(0, 9);
        if (CMenu* menu = GetSystemMenu()) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, IDM_ABOUT, "&About Kit...");
        }
        return true;
    }

  private:
    void OnGo() {
        log.push_back("go");
        if (onGo) {
            onGo();
        }
    }
    void OnLock() { lockSeenByHandler = m_lockBox.GetCheck(); }
    void OnList() { log.push_back("list " + std::to_string(m_list.GetCurSel())); }
    void OnScroll(int id) {
        log.push_back("scroll " + std::to_string(id) + " " + std::to_string(m_spin.GetPos()));
    }
    void OnFail() {
        log.push_back("fail");
        throw DiskFull{"/media/card/out.bin"};
    }
    void OnPaint(PaintContext& dc) {
        if (paintFrame) {
            const Rect r = MapDlgItemRectToDialog(IDC_FRAME, GetDlgItemClientRect(IDC_FRAME));
            dc.FillSolidRect(r, RGB(0, 0, 0));
            dc.SetPixel(r.left + 5, r.top + 6, RGB(0, 255, 0));
            dc.SetPixel(r.left + 6, r.top + 6, RGB(0, 255, 0));
        }
    }
    void OnSys(int id) {
        log.push_back("sys " + std::to_string(id));
        CDialog::OnSysCommand(id);
    }
};

// A dialog with no members: the default handling of every command.
class PlainDlg : public CDialog {
  public:
    explicit PlainDlg(const DialogTemplate& t = kDefaultTemplate) : CDialog(t) {}
};

struct KitFixture : ::testing::Test {
    ScriptedPrompts scripted;
    void SetUp() override {
        setPrompts(&scripted);
        static const bool registered = [] {
            registerFileError<DiskFull>([](const DiskFull& e) {
                return FileErrorInfo{e.file, "write", "No space left on device"};
            });
            return true;
        }();
        (void)registered;
    }
    void TearDown() override {
        EXPECT_EQ(scripted.unexpected(), 0);
        setPrompts(nullptr);
    }
};

TEST(DialogUnits, ConvertWithBaseUnitsRoundedToNearest) {
    EXPECT_EQ(dluToPixelsX(312), 468);
    EXPECT_EQ(dluToPixelsY(174), 283);
    EXPECT_EQ(dluToPixelsX(208), 312);
    EXPECT_EQ(dluToPixelsY(152), 247);
    EXPECT_EQ(dluToPixelsX(1), 2);  // 1.5 rounds up
    EXPECT_EQ(dluToPixelsY(1), 2);  // 1.625
}

TEST_F(KitFixture, TemplateIsRealizedAtItsPixelGeometry) {
    TestDlg dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.window()->size(), QSize(312, 163));
    EXPECT_EQ(dialog.GetDlgItem(IDC_NAME)->geometry(), QRect(60, 11, 150, 20));
    EXPECT_EQ(dialog.GetDlgItem(IDC_STATIC), nullptr);
    EXPECT_EQ(dialog.GetDlgItemClientRect(IDC_FRAME), (Rect{0, 0, 96, 65}));
    EXPECT_EQ(dialog.MapDlgItemRectToDialog(IDC_FRAME, Rect{0, 0, 96, 65}),
              (Rect{150, 81, 246, 146}));
    // The spin's buddy is the edit before it; its first position is written there.
    EXPECT_EQ(dialog.GetDlgItemText(IDC_VALUE), "0");
    // The first tab stop has the focus; controls without a tab stop are left out of Tab.
    EXPECT_EQ(dialog.GetDlgItem(IDC_GO)->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(dialog.GetDlgItem(IDC_FAIL)->focusPolicy(), Qt::ClickFocus);
}

TEST_F(KitFixture, EveryControlHasAnAccessibleName) {
    TestDlg dialog;
    dialog.Create();
    EXPECT_EQ(dialog.GetDlgItem(IDC_GO)->accessibleName(), "Go");
    EXPECT_EQ(dialog.GetDlgItem(IDC_NAME)->accessibleName(), "Name:");   // label on its left
    EXPECT_EQ(dialog.GetDlgItem(IDC_VALUE)->accessibleName(), "Value");  // label above
    EXPECT_EQ(dialog.GetDlgItem(IDC_SPIN)->accessibleName(), "Value");
    EXPECT_EQ(dialog.GetDlgItem(IDC_LOCK)->accessibleName(), "Lock");
    QAccessibleInterface* edit = QAccessible::queryAccessibleInterface(dialog.GetDlgItem(IDC_NAME));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(QAccessible::Name), "Name:");
}

TEST_F(KitFixture, DataExchangeMovesMembersBothWays) {
    TestDlg dialog;
    dialog.m_name = "plain";
    dialog.m_lock = 1;
    dialog.Create();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), "PLAIN");  // upper-case edit
    EXPECT_EQ(dialog.m_lockBox.GetCheck(), 1);
    dialog.SetDlgItemText(IDC_NAME, "typed");
    dialog.CheckDlgButton(IDC_LOCK, 0);
    EXPECT_EQ(dialog.m_name, "plain");
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.m_name, "TYPED");
    EXPECT_EQ(dialog.m_lock, 0);
    dialog.m_nameEdit.SetReadOnly(true);
    EXPECT_TRUE(dialog.m_nameEdit.IsReadOnly());
    dialog.DestroyWindow();
    // Handles outlive the window harmlessly.
    EXPECT_FALSE(dialog.m_lockBox.IsAttached());
    EXPECT_EQ(dialog.m_lockBox.GetCheck(), 0);
    EXPECT_EQ(dialog.m_list.GetCurSel(), -1);
    EXPECT_FALSE(dialog.UpdateData(true));
}

TEST_F(KitFixture, ControlsNotifyTheirHandlers) {
    TestDlg dialog;
    dialog.Create();
    // The automatic box has toggled before its handler runs, by mouse and by code alike.
    QTest::mouseClick(dialog.GetDlgItem(IDC_LOCK), Qt::LeftButton);
    EXPECT_EQ(dialog.lockSeenByHandler, 1);
    dialog.m_lockBox.Click();
    EXPECT_EQ(dialog.lockSeenByHandler, 0);
    dialog.m_lockBox.SetCheck(1);  // setting the state notifies nobody
    EXPECT_EQ(dialog.lockSeenByHandler, 0);

    // Unsorted list, no selection at first; out-of-range selections clear it.
    EXPECT_EQ(dialog.m_list.GetCount(), 2);
    EXPECT_EQ(dialog.m_list.GetLBText(0), "zeta");
    EXPECT_EQ(dialog.m_list.GetCurSel(), -1);
    EXPECT_EQ(dialog.m_list.SetCurSel(1), 1);
    EXPECT_EQ(dialog.m_list.SetCurSel(5), -1);
    EXPECT_EQ(dialog.m_list.GetCurSel(), -1);
    EXPECT_TRUE(dialog.log.empty());  // selecting from code notifies nobody
    dialog.m_list.SetCurSel(0);
    QTest::keyClick(dialog.GetDlgItem(IDC_LIST), Qt::Key_Down);
    ASSERT_EQ(dialog.log.size(), 1u);
    EXPECT_EQ(dialog.log.back(), "list 1");

    QTest::keyClick(dialog.GetDlgItem(IDC_SPIN), Qt::Key_Right);
    EXPECT_EQ(dialog.log.back(), "scroll 105 1");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_VALUE), "1");
    dialog.m_spin.SetPos(40);
    EXPECT_EQ(dialog.m_spin.GetPos(), 9);
}

TEST_F(KitFixture, OuterHandlerReportsFileErrorsAndTheDialogGoesOn) {
    TestDlg dialog;
    dialog.Create();
    QTest::mouseClick(dialog.GetDlgItem(IDC_FAIL), Qt::LeftButton);
    ASSERT_EQ(scripted.asked().size(), 1u);
    const auto& box = scripted.asked()[0];
    EXPECT_EQ(box.kind, ScriptedPrompts::Asked::Message);
    EXPECT_NE(box.message.text.find("/media/card/out.bin"), std::string::npos);
    EXPECT_NE(box.message.text.find("No space left on device"), std::string::npos);
    EXPECT_EQ(box.message.type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_TRUE(box.ownerSet);
    scripted.clear();

    // Anything else is reported too and never reaches the event loop.
    dialog.onGo = [] { throw std::runtime_error("table overflow"); };
    QTest::mouseClick(dialog.GetDlgItem(IDC_GO), Qt::LeftButton);
    ASSERT_EQ(scripted.asked().size(), 1u);
    EXPECT_NE(scripted.asked()[0].message.text.find("table overflow"), std::string::npos);
    scripted.clear();

    dialog.onGo = nullptr;
    QTest::mouseClick(dialog.GetDlgItem(IDC_GO), Qt::LeftButton);
    EXPECT_EQ(dialog.log.back(), "go");
    EXPECT_TRUE(dialog.window()->isVisible());
}

TEST_F(KitFixture, EnterPressesTheFocusedButtonOrTheDefaultOrSendsOk) {
    TestDlg dialog;
    dialog.Create();
    QApplication::setActiveWindow(dialog.window());
    dialog.GetDlgItem(IDC_FAIL)->setFocus();
    dialog.onGo = [] {};
    dialog.GetDlgItem(IDC_GO)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"go"}));
    // No default button: Enter in an edit is the OK command, whose default ends the dialog.
    dialog.GetDlgItem(IDC_NAME)->setFocus();
    dialog.SetDlgItemText(IDC_NAME, "kept");
    QTest::keyClick(dialog.GetDlgItem(IDC_NAME), Qt::Key_Enter);
    EXPECT_FALSE(dialog.window()->isVisible());
    EXPECT_EQ(dialog.m_name, "KEPT");  // OK read the controls back first

    PlainDlg withDefault;
    ModalDriver driver;
    const auto runWith = [&](std::function<void(QWidget*)> action) {
        driver.onNext(ModalDriver::Kind::Modal, std::move(action));
        const int result = withDefault.DoModal();
        EXPECT_TRUE(driver.fired());
        EXPECT_FALSE(driver.timedOut());
        return result;
    };
    // With a default button, Enter in an edit presses it.
    EXPECT_EQ(runWith([&](QWidget*) {
                  QTest::keyClick(withDefault.GetDlgItem(IDC_NAME), Qt::Key_Return);
              }),
              IDOK);
    EXPECT_EQ(runWith([&](QWidget*) {
                  QTest::keyClick(withDefault.GetDlgItem(IDC_NAME), Qt::Key_Escape);
              }),
              IDCANCEL);
    EXPECT_EQ(runWith([](QWidget* modal) { modal->close(); }), IDCANCEL);
    EXPECT_EQ(withDefault.window(), nullptr);  // each run's window is gone after it
}

TEST_F(KitFixture, ModalChildRunsFromAHandler) {
    TestDlg dialog;
    dialog.Create();
    int childResult = -1;
    bool childHadWindow = false;
    dialog.onGo = [&] {
        PlainDlg child;
        childResult = child.DoModal();
        childHadWindow = child.IsWindow();
    };
    ModalDriver driver;
    driver.onNext(ModalDriver::Kind::Modal, [](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "With default");
        QTest::mouseClick(modal->findChild<QPushButton*>("control-2"), Qt::LeftButton);
    });
    QTest::mouseClick(dialog.GetDlgItem(IDC_GO), Qt::LeftButton);
    EXPECT_TRUE(driver.fired());
    EXPECT_FALSE(driver.timedOut());
    EXPECT_EQ(childResult, IDCANCEL);
    EXPECT_FALSE(childHadWindow);
}

TEST_F(KitFixture, WindowMenuOpensWithAltSpaceAndRightClick) {
    TestDlg dialog;
    dialog.Create();
    QApplication::setActiveWindow(dialog.window());
    QStringList texts;
    ModalDriver driver;
    const auto choose = [&](const QString& wanted) {
        return [&texts, wanted](QWidget* popup) {
            texts.clear();
            auto* menu = qobject_cast<QMenu*>(popup);
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
                if (action->text() == wanted) {
                    menu->setActiveAction(action);
                }
            }
            QTest::keyClick(menu, Qt::Key_Return);
        };
    };
    driver.onNext(ModalDriver::Kind::Popup, choose("&About Kit..."));
    QTest::keyClick(dialog.window(), Qt::Key_Space, Qt::AltModifier);
    EXPECT_TRUE(driver.fired());
    EXPECT_EQ(texts, (QStringList{"&Close", "-", "&About Kit..."}));
    EXPECT_EQ(dialog.log.back(), "sys 16");

    driver.onNext(ModalDriver::Kind::Popup, choose("&Close"));
    QWidget* background = dialog.window();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 150),
                                 background->mapToGlobal(QPoint(5, 150)));
    QApplication::sendEvent(background, &rightClick);
    EXPECT_TRUE(driver.fired());
    EXPECT_EQ(dialog.log.back(), "sys " + std::to_string(SC_CLOSE));
    EXPECT_FALSE(dialog.window()->isVisible());
}

TEST_F(KitFixture, HelpKeyReachesTheApplicationsHandler) {
    TestDlg dialog;
    dialog.Create();
    QApplication::setActiveWindow(dialog.window());
    dialog.GetDlgItem(IDC_GO)->setFocus();
    QTest::keyClick(dialog.GetDlgItem(IDC_GO), Qt::Key_F1);
    ASSERT_EQ(scripted.asked().size(), 1u);
    EXPECT_EQ(scripted.asked()[0].message.text, "Help of the kit test.");
    EXPECT_EQ(scripted.asked()[0].message.type & MB_ICONMASK, MB_ICONINFORMATION);
    scripted.clear();
}

TEST_F(KitFixture, PaintHandlerDrawsInDialogCoordinates) {
    TestDlg dialog;
    dialog.paintFrame = true;
    dialog.Create();
    const QImage image = dialog.window()->grab().toImage();
    EXPECT_EQ(image.pixelColor(150 + 10, 81 + 10), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(150 + 5, 81 + 6), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(150 + 6, 81 + 6), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(150 + 7, 81 + 6), QColor(0, 0, 0));
    EXPECT_NE(image.pixelColor(140, 75), QColor(0, 0, 0));  // outside the frame
}

TEST(Prompts, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(
        qtNameFilters("Rom Files (*.rom)|*.rom|Bin Files (*.bin)|*.bin|All Files (*.*)|*.*||"),
        (std::vector<std::string>{"Rom Files (*.rom)", "Bin Files (*.bin)", "All Files (*)"}));
    EXPECT_EQ(qtNameFilters("Images|*.rom;*.bin||"),
              (std::vector<std::string>{"Images (*.rom *.bin)"}));
    EXPECT_TRUE(qtNameFilters("").empty());
}

TEST(Prompts, ScriptedPromptsAnswerInOrderAndFlagSurprises) {
    ScriptedPrompts scripted;
    scripted.answerFile("/tmp/a.rom");
    scripted.answerFile(std::nullopt);
    scripted.answerMessage(IDNO);
    FileDialogRequest open{true, "rom", "", OFN_FILEMUSTEXIST, "x|*.x||"};
    EXPECT_EQ(scripted.chooseFile(open, nullptr), std::optional<std::string>("/tmp/a.rom"));
    EXPECT_EQ(scripted.chooseFile(open, nullptr), std::nullopt);
    EXPECT_EQ(scripted.messageBox({"q", "c", MB_YESNO}, nullptr), IDNO);
    EXPECT_TRUE(scripted.drained());
    EXPECT_EQ(scripted.unexpected(), 0);
    EXPECT_EQ(scripted.chooseFile(open, nullptr), std::nullopt);
    EXPECT_EQ(scripted.unexpected(), 1);
    EXPECT_EQ(scripted.asked().size(), 4u);
}

}  // namespace
}  // namespace vorlane::dk
