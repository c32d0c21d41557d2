#include "dialogkit/Dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

#include "dialogkit/App.h"
#include "dialogkit/ControlText.h"
#include "dialogkit/PaintContext.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Widgets.h"

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

}  // namespace

// The Qt window of a realized template. It turns Qt's events into the dialog's messages.
class DialogWindow : public QDialog {
  public:
    struct Item {
        const ControlTemplate* control;
        QWidget* widget;
    };

    DialogWindow(CDialog& owner, QWidget* parent) : QDialog(parent), owner_(owner) {}

    QWidget* item(int id) const {
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

    std::vector<Item> items;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
            pressEnter();
            return;
        }
        if (event->key() == Qt::Key_Escape && plain) {
            owner_.dispatch(Message::Command, IDCANCEL);
            return;
        }
        QWidget::keyPressEvent(event);
    }

    // Escape and the close box arrive here; both are the Cancel command.
    void reject() override { owner_.dispatch(Message::Command, IDCANCEL); }
    void accept() override { owner_.dispatch(Message::Command, IDOK); }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintContext context(painter);
        MessageArgs args;
        args.paint = &context;
        owner_.dispatch(Message::Paint, 0, args);
    }

    void contextMenuEvent(QContextMenuEvent* event) override {
        if (childAt(event->pos()) == nullptr || dynamic_cast<QGroupBox*>(childAt(event->pos())) ||
            dynamic_cast<QLabel*>(childAt(event->pos()))) {
            owner_.popupSystemMenu(event->globalPos().x(), event->globalPos().y());
            event->accept();
            return;
        }
        QDialog::contextMenuEvent(event);
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange) {
            update();
        }
        QDialog::changeEvent(event);
    }

    void dragEnterEvent(QDragEnterEvent* event) override { judgeDrag(*event); }
    void dragMoveEvent(QDragMoveEvent* event) override { judgeDrag(*event); }

    void dropEvent(QDropEvent* event) override {
        if (!judgeDrag(*event)) {
            return;
        }
        std::string path =
            QFile::encodeName(event->mimeData()->urls().constFirst().toLocalFile()).toStdString();
        // Handled once the drop has returned, so the drag source is released before the handler
        // can open a message box; a window destroyed meanwhile drops the call with it.
        QMetaObject::invokeMethod(
            this,
            [this, path = std::move(path)] {
                MessageArgs args;
                args.path = &path;
                owner_.dispatch(Message::DropFiles, 0, args);
            },
            Qt::QueuedConnection);
    }

  private:
    // Accepts a drag of one local file, refuses any other; true when accepted.
    static bool judgeDrag(QDropEvent& event) {
        const Qt::DropAction action = fileDropAction(event);
        if (action == Qt::IgnoreAction) {
            event.ignore();
            return false;
        }
        event.setDropAction(action);
        event.accept();
        return true;
    }

    // A focused push button is pressed; otherwise the default button; with neither, the OK
    // command goes to the dialog, which decides what it means.
    void pressEnter() {
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
        owner_.dispatch(Message::Command, IDOK);
    }

    CDialog& owner_;
};

