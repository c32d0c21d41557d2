// Kit-internal: the native side of a realized template. A dialog is a system dialog window whose
// procedure (DialogProc.cpp) turns window messages into the dialog's messages; CDialog
// (Dialog.cpp) drives the window. The two are one dialog split in two, as on every backend.
#pragma once

#include "dialogkit/win32/Win32.h"

#include <deque>
#include <string>
#include <vector>

#include "dialogkit/Dialog.h"

namespace vorlane::dk {

// What a key of the dialog's accelerator table does.
struct KeyAction {
    enum Kind { PressButton, Command, SysCommand } kind;
    int id;
};

struct CDialog::Native {
    HWND window = nullptr;
    bool modal = false;
    HWND disabledOwner = nullptr;  // the owner a modal run disabled, until it ends
    HFONT fixedFont = nullptr;     // for fixed-pitch edits, made from the dialog's own font
    HWND toolTip = nullptr;
    HACCEL accelerators = nullptr;
    std::vector<ACCEL> keys;
    std::vector<KeyAction> keyActions;  // command kFirstKeyCommand + i is keyActions[i]
    std::deque<std::string> pendingDrops;
    bool menuSynced = false;
};

// Accelerator commands of the kit; a dialog's own IDs stay below.
inline constexpr int kFirstKeyCommand = 0xE800;
// Posted to a dialog to deliver the oldest pending drop.
inline constexpr UINT kDeliverDrop = WM_APP + 0x101;
// Posted to a dialog whose DPI changed, once the system has scaled it.
inline constexpr UINT kRefreshFonts = WM_APP + 0x102;

// The window-menu command being handled, whose position the system's own handling wants back.
struct SysCommandInProgress {
    WPARAM command = 0;
    LPARAM position = 0;
};
inline SysCommandInProgress g_sysCommand;

class DialogWindow {
  public:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The kit dialog a window belongs to (the window itself or one of its controls); null when
    // none.
    static CDialog* dialogOf(HWND window);
    static CDialog::Native& native(CDialog& dialog) { return *dialog.native_; }
    // Rebuilds the accelerator table from the keys.
    static void rebuildAccelerators(CDialog& dialog);
    static HACCEL accelerators(CDialog& dialog) { return dialog.native_->accelerators; }

  private:
    static INT_PTR handle(CDialog& dialog, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void onCommand(CDialog& dialog, HWND window, WPARAM wParam, LPARAM lParam);
    static void paint(CDialog& dialog, HDC dc);
};

// Keys of the kit's dialogs for a message taken from the queue: accelerators, then the dialog
// keys (Tab, Enter, Escape, arrows). True when the message was used up. Every message loop that
// shows kit dialogs passes its messages through this first.
bool preTranslateDialogMessage(MSG& message);

// "Ctrl+O", "F1", "Alt+F4" as an accelerator; false for keys it does not know.
bool parseKeys(const std::string& keys, ACCEL& accel);

// True while the first-paint probe waits for the first paint; it then fires once.
bool firstPaintProbeArmed();
void fireFirstPaintProbe(HWND window);

}  // namespace vorlane::dk
