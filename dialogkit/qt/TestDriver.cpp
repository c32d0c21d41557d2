// The test driver on Qt: real mouse, key and drag events through QTest and Qt's event system.
#include "dialogkit/TestDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDropEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "dialogkit/App.h"
#include "dialogkit/Template.h"
#include "dialogkit/qt/ControlText.h"
#include "dialogkit/qt/DialogWindow.h"
#include "dialogkit/qt/QtHandle.h"
#include "dialogkit/qt/QtText.h"
#include "dialogkit/qt/Widgets.h"

namespace vorlane::dk::driver {

namespace {

QPoint qpoint(Point p) {
    return QPoint(p.x, p.y);
}
Rect rectOf(const QRect& r) {
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
std::string str(const QString& text) {
    return text.toStdString();
}

Qt::Key qtKey(Key key) {
    switch (key) {
        case Key::Return:
            return Qt::Key_Return;
        case Key::Enter:
            return Qt::Key_Enter;
        case Key::Escape:
            return Qt::Key_Escape;
        case Key::Space:
            return Qt::Key_Space;
        case Key::Tab:
            return Qt::Key_Tab;
        case Key::Left:
            return Qt::Key_Left;
        case Key::Right:
            return Qt::Key_Right;
        case Key::Up:
            return Qt::Key_Up;
        case Key::Down:
            return Qt::Key_Down;
        case Key::F1:
            return Qt::Key_F1;
        case Key::D:
            return Qt::Key_D;
        case Key::K:
            return Qt::Key_K;
        case Key::O:
            return Qt::Key_O;
        case Key::S:
            return Qt::Key_S;
    }
    return Qt::Key_unknown;
}

Qt::KeyboardModifiers qtModifiers(unsigned modifiers) {
    Qt::KeyboardModifiers result;
    if ((modifiers & kCtrl) != 0) {
        result |= Qt::ControlModifier;
    }
    if ((modifiers & kAlt) != 0) {
        result |= Qt::AltModifier;
    }
    return result;
}

QComboBox* combo(WindowHandle list) {
    return qobject_cast<QComboBox*>(toWidget(list));
}

QMenu* menu(WindowHandle handle) {
    return qobject_cast<QMenu*>(toWidget(handle));
}

// Pixels a push button needs around its text, beyond the text's own advance.
constexpr int kButtonMargin = 8;

}  // namespace

struct TestApplication::Native {
    Native(int& argc, char** argv) : application(argc, argv) {}
    QApplication application;
};

TestApplication::TestApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    native_ = std::make_unique<Native>(argc, argv);
    applyDialogFont();
}

TestApplication::~TestApplication() = default;

WindowHandle control(WindowHandle dialog, int id) {
    if (auto* window = dynamic_cast<DialogWindow*>(toWidget(dialog))) {
        return toHandle(window->item(id));
    }
    return nullptr;
}

std::vector<WindowHandle> controls(WindowHandle dialog) {
    std::vector<WindowHandle> found;
    if (auto* window = dynamic_cast<DialogWindow*>(toWidget(dialog))) {
        for (const DialogWindow::Item& item : window->items) {
            if (item.control->id != IDC_STATIC) {
                found.push_back(toHandle(item.widget));
            }
        }
    }
    return found;
}

std::vector<WindowHandle> allControls(WindowHandle dialog) {
    std::vector<WindowHandle> found;
    if (auto* window = dynamic_cast<DialogWindow*>(toWidget(dialog))) {
        for (const DialogWindow::Item& item : window->items) {
            found.push_back(toHandle(item.widget));
        }
    }
    return found;
}

Rect dialogUnitsToPixels(WindowHandle, const Rect& dlu) {
    const int left = dluToPixelsX(dlu.left), top = dluToPixelsY(dlu.top);
    return Rect{left, top, left + dluToPixelsX(dlu.width()), top + dluToPixelsY(dlu.height())};
}

std::string text(WindowHandle window) {
    const QWidget* w = toWidget(window);
    if (w == nullptr) {
        return {};
    }
    return str(w->isWindow() ? w->windowTitle() : controlText(w));
}

void setText(WindowHandle control, const std::string& text) {
    QWidget* w = toWidget(control);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->selectAll();
        edit->insert(QString::fromStdString(text));
    } else {
        setControlText(w, QString::fromStdString(text));
    }
}

bool isReadOnly(WindowHandle edit) {
    return qobject_cast<QLineEdit*>(toWidget(edit))->isReadOnly();
}

std::string accessibleName(WindowHandle control) {
    return str(toWidget(control)->accessibleName());
}

std::string toolTip(WindowHandle control) {
    return str(toWidget(control)->toolTip());
}

Rect geometry(WindowHandle control) {
    return rectOf(toWidget(control)->geometry());
}

