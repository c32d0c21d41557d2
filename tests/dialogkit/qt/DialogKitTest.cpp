// Dialogs realized from templates: pixel geometry, controls by ID, data exchange, the message
// map, the up-down control with its buddy, the outer handler, and the prompts.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <functional>
#include <stdexcept>

#include "dialogkit/Dialog.h"
#include "dialogkit/OuterHandler.h"
#include "dialogkit/qt/QtHandle.h"
#include "dialogkit/qt/QtPaint.h"
#include "dialogkit/qt/QtPrompts.h"
#include "dialogkit/qt/Widgets.h"
#include "tests/support/ScriptedPrompts.h"

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
        QApplication::setActiveWindow(dk::toWidget(dialog.window()));
    }
    void TearDown() override {
        EXPECT_EQ(scripted.unexpected(), 0);
        EXPECT_TRUE(scripted.drained());
        setPrompts(nullptr);
    }
};

TEST_F(KitTest, TemplateIsRealizedInPixelsWithControlsById) {
    // 1.5 pixels a unit across and 1.625 down, rounded to nearest: 312 x 174 is 468 x 283.
    EXPECT_EQ(dk::toWidget(dialog.window())->size(), QSize(468, 283));
    EXPECT_EQ(dk::toWidget(dialog.GetDlgItem(IDC_NAME))->geometry(), QRect(60, 11, 150, 20));
    EXPECT_EQ(dk::toWidget(dialog.GetDlgItem(IDC_LOCK))->geometry(), QRect(11, 49, 75, 16));
    EXPECT_EQ(dk::toWidget(dialog.GetDlgItem(IDC_STATIC)), nullptr);
    EXPECT_EQ(dk::toWidget(dialog.GetDlgItem(999)), nullptr);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_VALUE), "0");  // the edit before the spin is its buddy
}

TEST_F(KitTest, DataExchangeMovesMembersBothWaysThroughAnUpperCaseEdit) {
    dialog.m_name = "plain";
    dialog.m_lock = 1;
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), "PLAIN");
    EXPECT_TRUE(dialog.IsDlgButtonChecked(IDC_LOCK));

    QTest::keyClick(dk::toWidget(dialog.GetDlgItem(IDC_NAME)), Qt::Key_End);
    QTest::keyClicks(dk::toWidget(dialog.GetDlgItem(IDC_NAME)), "x.y");
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
    auto* edit = qobject_cast<QLineEdit*>(dk::toWidget(dialog.GetDlgItem(IDC_NAME)));
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
    QTest::mouseClick(dk::toWidget(dialog.GetDlgItem(IDC_LOCK)), Qt::LeftButton);
    dialog.m_lockBox.Click();
    dialog.m_lockBox.SetCheck(1);
    QTest::mouseClick(dk::toWidget(dialog.GetDlgItem(IDC_GO)), Qt::LeftButton);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"lock 1", "lock 0", "go"}));
}

TEST_F(KitTest, UpDownKeepsItsRangeWritesItsBuddyAndReportsEveryStep) {
    auto* spin = dynamic_cast<UpDownWidget*>(dk::toWidget(dialog.GetDlgItem(IDC_SPIN)));
    auto* buddy = qobject_cast<QLineEdit*>(dk::toWidget(dialog.GetDlgItem(IDC_VALUE)));
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
    QWidget* spin = dk::toWidget(dialog.GetDlgItem(IDC_SPIN));
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
    value->setCurrentValue(0);
    EXPECT_EQ(dialog.log,
              (std::vector<std::string>{"104 at 9", "104 at 9", "104 at 8", "104 at 9"}));
    EXPECT_EQ(dialog.GetDlgItemText(IDC_VALUE), "9");
    EXPECT_EQ(accessible->text(QAccessible::Value), "9");
}

TEST_F(KitTest, OuterHandlerReportsWhatAHandlerThrewAndTheDialogGoesOn) {
    const auto boxFor = [&](std::function<void()> thrower) {
        scripted.answerMessage(IDOK);
        dialog.onGo = std::move(thrower);
        QTest::mouseClick(dk::toWidget(dialog.GetDlgItem(IDC_GO)), Qt::LeftButton);
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
    QTest::mouseClick(dk::toWidget(dialog.GetDlgItem(IDC_GO)), Qt::LeftButton);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"go", "go", "go"}));
    EXPECT_TRUE(dk::toWidget(dialog.window())->isVisible());
}

// Edits named by their labels, a push button and a default button.
enum { IDC_LEFT = 200, IDC_ABOVE, IDC_UNLABELLED, IDC_BUTTON, IDC_DEFAULT };
constexpr ControlTemplate kFormControls[] = {
    {IDC_STATIC, ControlKind::Static, "Far:", 0, 10, 15, 8},
    {IDC_STATIC, ControlKind::Static, "&Left:", 20, 10, 35, 8},
    {IDC_LEFT, ControlKind::Edit, "", 60, 10, 50, 12},
    {IDC_STATIC, ControlKind::Static, "Beside", 0, 40, 15, 8},
    {IDC_STATIC, ControlKind::Static, "Above && below", 60, 28, 50, 8},
    {IDC_ABOVE, ControlKind::Edit, "", 60, 40, 50, 12},
    {IDC_UNLABELLED, ControlKind::Edit, "", 120, 55, 40, 12},
    {IDC_STATIC, ControlKind::Static, "Right", 165, 55, 30, 8},
    {IDC_STATIC, ControlKind::Static, "Under", 120, 70, 40, 8},
    {IDC_BUTTON, ControlKind::PushButton, "Button", 150, 10, 50, 14, kTabStop},
    {IDC_DEFAULT, ControlKind::DefPushButton, "Default", 150, 30, 50, 14, kTabStop},
};
constexpr DialogTemplate kForm{2, "Form", "MS Sans Serif", 8, 210, 100, kCaption, kFormControls};

