#include "dialogkit/Dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QPointer>

#include "dialogkit/OuterHandler.h"
#include "dialogkit/Prompts.h"
#include "dialogkit/Translation.h"
#include "dialogkit/qt/ControlFactory.h"
#include "dialogkit/qt/ControlText.h"
#include "dialogkit/qt/DialogWindow.h"
#include "dialogkit/qt/QtHandle.h"
#include "dialogkit/qt/QtIcon.h"
#include "dialogkit/qt/QtText.h"

namespace vorlane::dk {

struct CDialog::Native {
    QPointer<QDialog> window;  // a DialogWindow
};

namespace {
QWidget* itemOf(const CDialog& dialog, int id) {
    return toWidget(dialog.GetDlgItem(id));
}
}  // namespace

CDialog::CDialog(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate), native_(std::make_unique<Native>()) {}

CDialog::~CDialog() {
    delete native_->window.data();
}

WindowHandle CDialog::window() const {
    return toHandle(native_->window.data());
}

WindowHandle CDialog::GetDlgItem(int id) const {
    return native_->window ? toHandle(static_cast<DialogWindow*>(native_->window.data())->item(id))
                           : nullptr;
}

WindowHandle CDialog::ownerWidget() const {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return toHandle(modal);
    }
    if (CWinApp* app = AfxGetApp();
        app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this) {
        return app->m_pMainWnd->window();
    }
    return nullptr;
}

void CDialog::createWindow(WindowHandle parent) {
    const DialogStyle style = template_.style;
    auto* w = new DialogWindow(*this, toWidget(parent), style);
    native_->window = w;
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
    w->setWindowTitle(translated(kTemplateContext, template_.caption));
    w->setFixedSize(dluToPixelsX(template_.cx), dluToPixelsY(template_.cy));
    w->setSizeGripEnabled(false);
    createControls(*w, template_.controls);
}

void CDialog::initialise() {
    QPointer<QDialog> w = native_->window;
    runGuarded(toHandle(w.data()), [this] {
        if (OnInitDialog() && native_->window) {
            auto* dw = static_cast<DialogWindow*>(native_->window.data());
            for (const DialogWindow::Item& i : dw->items) {
                if ((i.control->style & kTabStop) != 0 && i.widget->isEnabled()) {
                    i.widget->setFocus(Qt::OtherFocusReason);
                    break;
                }
            }
        }
    });
    addMenuShortcuts();
}

// The window menu's own items (below the system commands) that name keys get them for the
// window's life, so that the keys work without opening the menu.
void CDialog::addMenuShortcuts() {
    if (!native_->window || !systemMenuBuilt_) {
        return;
    }
    auto* w = static_cast<DialogWindow*>(native_->window.data());
    for (const CMenu::Item& item : systemMenu_.items()) {
        const auto tab = item.text.find('\t');
        if ((item.flags & MF_SEPARATOR) == 0 && item.id < 0xF000 && tab != std::string::npos) {
            w->setMenuShortcut(item.id, item.text.substr(tab + 1));
        }
    }
}

int CDialog::DoModal() {
    DestroyWindow();
    endResult_.reset();
    createWindow(ownerWidget());
    initialise();
    const QPointer<QWidget> owner = native_->window ? native_->window->parentWidget() : nullptr;
    int result = IDCANCEL;
    if (endResult_) {
        result = *endResult_;
    } else if (native_->window) {
        native_->window->setWindowModality(Qt::ApplicationModal);
        const int shown = native_->window->exec();
        result = endResult_.value_or(shown);
    }
    DestroyWindow();
    // A window manager gives the focus back to the owner; without one it would stay nowhere and
    // the owner's keys would go unheard until a click.
    if (owner && owner->isVisible()) {
        owner->activateWindow();
    }
    return result;
}

bool CDialog::Create() {
    DestroyWindow();
    endResult_.reset();
    createWindow(ownerWidget());
    initialise();
    if (native_->window && !endResult_) {
        native_->window->show();
    }
    return native_->window != nullptr;
}