namespace {

QString qtext(const char* text) {
    return QString::fromUtf8(text != nullptr ? text : "");
}

QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

bool hasStyle(const ControlTemplate& c, ControlStyle s) {
    return (c.style & s) != 0;
}

Qt::Alignment horizontalAlignment(const ControlTemplate& c) {
    if (hasStyle(c, kCentre)) {
        return Qt::AlignHCenter;
    }
    return hasStyle(c, kRight) ? Qt::AlignRight : Qt::AlignLeft;
}

// The static text that labels a control without text of its own: the nearest one ending just
// left of it on the same line, or just above it in the same column.
const ControlTemplate* labelFor(const ControlTemplate& c, std::span<const ControlTemplate> all) {
    const ControlTemplate* best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (const ControlTemplate& s : all) {
        if (s.kind != ControlKind::Static || s.text == nullptr || s.text[0] == '\0') {
            continue;
        }
        const bool rowsOverlap = s.y < c.y + c.cy && c.y < s.y + s.cy;
        const bool columnsOverlap = s.x < c.x + c.cx && c.x < s.x + s.cx;
        int distance = std::numeric_limits<int>::max();
        if (rowsOverlap && s.x + s.cx <= c.x + 2) {
            distance = c.x - (s.x + s.cx);
        } else if (columnsOverlap && s.y + s.cy <= c.y + 2) {
            distance = c.y - (s.y + s.cy);
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &s;
        }
    }
    return best;
}

QWidget* requireItem(const CDialog& dialog, int id) {
    QWidget* widget = dialog.GetDlgItem(id);
    if (widget == nullptr) {
        throw std::logic_error("the dialog has no control with ID " + std::to_string(id));
    }
    return widget;
}

}  // namespace

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    QWidget* widget = requireItem(*dx.m_pDlgWnd, id);
    if (control.widget() != widget) {
        control.Attach(widget);
    }
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    QWidget* widget = requireItem(*dx.m_pDlgWnd, id);
    if (dx.m_bSaveAndValidate) {
        value = controlText(widget).toStdString();
    } else {
        setControlText(widget, QString::fromStdString(value));
    }
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    auto* button = qobject_cast<QAbstractButton*>(requireItem(*dx.m_pDlgWnd, id));
    if (button == nullptr) {
        throw std::logic_error("control " + std::to_string(id) + " is not a button");
    }
    if (dx.m_bSaveAndValidate) {
        value = button->isChecked() ? 1 : 0;
    } else {
        button->setChecked(value != 0);
    }
}

CDialog::CDialog(const DialogTemplate& dialogTemplate, CDialog* parent)
    : template_(dialogTemplate), parent_(parent) {}

CDialog::~CDialog() {
    delete window_.data();
}

QDialog* CDialog::window() const {
    return window_.data();
}

QWidget* CDialog::GetDlgItem(int id) const {
    return window_ ? static_cast<DialogWindow*>(window_.data())->item(id) : nullptr;
}

