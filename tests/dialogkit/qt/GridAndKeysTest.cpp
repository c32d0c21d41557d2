// The bit grid control by mouse and keys, push-button shortcuts, double-clicks on the client
// area and files handed to a window from code.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "dialogkit/Dialog.h"
#include "dialogkit/qt/QtHandle.h"
#include "dialogkit/qt/Widgets.h"
#include "tests/support/ModalDriver.h"

namespace vorlane::dk {
namespace {

enum { IDC_GRID = 100, IDC_GO, IDC_OFF };

constexpr ControlTemplate kControls[] = {
    {IDC_GRID, ControlKind::BitGrid, "", 7, 7, 60, 60, kTabStop},
    {IDC_GO, ControlKind::PushButton, "Go", 150, 7, 50, 14, kTabStop},
    {IDC_OFF, ControlKind::PushButton, "Off", 150, 30, 50, 14, kTabStop},
};
constexpr DialogTemplate kTemplate{
    1, "Grid test", "MS Sans Serif", 8, 210, 120, kModalFrame | kCaption | kSysMenu, kControls};
constexpr ButtonShortcut kShortcuts[] = {{IDC_GO, "Ctrl+G"}, {IDC_OFF, "Ctrl+F"}};

class GridDlg : public CDialog {
  public:
    GridDlg() : CDialog(kTemplate) {}
    CBitGrid m_grid;
    std::vector<std::string> log;

    const MessageMap* GetMessageMap() const override {
        static const auto map = makeMessageMap<GridDlg>(
            onChange(IDC_GRID, &GridDlg::OnGrid), onClicked(IDC_GO, &GridDlg::OnGo),
            onClicked(IDC_OFF, &GridDlg::OnOff), onLButtonDblClk(&GridDlg::OnDblClk),
            onDropFiles(&GridDlg::OnDrop));
        return &map;
    }
    void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, IDC_GRID, m_grid); }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        const uint8_t rows[4] = {0x00, 0xFF, 0x00, 0x81};
        m_grid.SetRows(rows);
        SetButtonShortcuts(kShortcuts);
        return true;
    }
    void OnGrid() { log.push_back("grid"); }
    void OnGo() { log.push_back("go"); }
    void OnOff() { log.push_back("off"); }
    void OnDblClk(Point at) {
        log.push_back("dblclk " + std::to_string(at.x) + "," + std::to_string(at.y));
    }
    void OnDrop(const std::string& path) { log.push_back("drop " + path); }
};

struct GridTest : ::testing::Test {
    GridDlg dialog;
    BitGridWidget* grid = nullptr;

    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        QApplication::setActiveWindow(dk::toWidget(dialog.window()));
        grid = dynamic_cast<BitGridWidget*>(dk::toWidget(dialog.GetDlgItem(IDC_GRID)));
        ASSERT_NE(grid, nullptr);
    }
    QPoint cell(int column, int row) const { return grid->cellRect(column, row).center(); }
    std::vector<uint8_t> rows() const { return dialog.m_grid.GetRows(); }
};

TEST_F(GridTest, CellsAreSquareCentredAndEditedByMouse) {
    // 90 x 98 pixels and 4 rows: cells of 11 pixels a side with a line between, centred.
    EXPECT_EQ(grid->cellRect(0, 0), QRect(1, 1 + (98 - 45) / 2, 10, 10));
    EXPECT_EQ(grid->cellRect(7, 3).bottomRight(), grid->cellRect(0, 0).topLeft() + QPoint(86, 42));
    // A click toggles; the margin around the grid is no cell.
    QTest::mouseClick(grid, Qt::LeftButton, {}, cell(2, 0));
    QTest::mouseClick(grid, Qt::LeftButton, {}, cell(0, 0) - QPoint(0, 6));
    EXPECT_EQ(rows(), (std::vector<uint8_t>{0x20, 0xFF, 0x00, 0x81}));

    // A drag takes the value the first cell took; leaving the grid and coming back elsewhere
    // draws nothing across the way outside.
    QTest::mousePress(grid, Qt::LeftButton, {}, cell(0, 3));  // lit: clears
    QTest::mouseMove(grid, cell(3, 3));
    QTest::mouseMove(grid, QPoint(grid->width() - 1, 2));
    QTest::mouseMove(grid, cell(7, 1));
    QTest::mouseMove(grid, cell(5, 1));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cell(5, 1));
    // Moving with no button held after the release changes nothing.
    QTest::mouseMove(grid, cell(0, 1));
    EXPECT_EQ(rows(), (std::vector<uint8_t>{0x20, 0xF8, 0x00, 0x01}));
    // One report per click, press and move onto another cell.
    EXPECT_EQ(dialog.log.size(), 5u);
    // Setting the rows from code reports nothing.
    dialog.m_grid.SetRows(std::vector<uint8_t>(4, 0));
    EXPECT_EQ(dialog.log.size(), 5u);
}

TEST_F(GridTest, ArrowKeysMoveTheCursorWithinTheGridAndSpaceToggles) {
    grid->setFocus();
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Space, Qt::Key_Down, Qt::Key_Down,
                        Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Space}) {
        QTest::keyClick(grid, key);
    }
    EXPECT_EQ(dialog.m_grid.GetCursor(), (Point{1, 3}));
    EXPECT_EQ(rows(), (std::vector<uint8_t>{0x80, 0xFF, 0x00, 0xC1}));
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"grid", "grid"}));
    // Tab leaves the grid for the next tab stop.
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dk::toWidget(dialog.GetDlgItem(IDC_GO)));
}

TEST_F(GridTest, ShortcutsClickTheirButtonAndDoubleClicksAndPostedFilesReachTheMap) {
    dk::toWidget(dialog.GetDlgItem(IDC_OFF))->setEnabled(false);
    QTest::keyClick(dk::toWidget(dialog.window()), Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(dk::toWidget(dialog.window()), Qt::Key_F,
                    Qt::ControlModifier);                       // its button is disabled
    QTest::keyClick(dk::toWidget(dialog.window()), Qt::Key_G);  // no Ctrl: not the shortcut
    EXPECT_EQ(dk::toWidget(dialog.GetDlgItem(IDC_GO))->toolTip(), "Ctrl+G");

    QTest::mouseDClick(dk::toWidget(dialog.window()), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseDClick(dk::toWidget(dialog.GetDlgItem(IDC_GO)),
                       Qt::LeftButton);  // the button's, not the map's
    dialog.PostDropFiles("/tmp/card.rom");
    dialog.log.push_back("posted");
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.log,
              (std::vector<std::string>{"go", "dblclk 200,150", "posted", "drop /tmp/card.rom"}));
}

// Without a window manager nobody else hands the focus back once a nested dialog has closed, and
// the owner's keys would go nowhere.
TEST_F(GridTest, TheOwnerIsActiveAgainOnceANestedDialogHasClosed) {
    CWinApp app;
    app.m_pMainWnd = &dialog;
    GridDlg nested;
    test::ModalDriver driver;
    driver.onNext([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(nested.DoModal(), IDCANCEL);
    EXPECT_TRUE(driver.fired());
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), dk::toWidget(dialog.window()));
    QTest::keyClick(QApplication::activeWindow(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"go"}));
}

}  // namespace
}  // namespace vorlane::dk
