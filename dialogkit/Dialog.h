// Dialogs realized from templates: their lifecycle, window, system menu and message dispatch.
// Including this gives dialog code everything it uses: controls, data exchange, file dialogs.
// Pairs: the backend's window of the dialog (DialogWindow on Qt) and this class call each other:
// events in, painting and state out; DataExchange binds this dialog's members to its controls
// (DoDataExchange takes it, and it reaches the controls through the dialog).
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "dialogkit/App.h"
#include "dialogkit/Controls.h"
#include "dialogkit/DataExchange.h"
#include "dialogkit/FileDialog.h"
#include "dialogkit/Icon.h"
#include "dialogkit/Menu.h"
#include "dialogkit/MessageMap.h"
#include "dialogkit/Template.h"
#include "dialogkit/Types.h"

namespace vorlane::dk {

class DialogWindow;

class CDialog : public CCmdTarget, public TopLevel {
  public:
    explicit CDialog(const DialogTemplate& dialogTemplate);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the window from the template, initialises it and runs it modally; the window is
    // destroyed again before this returns. The result is what EndDialog was given.
    int DoModal();
    // Creates, initialises and shows the window without a modal loop (embedding and tests).
    bool Create();
    void DestroyWindow();
    void EndDialog(int result);
    bool UpdateData(bool saveAndValidate = true);

    virtual bool OnInitDialog();  // members to controls; true puts the focus on the first tab stop
    virtual void OnOK();          // controls to members, then ends with IDOK
    virtual void OnCancel();      // ends with IDCANCEL
    // Default processing of a window-menu command (close, minimize, maximize, restore).
    void OnSysCommand(int id);

    // Window.
    WindowHandle window() const override;
    // The control with `id`; null for IDC_STATIC and IDs the template lacks.
    WindowHandle GetDlgItem(int id) const;
    void SetWindowText(const std::string& caption);
    std::string GetWindowText() const;
    void SetIcon(const Icon& icon, bool bigIcon);
    bool IsIconic() const;
    Rect GetClientRect() const;
    // The client rectangle of control `id` (origin 0, 0) and the same mapped into the dialog's
    // client coordinates.
    Rect GetDlgItemClientRect(int id) const;
    Rect MapDlgItemRectToDialog(int id, const Rect& rect) const;
    // The whole client area is repainted at the next paint, background included.
    void Invalidate();
    // Lets the window take a drag of exactly one local file, over itself or a control that takes
    // no drops of its own; the drop arrives as DropFiles once the drag has ended. Any other drag
    // is refused while it is still under the pointer. Off for a new window.
    void DragAcceptFiles(bool accept = true);
    // The window gets DropFiles for `path` as if the file had been dropped on it, once the event
    // loop runs again: after DoModal has shown the window, when called from OnInitDialog.
    void PostDropFiles(const std::string& path);
    // Each shortcut presses its push button while the window is active, through the same click
    // as the mouse; the button's tooltip names the keys. For the window's current life.
    void SetButtonShortcuts(std::span<const ButtonShortcut> shortcuts);
    CMenu* GetSystemMenu();

    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    int IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, int check);

    int MessageBox(const std::string& text, const std::string& caption, unsigned type = MB_OK);

  protected:
    virtual void DoDataExchange(CDataExchange&) {}

  private:
    friend class DialogWindow;
    // Runs the handler for a message inside the outer handler; unhandled IDOK and IDCANCEL
    // commands go to OnOK and OnCancel, other unhandled commands to the application. True when
    // something handled it.
    bool dispatch(Message message, int id, const MessageArgs& args = {});
    // Opens the window menu at a global position (in pixels).
    void popupSystemMenu(int globalX, int globalY);
    // The window it belongs to: the modal one running, else the application's main window.
    WindowHandle ownerWidget() const;
    void createWindow(WindowHandle parent);
    void initialise();
    void addMenuShortcuts();

    const DialogTemplate& template_;
    // The backend's window while it exists.
    struct Native;
    std::unique_ptr<Native> native_;
    CMenu systemMenu_;
    bool systemMenuBuilt_ = false;
    std::optional<int> endResult_;
    int dispatchDepth_ = 0;
};

}  // namespace vorlane::dk