QWidget* CDialog::ownerWidget(CDialog* explicitParent) const {
    if (explicitParent != nullptr && explicitParent->window() != nullptr) {
        return explicitParent->window();
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (CWinApp* app = AfxGetApp();
        app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this) {
        return app->m_pMainWnd->window();
    }
    return nullptr;
}

void CDialog::createWindow(QWidget* parent) {
    auto* w = new DialogWindow(*this, parent);
    window_ = w;
    const DialogStyle style = template_.style;
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if ((style & kCaption) != 0) {
        flags |= Qt::WindowTitleHint;
    }
    if ((style & kSysMenu) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if ((style & kMinimizeBox) != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if ((style & kMaximizeBox) != 0) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    w->setWindowFlags(flags);
    w->setWindowTitle(qtext(template_.caption));
    w->setFixedSize(dluToPixelsX(template_.cx), dluToPixelsY(template_.cy));
    w->setSizeGripEnabled(false);

    for (size_t index = 0; index < template_.controls.size(); ++index) {
        const ControlTemplate& c = template_.controls[index];
        const QString text = qtext(c.text);
        QRect rect(dluToPixelsX(c.x), dluToPixelsY(c.y), dluToPixelsX(c.cx), dluToPixelsY(c.cy));
        QWidget* widget = nullptr;
        Qt::FocusPolicy focus = Qt::ClickFocus;
        QString accessibleName = withoutMnemonic(text);

        switch (c.kind) {
            case ControlKind::PushButton:
            case ControlKind::DefPushButton: {
                auto* button = new QPushButton(text, w);
                // Enter is handled by the window, not by Qt's default-button juggling.
                button->setAutoDefault(false);
                button->setDefault(c.kind == ControlKind::DefPushButton);
                const int id = c.id;
                QObject::connect(button, &QPushButton::clicked, w,
                                 [this, id] { dispatch(Message::Command, id); });
                widget = button;
                break;
            }
            case ControlKind::AutoCheckBox: {
                auto* box = new CheckBoxWidget(text, w);
                box->setLeftText(hasStyle(c, kLeftText));
                box->setTextAlignment(horizontalAlignment(c) | Qt::AlignVCenter);
                box->setEdge(hasStyle(c, kStaticEdge));
                const int id = c.id;
                QObject::connect(box, &QCheckBox::clicked, w,
                                 [this, id] { dispatch(Message::Command, id); });
                widget = box;
                break;
            }
            case ControlKind::Edit: {
                auto* edit = new EditWidget(w);
                edit->setReadOnly(hasStyle(c, kReadOnly));
                edit->setAlignment(horizontalAlignment(c) | Qt::AlignVCenter);
                edit->setUpperCase(hasStyle(c, kUpperCase));
                edit->setFrame(hasStyle(c, kStaticEdge));
                edit->setTextMargins(0, 0, 0, 0);
                widget = edit;
                break;
            }
            case ControlKind::ComboBox: {
                auto* combo = new QComboBox(w);
                combo->setInsertPolicy(QComboBox::InsertAtBottom);
                combo->setEditable(false);
                rect.setHeight(std::min(rect.height(), combo->sizeHint().height()));
                const int id = c.id;
                QObject::connect(combo, &QComboBox::activated, w,
                                 [this, id](int) { dispatch(Message::SelChange, id); });
                widget = combo;
                break;
            }
            case ControlKind::GroupBox: {
                auto* group = new GroupBoxWidget(text, w);
                group->setAlignment(hasStyle(c, kCentreTitle) ? Qt::AlignHCenter : Qt::AlignLeft);
                focus = Qt::NoFocus;
                widget = group;
                break;
            }
            case ControlKind::Static: {
                auto* label = new QLabel(text, w);
                label->setAlignment(horizontalAlignment(c) | Qt::AlignTop);
                if (hasStyle(c, kStaticEdge)) {
                    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                    label->setLineWidth(1);
                }
                focus = Qt::NoFocus;
                widget = label;
                break;
            }
            case ControlKind::StaticFrame: {
                auto* frame = new QFrame(w);
                frame->setFrameStyle(QFrame::Box | QFrame::Plain);
                frame->setLineWidth(1);
                if (hasStyle(c, kWhiteFrame)) {
                    QPalette palette = frame->palette();
                    palette.setColor(QPalette::WindowText, Qt::white);
                    frame->setPalette(palette);
                }
                frame->setAttribute(Qt::WA_TransparentForMouseEvents, hasStyle(c, kTransparent));
                focus = Qt::NoFocus;
                widget = frame;
                break;
            }
            case ControlKind::Icon: {
                auto* label = new QLabel(w);
                const Icon icon = LoadIcon(c.iconId);
                if (!icon.isNull()) {
                    label->setPixmap(icon.pixmap(32));
                }
                // Like the classic icon control, it takes the icon's own size.
                rect.setSize(QSize(32, 32));
                focus = Qt::NoFocus;
                widget = label;
                break;
            }
            case ControlKind::UpDown: {
                auto* spin = new UpDownWidget(w);
                spin->setHorizontal(hasStyle(c, kHorz));
                spin->setArrowKeys(hasStyle(c, kArrowKeys));
                if (hasStyle(c, kAutoBuddy) && index > 0) {
                    spin->setBuddy(dynamic_cast<QLineEdit*>(w->items.back().widget),
                                   hasStyle(c, kSetBuddyInt));
                }
                const int id = c.id;
                spin->onScroll = [this, id] {
                    MessageArgs args;
                    args.value = id;
                    dispatch(Message::HScroll, id, args);
                };
                widget = spin;
                break;
            }
        }

        if (c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox ||
            c.kind == ControlKind::UpDown || accessibleName.isEmpty()) {
            if (const ControlTemplate* label = labelFor(c, template_.controls)) {
                accessibleName = withoutMnemonic(qtext(label->text));
            }
        }
        widget->setAccessibleName(accessibleName);
        widget->setObjectName(c.id == IDC_STATIC ? QString()
                                                 : QStringLiteral("control-%1").arg(c.id));
        widget->setGeometry(rect);
        widget->setFocusPolicy(hasStyle(c, kTabStop) ? Qt::StrongFocus : focus);
        widget->setEnabled(!hasStyle(c, kDisabled));
        w->items.push_back({&c, widget});
    }
    // Group boxes are drawn behind what they surround, whatever their place in the order.
    for (const DialogWindow::Item& i : w->items) {
        if (i.control->kind == ControlKind::GroupBox) {
            i.widget->lower();
        }
    }

    if ((style & kSysMenu) != 0) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), w);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, w, [this] {
            const QPoint at = window()->mapToGlobal(QPoint(0, 0));
            popupSystemMenu(at.x(), at.y());
        });
    }
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), w);
    help->setContext(Qt::WindowShortcut);
    QObject::connect(help, &QShortcut::activated, w,
                     [this] { dispatch(Message::Command, ID_HELP); });
}