void setGeometry(WindowHandle control, const Rect& rect) {
    toWidget(control)->setGeometry(rect.left, rect.top, rect.width(), rect.height());
}

void click(WindowHandle window) {
    QTest::mouseClick(toWidget(window), Qt::LeftButton);
}

void clickAt(WindowHandle window, Point at) {
    QTest::mouseClick(toWidget(window), Qt::LeftButton, {}, qpoint(at));
}

void doubleClickAt(WindowHandle window, Point at) {
    QTest::mouseDClick(toWidget(window), Qt::LeftButton, {}, qpoint(at));
}

void drag(WindowHandle window, const std::vector<Point>& path) {
    if (path.empty()) {
        return;
    }
    QWidget* w = toWidget(window);
    QTest::mousePress(w, Qt::LeftButton, {}, qpoint(path.front()));
    for (size_t i = 1; i < path.size(); ++i) {
        QTest::mouseMove(w, qpoint(path[i]));
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, qpoint(path.back()));
}

void pressKey(WindowHandle window, Key key, unsigned modifiers) {
    QWidget* w = window != nullptr ? toWidget(window) : QApplication::focusWidget();
    QTest::keyClick(w, qtKey(key), qtModifiers(modifiers));
}

void typeText(WindowHandle window, const std::string& text) {
    QTest::keyClicks(toWidget(window), QString::fromStdString(text));
}

WindowHandle focus() {
    return toHandle(QApplication::focusWidget());
}

void setFocus(WindowHandle control) {
    toWidget(control)->setFocus();
}

void activate(WindowHandle window) {
    QApplication::setActiveWindow(toWidget(window));
}

bool isVisible(WindowHandle window) {
    return toWidget(window)->isVisible();
}

bool hasIcon(WindowHandle window) {
    return !toWidget(window)->windowIcon().isNull();
}

void close(WindowHandle window) {
    toWidget(window)->close();
}

void processEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

int count(WindowHandle list) {
    return combo(list)->count();
}

int currentIndex(WindowHandle list) {
    return combo(list)->currentIndex();
}

std::string itemText(WindowHandle list, int index) {
    return str(combo(list)->itemText(index));
}

void pick(WindowHandle list, int index) {
    QComboBox* c = combo(list);
    c->setCurrentIndex(index);
    emit c->activated(index);
}

UpDownState upDown(WindowHandle handle) {
    const auto* spin = dynamic_cast<const UpDownWidget*>(toWidget(handle));
    return UpDownState{spin->lower(), spin->upper(), spin->position()};
}

Rect cellRect(WindowHandle grid, int column, int row) {
    return rectOf(dynamic_cast<const BitGridWidget*>(toWidget(grid))->cellRect(column, row));
}

Pixels paintedPixels(WindowHandle window) {
    QWidget* w = toWidget(window);
    QImage shot(w->size(), QImage::Format_RGB32);
    w->render(&shot, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    Pixels pixels{shot.width(), shot.height(), {}};
    pixels.rgb.reserve(static_cast<size_t>(shot.width()) * shot.height());
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            pixels.rgb.push_back(RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)),
                                     static_cast<uint8_t>(qBlue(p))));
        }
    }
    return pixels;
}

Rgb backgroundColour(WindowHandle window) {
    const QColor c = toWidget(window)->palette().color(QPalette::Window);
    return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
               static_cast<uint8_t>(c.blue()));
}

bool saveScreenshot(WindowHandle window, const std::string& path) {
    return toWidget(window)->grab().save(QString::fromStdString(path));
}

namespace {
// A child of the window it watches, so that it goes with it.
struct PaintFilter : QObject {
    PaintFilter(QWidget* window, QRect frame, std::shared_ptr<int> count)
        : QObject(window), frame(frame), count(std::move(count)) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint &&
            QRegion(frame).subtracted(static_cast<QPaintEvent*>(event)->region()).isEmpty()) {
            ++*count;
        }
        return false;
    }
    QRect frame;
    std::shared_ptr<int> count;
};
}  // namespace

struct PaintCounter::Native {
    std::shared_ptr<int> count = std::make_shared<int>(0);
    QPointer<PaintFilter> filter;
};

PaintCounter::PaintCounter(WindowHandle window, const Rect& area)
    : native_(std::make_unique<Native>()) {
    native_->filter = new PaintFilter(
        toWidget(window), QRect(area.left, area.top, area.width(), area.height()), native_->count);
}

PaintCounter::~PaintCounter() {
    delete native_->filter.data();
}

int PaintCounter::count() const {
    return *native_->count;
}

std::string caption(WindowHandle window) {
    return str(toWidget(window)->windowTitle());
}

