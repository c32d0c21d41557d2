// The kit's own widgets: the up-down control with its buddy, the upper-case edit.
#include <gtest/gtest.h>

#include <QTest>

#include "dialogkit/Widgets.h"

namespace vorlane::dk {
namespace {

struct UpDownFixture : ::testing::Test {
    QWidget parent;
    EditWidget* buddy = new EditWidget(&parent);
    UpDownWidget* spin = new UpDownWidget(&parent);
    int notifications = 0;

    void SetUp() override {
        buddy->setGeometry(0, 0, 80, 20);
        spin->setGeometry(0, 30, 80, 20);
        spin->setHorizontal(true);
        spin->setArrowKeys(true);
        spin->setBuddy(buddy, true);
        spin->onScroll = [this] { ++notifications; };
        parent.show();
    }
};

TEST_F(UpDownFixture, PositionStaysInsideRangeAndIsWrittenIntoBuddy) {
    spin->setRange(10, 20);
    EXPECT_EQ(spin->position(), 10);  // the old position 0 was pulled into the range
    EXPECT_EQ(spin->setPosition(5), 10);
    EXPECT_EQ(spin->position(), 10);
    EXPECT_EQ(buddy->text(), "10");
    EXPECT_EQ(spin->setPosition(25), 10);
    EXPECT_EQ(spin->position(), 20);
    EXPECT_EQ(buddy->text(), "20");
    spin->setRange(30, 15);  // given upside down: the same interval
    EXPECT_EQ(spin->lower(), 15);
    EXPECT_EQ(spin->upper(), 30);
    EXPECT_EQ(spin->position(), 20);
    // Setting the position from code never reports a scroll.
    EXPECT_EQ(notifications, 0);
}

TEST_F(UpDownFixture, MouseStepsAndReportsEvenAtBound) {
    spin->setRange(0, 3);
    spin->setPosition(2);
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() - 4, 10));
    EXPECT_EQ(spin->position(), 3);
    EXPECT_EQ(buddy->text(), "3");
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() - 4, 10));
    EXPECT_EQ(spin->position(), 3);
    EXPECT_EQ(notifications, 2);  // the click at the bound is reported too
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(3, 10));
    EXPECT_EQ(spin->position(), 2);
    EXPECT_EQ(notifications, 3);
}

TEST_F(UpDownFixture, ArrowKeysStepOnControlAndReadOnlyBuddy) {
    spin->setRange(0, 100);
    spin->setPosition(50);
    QTest::keyClick(spin, Qt::Key_Right);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->position(), 52);
    QTest::keyClick(spin, Qt::Key_Left);
    EXPECT_EQ(spin->position(), 51);

    buddy->setReadOnly(true);
    QTest::keyClick(buddy, Qt::Key_Right);
    QTest::keyClick(buddy, Qt::Key_Down);
    QTest::keyClick(buddy, Qt::Key_Down);
    EXPECT_EQ(spin->position(), 50);
    EXPECT_EQ(notifications, 6);

    // In a buddy the user types into, left and right move the cursor; up and down still step.
    buddy->setReadOnly(false);
    QTest::keyClick(buddy, Qt::Key_Left);
    EXPECT_EQ(spin->position(), 50);
    QTest::keyClick(buddy, Qt::Key_Up);
    EXPECT_EQ(spin->position(), 51);

    spin->setArrowKeys(false);
    QTest::keyClick(spin, Qt::Key_Right);
    EXPECT_EQ(spin->position(), 51);
}

TEST(EditWidget, UpperCaseAppliesToSetAndTypedText) {
    QWidget parent;
    auto* edit = new EditWidget(&parent);
    edit->setControlText("abc1");
    EXPECT_EQ(edit->text(), "abc1");
    edit->setUpperCase(true);
    EXPECT_EQ(edit->text(), "ABC1");  // switching the style on converts what is shown
    edit->setControlText("x.y");
    EXPECT_EQ(edit->text(), "X.Y");
    parent.show();
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, "zq");
    EXPECT_EQ(edit->text(), "X.YZQ");
}

}  // namespace
}  // namespace vorlane::dk
