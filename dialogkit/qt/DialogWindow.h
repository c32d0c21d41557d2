// Kit-internal: the Qt window of a realized template. It turns Qt's events into the dialog's
// messages; a new kind of user action becomes a new event handler here that sends a message.
// Pair: it and CDialog (Dialog.h) are one dialog split in two, the window calling the dialog's
// handlers and the dialog driving its window, so each includes the other.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "dialogkit/MessageMap.h"
#include "dialogkit/Template.h"
#include "dialogkit/Types.h"

namespace vorlane::dk {

class CDialog;

class DialogWindow : public QDialog {
  public:
    struct Item {
        const ControlTemplate* control;
        QWidget* widget;
    };

    DialogWindow(CDialog& owner, QWidget* parent, DialogStyle style);

    // The control with `id`; null for IDC_STATIC and IDs the template lacks.
    QWidget* item(int id) const;
    // Every control in template order.
    std::vector<Item> items;

    // Hands a message to the dialog, which runs its handler inside the outer handler.
    bool send(Message message, int id, const MessageArgs& args = {});
    // Sends DropFiles for `path` once the event loop runs again, so that whoever asked for it
    // has returned first; a window destroyed meanwhile drops the call with it.
    void postDropFiles(std::string path);
    // Makes `keys` ("Ctrl+O") press push button `id` while this window is active, and names the
    // keys in the button's tooltip.
    void setButtonShortcut(int id, const char* keys);
    // Makes `keys` send the window-menu command `id` while this window is active.
    void setMenuShortcut(int id, const std::string& keys);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Escape and the close box arrive here; both are the Cancel command.
    void reject() override { send(Message::Command, IDCANCEL); }
    void accept() override { send(Message::Command, IDOK); }
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void pressEnter();

    CDialog& owner_;
};

}  // namespace vorlane::dk
