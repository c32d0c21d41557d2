// Dialogs realized from templates: pixel geometry, controls by ID, data exchange, the message
// map, the up-down control with its buddy, the outer handler, and the prompts.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <stdexcept>

#include "dialogkit/Dialog.h"
#include "dialogkit/OuterHandler.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Widgets.h"

namespace vorlane::dk {
namespace {

enum { IDC_GO = 100, IDC_NAME, IDC_LOCK, IDC_VALUE, IDC_SPIN };

constexpr ControlTemplate kControls[] = {
    {IDC_GO, ControlKind::PushButton, "&Go", 150, 7, 50, 14, kTabStop},
    {IDC_NAME, ControlKind::Edit, "", 40, 7, 100, 12, kUpperCase | kStaticEdge},
    {IDC_LOCK, ControlKind::AutoCheckBox, "Lock", 7, 30, 50, 10, kLeftText},
    {IDC_VALUE, ControlKind::Edit, "", 7, 60, 50, 12, kReadOnly | kCentre | kStaticEdge},
    {IDC_SPIN, ControlKind::UpDown, "Spin", 7, 76, 50, 12,
     kHorz | kArrowKeys | kAutoBuddy | kSetBuddyInt},
};
// The main window's size in dialog units.
constexpr DialogTemplate kTemplate{
    1, "Kit test", "MS Sans Serif", 8, 312, 174, kModalFrame | kCaption | kSysMenu, kControls};

struct DiskFull {
    std::string file;
};
[[maybe_unused]] const bool kDiskFullIsAFileError = [] {
    registerFileError<DiskFull>([](const DiskFull& e) {
        return FileErrorInfo{e.file, "write", "No space left on device"};
    });
    return true;
}();

class TestDlg : public CDialog {
  public:
    TestDlg() : CDialog(kTemplate) {}

    CButton m_lockBox;
    CSpinButtonCtrl m_spin;
    std::string m_name;
    int m_lock = 0;
    std::vector<std::string> log;
    std::function<void()> onGo = [] {};

    const MessageMap* GetMessageMap() const override {
        static const auto map = makeMessageMap<TestDlg>(onClicked(IDC_GO, &TestDlg::OnGo),
                                                        onClicked(IDC_LOCK, &TestDlg::OnLock),
                                                        onHScroll(&TestDlg::OnScroll));
        return &map;
    }
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, IDC_LOCK, m_lockBox);
        DDX_Control(dx, IDC_SPIN, m_spin);
        DDX_Text(dx, IDC_NAME, m_name);
        DDX_Check(dx, IDC_LOCK, m_lock);
    }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        m_spin.SetRange(0, 9);
        return true;
    }
    void OnGo() {
        log.push_back("go");
        onGo();
    }
    void OnLock() { log.push_back("lock " + std::to_string(m_lockBox.GetCheck())); }
    void OnScroll(int id) {
        log.push_back(std::to_string(id) + " at " + std::to_string(m_spin.GetPos()));
    }
};

struct KitTest : ::testing::Test {
    ScriptedPrompts scripted;
    TestDlg dialog;

    void SetUp() override {
        setPrompts(&scripted);
        ASSERT_TRUE(dialog.Create());
        QApplication::setActiveWindow(dialog.window());
    }
    void TearDown() override {
        EXPECT_EQ(scripted.unexpected(), 0);
        EXPECT_TRUE(scripted.drained());
        setPrompts(nullptr);
    }
};

TEST_F(KitTest, TemplateIsRealizedInPixelsWithControlsById) {
    // 1.5 pixels a unit across and 1.625 down, rounded to nearest: 312 x 174 is 468 x 283.
    EXPECT_EQ(dialog.window()->size(), QSize(468, 283));
    EXPECT_EQ(dialog.GetDlgItem(IDC_NAME)->geometry(), QRect(60, 11, 150, 20));
    EXPECT_EQ(dialog.GetDlgItem(IDC_LOCK)->geometry(), QRect(11, 49, 75, 16));
    EXPECT_EQ(dialog.GetDlgItem(IDC_STATIC), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(999), nullptr);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_VALUE), "0");  // the edit before the spin is its buddy
}

