// The Qt widgets the kit builds controls from, where Qt's own do not behave as the dialogs expect.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "dialogkit/Types.h"

namespace vorlane::dk {

// A line edit that can keep every text it shows in upper case, set or typed.
class EditWidget : public QLineEdit {
  public:
    explicit EditWidget(QWidget* parent);
    void setUpperCase(bool on);
    // Sets the text as the control shows it (upper case when the style asks for it).
    void setControlText(const QString& text);

  private:
    bool upperCase_ = false;
};

// An edit of several lines: a report to read, scroll and select from when read-only. Lines do not
// wrap, so that tables keep their columns.
class MultiLineEditWidget : public QPlainTextEdit {
  public:
    explicit MultiLineEditWidget(QWidget* parent);
    void setFixedPitch(bool on);
};

// A check box that can put its text left of the box, align the text and draw a thin sunken edge.
// Clicking anywhere on it toggles it, as with the box itself.
class CheckBoxWidget : public QCheckBox {
  public:
    CheckBoxWidget(const QString& text, QWidget* parent);
    void setLeftText(bool on) { leftText_ = on; }
    void setTextAlignment(Qt::Alignment alignment) { alignment_ = alignment; }
    void setEdge(bool on) { edge_ = on; }
    QSize sizeHint() const override;
    // Where the box and the text are drawn.
    QRect boxRect() const;
    QRect labelRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    QRect innerRect() const;

    bool leftText_ = false;
    bool edge_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

// A group box drawn as the classic etched rectangle with its title set into the top edge. It
// draws itself, so showing one loads no style images.
class GroupBoxWidget : public QGroupBox {
  public:
    GroupBoxWidget(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A stand-alone up-down control: two arrow buttons with a range and a position held within it.
// When it has a buddy and buddy-integer writing, every position change is written into the buddy
// as an integer. Each step by mouse, key or screen reader is reported through onScroll, even when
// the position stood at a bound and did not move; setting the position from code reports nothing.
// Screen readers see a spin button with its value, range and increase and decrease actions.
// (UpDownWidget.cpp)
class UpDownWidget : public QWidget {
  public:
    explicit UpDownWidget(QWidget* parent);
    ~UpDownWidget() override;

    void setHorizontal(bool on) { horizontal_ = on; }
    void setArrowKeys(bool on) { arrowKeys_ = on; }
    void setBuddy(QLineEdit* buddy, bool writeInteger);
    // Null once the buddy is being destroyed.
    QLineEdit* buddy() const { return qobject_cast<QLineEdit*>(buddy_.data()); }

    // A range given with lower > upper is taken as the same interval.
    void setRange(int lower, int upper);
    int lower() const { return lower_; }
    int upper() const { return upper_; }
    // Clamped into the range; returns the previous position.
    int setPosition(int position);
    int position() const { return position_; }
    // One step toward upper (+1) or lower (-1), then the notification.
    void step(int direction);

    std::function<void()> onScroll;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QSize sizeHint() const override;

  private:
    int stepForKey(int key) const;
    void writeBuddy();
    void repeat();

    bool horizontal_ = false;
    bool arrowKeys_ = false;
    bool writeInteger_ = false;
    // Held as a plain object: events still arrive while the edit is half destroyed.
    QPointer<QObject> buddy_;
    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
    int pressed_ = 0;  // -1 or +1 while an arrow is held
    QTimer repeatTimer_;
};

// A grid of cells 8 wide, one bit each, a row a byte with bit 7 the leftmost cell, drawn enlarged
// through the paint context in square cells as large as the control allows. A click toggles a
// cell; a drag sets every cell it passes to the value the first one took. The arrow keys move a
// cursor, shown while the grid has the focus, and Space toggles the cell under it. Each change by
// the user is reported through onChange; setting the rows from code reports nothing.
// (BitGridWidget.cpp)
class BitGridWidget : public QWidget {
  public:
    static constexpr int kColumns = 8;

    explicit BitGridWidget(QWidget* parent);

    void setRows(std::vector<uint8_t> rows);
    const std::vector<uint8_t>& rows() const { return rows_; }
    void setColours(Rgb lit, Rgb unlit);
    QPoint cursor() const { return cursor_; }
    // Cell (column, row) in widget coordinates, without the lines around it.
    QRect cellRect(int column, int row) const;

    std::function<void()> onChange;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int pitch() const;  // cell plus one line, in pixels
    QPoint origin() const;
    std::optional<QPoint> cellAt(QPoint position) const;
    bool bit(QPoint cell) const;
    void setBit(QPoint cell, bool on);
    // Sets every cell on the line from `from` to `to` to dragValue_.
    void dragLine(QPoint from, QPoint to);
    void changed();

    std::vector<uint8_t> rows_;
    Rgb lit_{255, 255, 255};
    Rgb unlit_{0, 0, 0};
    QPoint cursor_;
    // A drag exists only from a press on a cell; lastCell_ is empty while the pointer is off the
    // grid, so leaving and coming back does not draw across.
    bool dragging_ = false;
    bool dragValue_ = false;
    std::optional<QPoint> lastCell_;
};

}  // namespace vorlane::dk
