// The test driver: what a test does with the kit's windows as a user would, through the backend
// in use, so that the same test sources run over every backend. Windows and controls are the
// kit's opaque handles (CDialog::window(), CDialog::GetDlgItem, control()); points and rectangles
// are in the client coordinates of the window or control given. Prompts are answered by the
// scripted prompts, never here. Linked into test programs only (vorlane_dialogkit_driver).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogkit/Types.h"

namespace vorlane::dk::driver {

// The backend's application for a test program, with the dialog font the editor uses; where
// the backend can draw without a display, it does so unless told otherwise, so that test
// discovery at build time needs none.
class TestApplication {
  public:
    TestApplication(int& argc, char** argv);
    ~TestApplication();
    TestApplication(const TestApplication&) = delete;
    TestApplication& operator=(const TestApplication&) = delete;

  private:
    struct Native;
    std::unique_ptr<Native> native_;
};

enum class Key { Return, Enter, Escape, Space, Tab, Left, Right, Up, Down, F1, D, K, O, S };
enum Modifier : unsigned { kNoModifier = 0, kCtrl = 1u << 0, kAlt = 1u << 1 };

// Controls.
// The control with `id` of the dialog window `dialog`; null when it has none.
WindowHandle control(WindowHandle dialog, int id);
// Every control of a dialog window that has an ID (not IDC_STATIC), in template order.
std::vector<WindowHandle> controls(WindowHandle dialog);
// Every control of a dialog window, IDC_STATIC ones too, in template order.
std::vector<WindowHandle> allControls(WindowHandle dialog);
// A template rectangle (left, top, right, bottom in dialog units) in pixels of `dialog`, with
// the dialog's own font, as the dialog manager places a control: the position and the size
// convert each on its own, so the right edge is left + width converted, not right converted.
Rect dialogUnitsToPixels(WindowHandle dialog, const Rect& dlu);
// What a control shows as its text (an edit's, a label's, a button's, a group's title, a list's
// current entry); a window's caption.
std::string text(WindowHandle window);
// Replaces the whole text of an edit as pasting over it would, through the edit's own rules
// (upper case, length); sets any other control's text.
void setText(WindowHandle control, const std::string& text);
bool isReadOnly(WindowHandle edit);
std::string accessibleName(WindowHandle control);
std::string toolTip(WindowHandle control);
// The control's rectangle in its dialog's client coordinates, and moving it there.
Rect geometry(WindowHandle control);
void setGeometry(WindowHandle control, const Rect& rect);

// Mouse and keys.
// A left click in the middle of `window`, or at `at`.
void click(WindowHandle window);
void clickAt(WindowHandle window, Point at);
void doubleClickAt(WindowHandle window, Point at);
// Presses the left button at the first point, moves through the others and releases it at the
// last.
void drag(WindowHandle window, const std::vector<Point>& path);
// A key pressed and released in `window` (the control or window that has the focus for null).
void pressKey(WindowHandle window, Key key, unsigned modifiers = kNoModifier);
// Types `text` (UTF-8) into `window` character by character.
void typeText(WindowHandle window, const std::string& text);

// Windows.
WindowHandle focus();
void setFocus(WindowHandle control);
// Makes `window` the active window, as a click on its title would.
void activate(WindowHandle window);
bool isVisible(WindowHandle window);
bool hasIcon(WindowHandle window);
// The close box of `window`.
void close(WindowHandle window);
// Lets the backend deliver what is pending: posted events, and the paints they cause.
void processEvents();

// Drop-down lists.
int count(WindowHandle list);
int currentIndex(WindowHandle list);
std::string itemText(WindowHandle list, int index);
// As the user picking entry `index` from the list: the dialog hears of it.
void pick(WindowHandle list, int index);

// Up-down controls.
struct UpDownState {
    int lower = 0;
    int upper = 0;
    int position = 0;
    friend bool operator==(const UpDownState&, const UpDownState&) = default;
};
UpDownState upDown(WindowHandle upDown);

// Bit grids: cell (column, row) in the grid's client coordinates, without the lines around it.
Rect cellRect(WindowHandle grid, int column, int row);

// Pixels.
// What `window` paints by itself (its background and paint handler, no controls), row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Rgb> rgb;
    Rgb at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
Pixels paintedPixels(WindowHandle window);
// The colour the window's background is painted in.
Rgb backgroundColour(WindowHandle window);
// `window` as the screen shows it, controls included, saved as a PNG file.
bool saveScreenshot(WindowHandle window, const std::string& path);

// Counts the paints of `window` that cover all of `area`: the repaints a dialog asks for, as
// against a control redrawing its own small part.
class PaintCounter {
  public:
    PaintCounter(WindowHandle window, const Rect& area);
    ~PaintCounter();
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;
    int count() const;

  private:
    struct Native;
    std::unique_ptr<Native> native_;
};

// Each text a window shows in a label, button, check box or group box (and its caption), with
// the room its control gives it and the room it needs in the control's font.
struct ShownText {
    std::string text;
    int neededWidth = 0;
    int neededHeight = 0;
    int roomWidth = 0;
    int roomHeight = 0;
};
std::string caption(WindowHandle window);
std::vector<ShownText> shownTexts(WindowHandle window);

// Menus.
struct MenuItem {
    std::string text;  // with its '&' mnemonic; empty for a separator
    std::string keys;  // the shortcut shown, as "Ctrl+D"; empty for none
    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};
std::vector<MenuItem> menuItems(WindowHandle menu);
// Chooses item `index` of an open popup menu, as the arrow keys and Enter would.
void chooseMenuItem(WindowHandle menu, int index);
// Opens the window menu of `window` by Alt+Space or by a right click near its lower left corner.
void openWindowMenu(WindowHandle window, bool byKey);

// Drag and drop from another program: what the drag carries and the actions it offers.
enum DropAction : unsigned { kDropCopy = 1u << 0, kDropMove = 1u << 1, kDropLink = 1u << 2 };
struct DragData {
    std::optional<std::vector<std::string>> urls;  // a list of addresses, empty or not
    std::optional<std::string> text;               // plain text
};
std::string fileUrl(const std::string& path);
// Drags `data` over the middle of `window` and drops it there, then lets the window handle what
// it took. "+++ copy": enter, move and drop were accepted and the file is copied ("link",
// "other"); "---": all three were refused.
std::string dragAndDrop(WindowHandle window, const DragData& data,
                        unsigned offered = kDropCopy | kDropMove | kDropLink);

std::string clipboardText();

// Drives a nested modal dialog or popup menu from inside its own loop: `onNext` runs its action
// once on the next one to appear other than the one active now. A watchdog closes whatever is
// still open after five seconds, so that a faulty test fails (fired() stays false) instead of
// hanging.
class ModalDriver {
  public:
    ModalDriver();
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    void onNext(std::function<void(WindowHandle)> action);
    bool fired() const;

  private:
    struct Native;
    std::unique_ptr<Native> native_;
};

}  // namespace vorlane::dk::driver