TEST_F(KitTest, DataExchangeMovesMembersBothWaysThroughAnUpperCaseEdit) {
    dialog.m_name = "plain";
    dialog.m_lock = 1;
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), "PLAIN");
    EXPECT_TRUE(dialog.IsDlgButtonChecked(IDC_LOCK));

    QTest::keyClick(dialog.GetDlgItem(IDC_NAME), Qt::Key_End);
    QTest::keyClicks(dialog.GetDlgItem(IDC_NAME), "x.y");
    dialog.CheckDlgButton(IDC_LOCK, 0);
    EXPECT_EQ(dialog.m_name, "plain");  // until the next exchange
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.m_name, "PLAINX.Y");
    EXPECT_EQ(dialog.m_lock, 0);

    // Handles outlive the window harmlessly.
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.m_lockBox.GetCheck(), 0);
    EXPECT_EQ(dialog.m_spin.GetPos(), 0);
    EXPECT_FALSE(dialog.UpdateData(true));
}

TEST_F(KitTest, UpperCaseEditKeepsTheLengthOfWhatIsTypedOrSet) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(IDC_NAME));
    ASSERT_NE(edit, nullptr);
    // Each code point to one: no letter that upper-cases to two grows the text.
    const std::pair<const char*, const char*> cases[] = {
        {"\u00DF12", "\u00DF12"},        // sharp s
        {"\uFB00x", "\uFB00X"},          // the ff ligature
        {"stra\u00DFe", "STRA\u00DFE"},  // upper-cased around it
        {"\U00010428a", "\U00010400A"},  // beyond 16 bits
    };
    for (const auto& [typed, shown] : cases) {
        SCOPED_TRACE(typed);
        edit->clear();
        edit->insert(QString::fromUtf8(typed));
        EXPECT_EQ(edit->text(), QString::fromUtf8(shown));
        EXPECT_EQ(edit->cursorPosition(), edit->text().size());
        dialog.m_name = typed;
        dialog.UpdateData(false);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), shown);
    }
}

TEST_F(KitTest, MessageMapGetsWhatTheUserDidButNotWhatCodeDid) {
    // An automatic box has toggled before its handler runs, by mouse and by code alike.
    QTest::mouseClick(dialog.GetDlgItem(IDC_LOCK), Qt::LeftButton);
    dialog.m_lockBox.Click();
    dialog.m_lockBox.SetCheck(1);
    QTest::mouseClick(dialog.GetDlgItem(IDC_GO), Qt::LeftButton);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"lock 1", "lock 0", "go"}));
}

TEST_F(KitTest, UpDownKeepsItsRangeWritesItsBuddyAndReportsEveryStep) {
    auto* spin = dynamic_cast<UpDownWidget*>(dialog.GetDlgItem(IDC_SPIN));
    auto* buddy = qobject_cast<QLineEdit*>(dialog.GetDlgItem(IDC_VALUE));
    ASSERT_TRUE(spin != nullptr && buddy != nullptr);
    // From code: held in the range, written into the buddy, reported to nobody.
    EXPECT_EQ(dialog.m_spin.SetPos(40), 0);
    EXPECT_EQ(buddy->text(), "9");
    dialog.m_spin.SetRange(8, 3);  // upside down: the same interval, the position pulled in
    EXPECT_EQ(std::make_tuple(spin->lower(), spin->upper(), spin->position()),
              std::make_tuple(3, 8, 8));
    EXPECT_EQ(buddy->text(), "8");
    EXPECT_TRUE(dialog.log.empty());

    // Each step by arrow button or arrow key is reported, even one at a bound.
    const auto arrow = [&](int x) {
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(x, spin->height() / 2));
    };
    arrow(spin->width() - 4);
    arrow(3);
    QTest::keyClick(spin, Qt::Key_Left);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(buddy, Qt::Key_Down);  // the read-only buddy takes every arrow key
    QTest::keyClick(buddy, Qt::Key_Right);
    buddy->setReadOnly(false);
    QTest::keyClick(buddy, Qt::Key_Left);  // one the user types in keeps left and right
    QTest::keyClick(buddy, Qt::Key_Up);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"104 at 8", "104 at 7", "104 at 6", "104 at 7",
                                                    "104 at 6", "104 at 7", "104 at 8"}));
    EXPECT_EQ(buddy->text(), "8");
}

