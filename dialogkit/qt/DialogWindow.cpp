#include "dialogkit/qt/DialogWindow.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <string>

#include "dialogkit/Dialog.h"
#include "dialogkit/qt/QtPaint.h"

namespace vorlane::dk {

namespace {

// How a window that accepts files takes this drag: a copy (or else a link) of its one local
// file, or not at all. A move is never taken, so the source never deletes the file it offered.
Qt::DropAction fileDropAction(const QDropEvent& event) {
    const QMimeData* data = event.mimeData();
    if (data == nullptr || !data->hasUrls()) {
        return Qt::IgnoreAction;
    }
    const QList<QUrl> urls = data->urls();
    // A host makes it a network path, however local its scheme.
    if (urls.size() != 1 || !urls.constFirst().isLocalFile() ||
        !urls.constFirst().host().isEmpty() || urls.constFirst().toLocalFile().isEmpty()) {
        return Qt::IgnoreAction;
    }
    if ((event.possibleActions() & Qt::CopyAction) != 0) {
        return Qt::CopyAction;
    }
    return (event.possibleActions() & Qt::LinkAction) != 0 ? Qt::LinkAction : Qt::IgnoreAction;
}

// Accepts a drag of one local file, refuses any other; true when accepted.
bool judgeDrag(QDropEvent& event) {
    const Qt::DropAction action = fileDropAction(event);
    if (action == Qt::IgnoreAction) {
        event.ignore();
        return false;
    }
    event.setDropAction(action);
    event.accept();
    return true;
}

}  // namespace

DialogWindow::DialogWindow(CDialog& owner, QWidget* parent, DialogStyle style)
    : QDialog(parent), owner_(owner) {
    if ((style & kSysMenu) != 0) {
        auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
        menuKey->setContext(Qt::WindowShortcut);
        QObject::connect(menuKey, &QShortcut::activated, this, [this] {
            const QPoint at = mapToGlobal(QPoint(0, 0));
            owner_.popupSystemMenu(at.x(), at.y());
        });
    }
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    QObject::connect(help, &QShortcut::activated, this,
                     [this] { send(Message::Command, ID_HELP); });
}

QWidget* DialogWindow::item(int id) const {
    if (id == IDC_STATIC) {
        return nullptr;
    }
    for (const Item& i : items) {
        if (i.control->id == id) {
            return i.widget;
        }
    }
    return nullptr;
}

bool DialogWindow::send(Message message, int id, const MessageArgs& args) {
    return owner_.dispatch(message, id, args);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        pressEnter();
        return;
    }
    if (event->key() == Qt::Key_Escape && plain) {
        send(Message::Command, IDCANCEL);
        return;
    }
    QWidget::keyPressEvent(event);
}

// A focused push button is pressed; otherwise the default button; with neither, the OK command
// goes to the dialog, which decides what it means.
void DialogWindow::pressEnter() {
    if (auto* focused = dynamic_cast<QPushButton*>(focusWidget())) {
        if (focused->isEnabled()) {
            focused->click();
        }
        return;
    }
    for (const Item& i : items) {
        auto* button = dynamic_cast<QPushButton*>(i.widget);
        if (button != nullptr && button->isDefault() && button->isVisible()) {
            if (button->isEnabled()) {
                button->click();
            }
            return;
        }
    }
    send(Message::Command, IDOK);
}

void DialogWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintSurface surface(painter);
    PaintContext context(surface);
    MessageArgs args;
    args.paint = &context;
    send(Message::Paint, 0, args);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    QWidget* under = childAt(event->pos());
    if (under == nullptr || dynamic_cast<QGroupBox*>(under) || dynamic_cast<QLabel*>(under)) {
        owner_.popupSystemMenu(event->globalPos().x(), event->globalPos().y());
        event->accept();
        return;
    }
    QDialog::contextMenuEvent(event);
}

void DialogWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        update();
    }
    QDialog::changeEvent(event);
}

void DialogWindow::dragEnterEvent(QDragEnterEvent* event) {
    judgeDrag(*event);
}

void DialogWindow::dragMoveEvent(QDragMoveEvent* event) {
    judgeDrag(*event);
}

void DialogWindow::dropEvent(QDropEvent* event) {
    if (!judgeDrag(*event)) {
        return;
    }
    postDropFiles(
        QFile::encodeName(event->mimeData()->urls().constFirst().toLocalFile()).toStdString());
}

// A drop is handled once it has returned, so the drag source is released before the handler can
// open a message box.
void DialogWindow::postDropFiles(std::string path) {
    QMetaObject::invokeMethod(
        this,
        [this, path = std::move(path)] {
            MessageArgs args;
            args.path = &path;
            send(Message::DropFiles, 0, args);
        },
        Qt::QueuedConnection);
}

void DialogWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseDoubleClickEvent(event);
        return;
    }
    MessageArgs args;
    const QPoint at = event->position().toPoint();
    args.point = Point{at.x(), at.y()};
    send(Message::LButtonDblClk, 0, args);
}

void DialogWindow::setButtonShortcut(int id, const char* keys) {
    auto* button = dynamic_cast<QPushButton*>(item(id));
    if (button == nullptr) {
        return;
    }
    const QKeySequence sequence(QString::fromUtf8(keys), QKeySequence::PortableText);
    auto* shortcut = new QShortcut(sequence, this);
    shortcut->setContext(Qt::WindowShortcut);
    // Pressed like a click, so a disabled button stays deaf to its keys as well.
    QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    button->setToolTip(sequence.toString(QKeySequence::NativeText));
}

void DialogWindow::setMenuShortcut(int id, const std::string& keys) {
    const QKeySequence sequence(QString::fromStdString(keys), QKeySequence::PortableText);
    auto* shortcut = new QShortcut(sequence, this);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, this, [this, id] {
        MessageArgs args;
        args.value = id;
        send(Message::SysCommand, 0, args);
    });
}

}  // namespace vorlane::dk