void CDialog::initialise() {
    QPointer<QDialog> w = window_;
    runGuarded(w, [this] {
        if (OnInitDialog() && window_) {
            auto* dw = static_cast<DialogWindow*>(window_.data());
            for (const DialogWindow::Item& i : dw->items) {
                if (hasStyle(*i.control, kTabStop) && i.widget->isEnabled()) {
                    i.widget->setFocus(Qt::OtherFocusReason);
                    break;
                }
            }
        }
    });
}

int CDialog::DoModal() {
    DestroyWindow();
    endResult_.reset();
    createWindow(ownerWidget(parent_));
    initialise();
    int result = IDCANCEL;
    if (endResult_) {
        result = *endResult_;
    } else if (window_) {
        window_->setWindowModality(Qt::ApplicationModal);
        const int shown = window_->exec();
        result = endResult_.value_or(shown);
    }
    DestroyWindow();
    return result;
}

bool CDialog::Create(CDialog* parent) {
    DestroyWindow();
    endResult_.reset();
    if (parent != nullptr) {
        parent_ = parent;
    }
    createWindow(ownerWidget(parent_));
    initialise();
    if (window_ && !endResult_) {
        window_->show();
    }
    return window_ != nullptr;
}

void CDialog::DestroyWindow() {
    if (window_) {
        QDialog* w = window_.data();
        window_ = nullptr;
        w->hide();
        // A handler of this very window may still be on the stack.
        if (dispatchDepth_ > 0) {
            w->deleteLater();
        } else {
            delete w;
        }
    }
    systemMenu_.clear();
    systemMenuBuilt_ = false;
}