std::vector<ShownText> shownTexts(WindowHandle window) {
    std::vector<ShownText> shown;
    for (QWidget* w : toWidget(window)->findChildren<QWidget*>()) {
        QString text;
        int room = w->width();
        int height = w->height();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            room = label->contentsRect().width();
            height = label->contentsRect().height();
        } else if (auto* box = dynamic_cast<CheckBoxWidget*>(w)) {
            text = box->text();
            room = box->labelRect().width();
            height = box->labelRect().height();
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            text = button->text();
            room -= kButtonMargin;
        } else if (auto* other = qobject_cast<QAbstractButton*>(w)) {
            text = other->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            room -= 16;
            height = w->fontMetrics().height();
        } else {
            continue;
        }
        shown.push_back(ShownText{str(text), w->fontMetrics().horizontalAdvance(text),
                                  w->fontMetrics().height(), room, height});
    }
    return shown;
}

std::vector<MenuItem> menuItems(WindowHandle handle) {
    std::vector<MenuItem> items;
    for (QAction* action : menu(handle)->actions()) {
        items.push_back(MenuItem{str(action->text()), str(action->shortcut().toString())});
    }
    return items;
}

void chooseMenuItem(WindowHandle handle, int index) {
    QMenu* popup = menu(handle);
    popup->setActiveAction(popup->actions().at(index));
    QTest::keyClick(popup, Qt::Key_Return);
}

void openWindowMenu(WindowHandle window, bool byKey) {
    QWidget* w = toWidget(window);
    if (byKey) {
        QTest::keyClick(w, Qt::Key_Space, Qt::AltModifier);
        return;
    }
    const QPoint corner(5, w->height() - 5);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, corner, w->mapToGlobal(corner));
    QApplication::sendEvent(w, &rightClick);
}

std::string fileUrl(const std::string& path) {
    return str(QUrl::fromLocalFile(QString::fromStdString(path)).toString());
}

std::string dragAndDrop(WindowHandle window, const DragData& data, unsigned offered) {
    QMimeData mime;
    if (data.urls) {
        QList<QUrl> urls;
        for (const std::string& url : *data.urls) {
            urls << QUrl(QString::fromStdString(url));
        }
        mime.setUrls(urls);
    }
    if (data.text) {
        mime.setText(QString::fromStdString(*data.text));
    }
    Qt::DropActions actions;
    if ((offered & kDropCopy) != 0) {
        actions |= Qt::CopyAction;
    }
    if ((offered & kDropMove) != 0) {
        actions |= Qt::MoveAction;
    }
    if ((offered & kDropLink) != 0) {
        actions |= Qt::LinkAction;
    }
    QWidget* target = toWidget(window);
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(at), actions, &mime, Qt::LeftButton, Qt::NoModifier);
    std::string accepted;
    for (QDropEvent* event : std::initializer_list<QDropEvent*>{&enter, &move, &drop}) {
        QCoreApplication::sendEvent(target, event);
        accepted += event->isAccepted() ? '+' : '-';
    }
    QCoreApplication::processEvents();
    if (drop.isAccepted()) {
        accepted += drop.dropAction() == Qt::CopyAction   ? " copy"
                    : drop.dropAction() == Qt::LinkAction ? " link"
                                                          : " other";
    }
    return accepted;
}

std::string clipboardText() {
    return str(QGuiApplication::clipboard()->text());
}

struct ModalDriver::Native {
    static QWidget* current() {
        QWidget* popup = QApplication::activePopupWidget();
        return popup != nullptr ? popup : QApplication::activeModalWidget();
    }

    std::function<void(WindowHandle)> action;
    QPointer<QWidget> baseline;
    QTimer poll;
    QTimer watchdog;
    bool fired = false;
};

ModalDriver::ModalDriver() : native_(std::make_unique<Native>()) {
    Native& n = *native_;
    QObject::connect(&n.poll, &QTimer::timeout, [&n] {
        QWidget* now = Native::current();
        if (now != nullptr && now != n.baseline.data() && now->isVisible()) {
            n.poll.stop();
            n.watchdog.stop();
            n.fired = true;
            n.action(toHandle(now));
        }
    });
    n.watchdog.setSingleShot(true);
    QObject::connect(&n.watchdog, &QTimer::timeout, [&n] {
        n.poll.stop();
        // Unblocks every nested loop still running.
        for (QWidget* open = Native::current(); open != nullptr; open = Native::current()) {
            if (auto* dialog = qobject_cast<QDialog*>(open)) {
                dialog->done(0);
            } else {
                open->close();
            }
            if (Native::current() == open) {
                break;
            }
        }
    });
}

ModalDriver::~ModalDriver() = default;

void ModalDriver::onNext(std::function<void(WindowHandle)> action) {
    native_->action = std::move(action);
    native_->baseline = Native::current();
    native_->fired = false;
    native_->poll.start(10);
    native_->watchdog.start(5000);
}

bool ModalDriver::fired() const {
    return native_->fired;
}

}  // namespace vorlane::dk::driver