class FormDlg : public CDialog {
  public:
    FormDlg() : CDialog(kForm) {}
    std::vector<std::string> log;

    const MessageMap* GetMessageMap() const override {
        static const auto map = makeMessageMap<FormDlg>(
            onClicked(IDC_BUTTON, &FormDlg::OnButton), onClicked(IDC_DEFAULT, &FormDlg::OnDefault));
        return &map;
    }
    void OnButton() { log.push_back("button"); }
    void OnDefault() { log.push_back("default"); }
    void OnOK() override {
        log.push_back("ok");
        CDialog::OnOK();
    }
    void OnCancel() override {
        log.push_back("cancel");
        CDialog::OnCancel();
    }
};

TEST(KitForm, AnEditIsNamedByTheNearestLabelOnItsLeftOrAboveIt) {
    FormDlg dialog;
    ASSERT_TRUE(dialog.Create());
    const std::pair<int, const char*> cases[] = {
        {IDC_LEFT, "Left:"},           // the nearer of two on its line, without the mnemonic
        {IDC_ABOVE, "Above & below"},  // above it, nearer than one left of it
        {IDC_UNLABELLED, ""},          // right of it and below it label nothing
    };
    for (const auto& [id, name] : cases) {
        EXPECT_EQ(dk::toWidget(dialog.GetDlgItem(id))->accessibleName().toStdString(), name) << id;
    }
}

TEST(KitForm, EnterPressesTheFocusedOrDefaultButtonAndEscapeCancels) {
    struct Case {
        int focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool defaultUsable;  // enabled and shown
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {IDC_BUTTON, Qt::Key_Return, {}, true, {"button"}},
        {IDC_LEFT, Qt::Key_Return, {}, true, {"default"}},
        {IDC_LEFT, Qt::Key_Enter, Qt::KeypadModifier, true, {"default"}},
        {IDC_LEFT, Qt::Key_Return, Qt::ShiftModifier, true, {}},
        {IDC_LEFT, Qt::Key_Return, {}, false, {"ok"}},  // no default button: OK to the dialog
        {IDC_LEFT, Qt::Key_Escape, {}, true, {"cancel"}},
        {IDC_BUTTON, Qt::Key_Escape, {}, true, {"cancel"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.focus) + " key " + std::to_string(c.key));
        FormDlg dialog;
        ASSERT_TRUE(dialog.Create());
        QApplication::setActiveWindow(dk::toWidget(dialog.window()));
        dk::toWidget(dialog.GetDlgItem(IDC_DEFAULT))->setVisible(c.defaultUsable);
        dk::toWidget(dialog.GetDlgItem(c.focus))->setFocus();
        QTest::keyClick(dk::toWidget(dialog.GetDlgItem(c.focus)), c.key, c.modifiers);
        EXPECT_EQ(dialog.log, c.log);
        const bool ended =
            c.log == std::vector<std::string>{"ok"} || c.log == std::vector<std::string>{"cancel"};
        EXPECT_EQ(dk::toWidget(dialog.window())->isVisible(), !ended);
    }
}

TEST(PaintContext, PixelsOnAFillAndOffItAreAllDrawnInOrder) {
    QImage target(16, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        PaintSurface surface(painter);
        PaintContext dc(surface);
        dc.FillSolidRect(Rect{2, 1, 10, 6}, RGB(0, 0, 255));
        dc.SetPixelRow(6, 2, 0xFF, RGB(0, 255, 0));  // runs off the fill's right edge
        dc.SetPixelRow(3, 4, 0x40, RGB(255, 0, 0));  // one pixel on the fill
        dc.SetPixelRow(0, 7, 0xA0, RGB(255, 0, 0));  // off the fill, another colour
        dc.SetPixelRow(8, 0, 0x01, RGB(0, 255, 0));
    }
    QImage expected(16, 8, QImage::Format_RGB32);
    expected.fill(Qt::white);
    for (int y = 1; y < 6; ++y) {
        for (int x = 2; x < 10; ++x) {
            expected.setPixel(x, y, qRgb(0, 0, 255));
        }
    }
    for (int x = 6; x < 14; ++x) {
        expected.setPixel(x, 2, qRgb(0, 255, 0));
    }
    for (const auto& [x, y] : {std::pair{4, 4}, {0, 7}, {2, 7}}) {
        expected.setPixel(x, y, qRgb(255, 0, 0));
    }
    expected.setPixel(15, 0, qRgb(0, 255, 0));
    EXPECT_EQ(target, expected);
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