TEST_F(KitTest, UpDownIsASpinButtonThatScreenReadersStepLikeItsArrows) {
    QWidget* spin = dialog.GetDlgItem(IDC_SPIN);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(spin);
    ASSERT_NE(accessible, nullptr);
    QAccessibleValueInterface* value = accessible->valueInterface();
    QAccessibleActionInterface* actions = accessible->actionInterface();
    ASSERT_TRUE(value != nullptr && actions != nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::SpinBox);
    dialog.m_spin.SetPos(8);
    EXPECT_EQ(std::make_tuple(value->minimumValue().toInt(), value->maximumValue().toInt(),
                              value->currentValue().toInt()),
              std::make_tuple(0, 9, 8));
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::increaseAction()));

    // The arrows' clamping and notification, a step at the bound included.
    const auto act = [&](const QString& name) { actions->doAction(name); };
    act(QAccessibleActionInterface::increaseAction());
    act(QAccessibleActionInterface::increaseAction());
    act(QAccessibleActionInterface::decreaseAction());
    value->setCurrentValue(40);
    spin->setEnabled(false);
    act(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(dialog.log,
              (std::vector<std::string>{"104 at 9", "104 at 9", "104 at 8", "104 at 9"}));
    EXPECT_EQ(dialog.GetDlgItemText(IDC_VALUE), "9");
    EXPECT_EQ(accessible->text(QAccessible::Value), "9");
}

TEST_F(KitTest, OuterHandlerReportsWhatAHandlerThrewAndTheDialogGoesOn) {
    const auto boxFor = [&](std::function<void()> thrower) {
        scripted.answerMessage(IDOK);
        dialog.onGo = std::move(thrower);
        QTest::mouseClick(dialog.GetDlgItem(IDC_GO), Qt::LeftButton);
        if (scripted.asked().empty()) {
            return std::string("no box");
        }
        const auto& box = scripted.asked().back();
        EXPECT_EQ(box.message.type & MB_ICONMASK, MB_ICONSTOP);
        EXPECT_TRUE(box.ownerSet);
        return box.message.text;
    };
    const std::string diskFull = boxFor([] { throw DiskFull{"/media/card/out.bin"}; });
    EXPECT_NE(diskFull.find("/media/card/out.bin"), std::string::npos) << diskFull;
    EXPECT_NE(diskFull.find("No space left on device"), std::string::npos) << diskFull;
    const std::string other = boxFor([] { throw std::runtime_error("table overflow"); });
    EXPECT_NE(other.find("table overflow"), std::string::npos) << other;

    dialog.onGo = [] {};
    QTest::mouseClick(dialog.GetDlgItem(IDC_GO), Qt::LeftButton);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"go", "go", "go"}));
    EXPECT_TRUE(dialog.window()->isVisible());
}

TEST(Prompts, ScriptedAnswersInOrderAndFiltersForQt) {
    ScriptedPrompts scripted;
    scripted.answerFile("/tmp/a.rom");
    scripted.answerMessage(IDNO);
    const FileDialogRequest open{true, "rom", "", OFN_FILEMUSTEXIST, "x|*.x||"};
    EXPECT_EQ(scripted.chooseFile(open, nullptr), std::optional<std::string>("/tmp/a.rom"));
    EXPECT_EQ(scripted.messageBox({"q", "c", MB_YESNO}, nullptr), IDNO);
    EXPECT_TRUE(scripted.drained());
    EXPECT_EQ(scripted.unexpected(), 0);
    EXPECT_EQ(scripted.chooseFile(open, nullptr), std::nullopt);  // nothing queued: a surprise
    EXPECT_EQ(scripted.unexpected(), 1);
    EXPECT_EQ(scripted.asked().size(), 3u);

    // "*.*" would hide files without a dot.
    EXPECT_EQ(qtNameFilters("Rom Files (*.rom)|*.rom|All Files (*.*)|*.*||"),
              (std::vector<std::string>{"Rom Files (*.rom)", "All Files (*)"}));
    EXPECT_EQ(qtNameFilters("Images|*.rom;*.bin||"),
              (std::vector<std::string>{"Images (*.rom *.bin)"}));
}

}  // namespace
}  // namespace vorlane::dk