void CDialog::EndDialog(int result) {
    endResult_ = result;
    if (window_) {
        window_->QDialog::done(result);
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (!window_) {
        return false;
    }
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnSysCommand(int id) {
    if (!window_) {
        return;
    }
    switch (id & 0xFFF0) {
        case SC_CLOSE:
            window_->close();
            break;
        case SC_MINIMIZE:
            window_->showMinimized();
            break;
        case SC_MAXIMIZE:
            window_->showMaximized();
            break;
        case SC_RESTORE:
            window_->showNormal();
            break;
        default:
            break;
    }
}

void CDialog::SetWindowText(const std::string& caption) {
    if (window_) {
        window_->setWindowTitle(QString::fromStdString(caption));
    }
}

std::string CDialog::GetWindowText() const {
    return window_ ? window_->windowTitle().toStdString() : std::string();
}

void CDialog::SetIcon(const Icon& icon, bool) {
    if (window_ && !icon.isNull()) {
        window_->setWindowIcon(icon.qicon());
    }
}

bool CDialog::IsIconic() const {
    return window_ && window_->isMinimized();
}

Rect CDialog::GetClientRect() const {
    return window_ ? Rect{0, 0, window_->width(), window_->height()} : Rect{};
}

Rect CDialog::GetDlgItemClientRect(int id) const {
    const QWidget* item = GetDlgItem(id);
    return item != nullptr ? Rect{0, 0, item->width(), item->height()} : Rect{};
}

Rect CDialog::MapDlgItemRectToDialog(int id, const Rect& rect) const {
    const QWidget* item = GetDlgItem(id);
    if (item == nullptr || !window_) {
        return rect;
    }
    const QPoint origin = item->mapTo(window_.data(), QPoint(0, 0));
    return Rect{rect.left + origin.x(), rect.top + origin.y(), rect.right + origin.x(),
                rect.bottom + origin.y()};
}

void CDialog::Invalidate() {
    if (window_) {
        window_->update();
    }
}

void CDialog::DragAcceptFiles(bool accept) {
    if (window_) {
        window_->setAcceptDrops(accept);
    }
}

CMenu* CDialog::GetSystemMenu() {
    if ((template_.style & kSysMenu) == 0) {
        return nullptr;
    }
    if (!systemMenuBuilt_) {
        systemMenuBuilt_ = true;
        // The standard entries that mean something for a fixed-size dialog here; moving is left to
        // the window manager.
        if ((template_.style & kMinimizeBox) != 0) {
            systemMenu_.AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
        }
        if ((template_.style & kMaximizeBox) != 0) {
            systemMenu_.AppendMenu(MF_STRING, SC_MAXIMIZE, "Ma&ximize");
        }
        systemMenu_.AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    }
    return &systemMenu_;
}

void CDialog::popupSystemMenu(int globalX, int globalY) {
    CMenu* menu = GetSystemMenu();
    if (menu == nullptr || !window_) {
        return;
    }
    QMenu popup(window_.data());
    popup.setAccessibleName(QStringLiteral("Window menu"));
    for (const CMenu::Item& item : menu->items()) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            popup.addSeparator();
            continue;
        }
        const QStringList parts = QString::fromStdString(item.text).split(QLatin1Char('\t'));
        QAction* action = popup.addAction(parts.constFirst());
        if (parts.size() > 1) {
            action->setShortcut(QKeySequence(parts.at(1)));
            action->setShortcutVisibleInContextMenu(true);
        }
        action->setData(item.id);
    }
    QAction* chosen = popup.exec(QPoint(globalX, globalY));
    if (chosen != nullptr) {
        MessageArgs args;
        args.value = chosen->data().toInt();
        dispatch(Message::SysCommand, 0, args);
    }
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    if (QWidget* widget = GetDlgItem(id)) {
        setControlText(widget, QString::fromStdString(text));
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    const QWidget* widget = GetDlgItem(id);
    return widget != nullptr ? controlText(widget).toStdString() : std::string();
}

int CDialog::IsDlgButtonChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button != nullptr && button->isChecked() ? 1 : 0;
}

void CDialog::CheckDlgButton(int id, int check) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id))) {
        button->setChecked(check != 0);
    }
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    return prompts().messageBox(MessageRequest{text, caption, type}, window_.data());
}

bool CDialog::dispatch(Message message, int id, const MessageArgs& args) {
    bool handled = false;
    ++dispatchDepth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{dispatchDepth_};
    runGuarded(window_.data(), [&] {
        const MessageMap* map = GetMessageMap();
        if (map != nullptr && map->dispatch(*this, message, id, args)) {
            handled = true;
            return;
        }
        if (message == Message::Command) {
            if (id == IDOK) {
                OnOK();
                handled = true;
            } else if (id == IDCANCEL) {
                OnCancel();
                handled = true;
            } else if (CWinApp* app = AfxGetApp();
                       app != nullptr && app->GetMessageMap() &&
                       app->GetMessageMap()->dispatch(*app, message, id, args)) {
                handled = true;
            }
        } else if (message == Message::SysCommand) {
            OnSysCommand(args.value);
            handled = true;
        }
    });
    return handled;
}

CFileDialog::CFileDialog(bool openFileDialog, std::string defaultExt, std::string fileName,
                         unsigned flags, std::string filter, CDialog* parent)
    : open_(openFileDialog),
      defaultExt_(std::move(defaultExt)),
      fileName_(std::move(fileName)),
      flags_(flags),
      filter_(std::move(filter)),
      parent_(parent) {}

int CFileDialog::DoModal() {
    QWidget* owner = parent_ != nullptr ? parent_->window() : nullptr;
    const std::optional<std::string> chosen = prompts().chooseFile(
        FileDialogRequest{open_, defaultExt_, fileName_, flags_, filter_}, owner);
    if (!chosen) {
        return IDCANCEL;
    }
    path_ = *chosen;
    return IDOK;
}

}  // namespace vorlane::dk