void CDialog::DestroyWindow() {
    if (native_->window) {
        QDialog* w = native_->window.data();
        native_->window = nullptr;
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
    if (native_->window) {
        native_->window->QDialog::done(result);
    }
}

void CDialog::OnSysCommand(int id) {
    if (!native_->window) {
        return;
    }
    switch (id & 0xFFF0) {
        case SC_CLOSE:
            native_->window->close();
            break;
        case SC_MINIMIZE:
            native_->window->showMinimized();
            break;
        case SC_MAXIMIZE:
            native_->window->showMaximized();
            break;
        default:
            break;
    }
}

void CDialog::SetWindowText(const std::string& caption) {
    if (native_->window) {
        native_->window->setWindowTitle(QString::fromStdString(caption));
    }
}

std::string CDialog::GetWindowText() const {
    return native_->window ? native_->window->windowTitle().toStdString() : std::string();
}

void CDialog::SetIcon(const Icon& icon, bool) {
    if (native_->window && !icon.isNull()) {
        native_->window->setWindowIcon(qtIcon(icon));
    }
}

bool CDialog::IsIconic() const {
    return native_->window && native_->window->isMinimized();
}

Rect CDialog::GetClientRect() const {
    return native_->window ? Rect{0, 0, native_->window->width(), native_->window->height()}
                           : Rect{};
}

Rect CDialog::GetDlgItemClientRect(int id) const {
    const QWidget* item = itemOf(*this, id);
    return item != nullptr ? Rect{0, 0, item->width(), item->height()} : Rect{};
}

Rect CDialog::MapDlgItemRectToDialog(int id, const Rect& rect) const {
    const QWidget* item = itemOf(*this, id);
    if (item == nullptr || !native_->window) {
        return rect;
    }
    const QPoint origin = item->mapTo(native_->window.data(), QPoint(0, 0));
    return Rect{rect.left + origin.x(), rect.top + origin.y(), rect.right + origin.x(),
                rect.bottom + origin.y()};
}

void CDialog::Invalidate() {
    if (native_->window) {
        native_->window->update();
    }
}

void CDialog::DragAcceptFiles(bool accept) {
    if (native_->window) {
        native_->window->setAcceptDrops(accept);
    }
}

void CDialog::PostDropFiles(const std::string& path) {
    if (native_->window) {
        static_cast<DialogWindow*>(native_->window.data())->postDropFiles(path);
    }
}

void CDialog::SetButtonShortcuts(std::span<const ButtonShortcut> shortcuts) {
    for (const ButtonShortcut& s : shortcuts) {
        if (native_->window) {
            static_cast<DialogWindow*>(native_->window.data())->setButtonShortcut(s.id, s.keys);
        }
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
            systemMenu_.AppendMenu(
                MF_STRING, SC_MINIMIZE,
                translate(kKitContext, DK_TRANSLATE_NOOP("DialogKit", "Mi&nimize")));
        }
        if ((template_.style & kMaximizeBox) != 0) {
            systemMenu_.AppendMenu(
                MF_STRING, SC_MAXIMIZE,
                translate(kKitContext, DK_TRANSLATE_NOOP("DialogKit", "Ma&ximize")));
        }
        systemMenu_.AppendMenu(
            MF_STRING, SC_CLOSE,
            translate(kKitContext, DK_TRANSLATE_NOOP("DialogKit", "&Close\tAlt+F4")));
    }
    return &systemMenu_;
}

void CDialog::popupSystemMenu(int globalX, int globalY) {
    CMenu* menu = GetSystemMenu();
    if (menu == nullptr || !native_->window) {
        return;
    }
    QMenu popup(native_->window.data());
    popup.setAccessibleName(translated(kKitContext, DK_TRANSLATE_NOOP("DialogKit", "Window menu")));
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
    if (QWidget* widget = itemOf(*this, id)) {
        setControlText(widget, QString::fromStdString(text));
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    const QWidget* widget = itemOf(*this, id);
    return widget != nullptr ? controlText(widget).toStdString() : std::string();
}

int CDialog::IsDlgButtonChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(itemOf(*this, id));
    return button != nullptr && button->isChecked() ? 1 : 0;
}

void CDialog::CheckDlgButton(int id, int check) {
    if (auto* button = qobject_cast<QAbstractButton*>(itemOf(*this, id))) {
        button->setChecked(check != 0);
    }
}

}  // namespace vorlane::dk
