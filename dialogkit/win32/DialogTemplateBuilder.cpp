#include "dialogkit/win32/DialogTemplateBuilder.h"

#include <commctrl.h>

#include "dialogkit/win32/Messages.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

namespace {

bool has(const ControlTemplate& c, ControlStyle s) {
    return (c.style & s) != 0;
}

DWORD textAlignment(const ControlTemplate& c, DWORD centre, DWORD right) {
    if (has(c, kCentre)) {
        return centre;
    }
    return has(c, kRight) ? right : 0;
}

// Appends in the template's little-endian WORD stream.
class Writer {
  public:
    void word(WORD w) { words.push_back(w); }
    void dword(DWORD d) {
        word(LOWORD(d));
        word(HIWORD(d));
    }
    void text(const std::wstring& s) {
        for (wchar_t c : s) {
            word(static_cast<WORD>(c));
        }
        word(0);
    }
    void alignDword() {
        if (words.size() % 2 != 0) {
            word(0);
        }
    }
    std::vector<WORD> words;
};

}  // namespace

NativeControl nativeControl(const ControlTemplate& c) {
    NativeControl n;
    n.style = WS_CHILD | WS_VISIBLE;
    if (has(c, kTabStop)) {
        n.style |= WS_TABSTOP;
    }
    if (has(c, kGroup)) {
        n.style |= WS_GROUP;
    }
    switch (c.kind) {
        case ControlKind::PushButton:
            n.className = L"BUTTON";
            n.style |= BS_PUSHBUTTON;
            break;
        case ControlKind::DefPushButton:
            n.className = L"BUTTON";
            n.style |= BS_DEFPUSHBUTTON;
            break;
        case ControlKind::AutoCheckBox:
            n.className = L"BUTTON";
            n.style |= BS_AUTOCHECKBOX | textAlignment(c, BS_CENTER, BS_RIGHT);
            if (has(c, kLeftText)) {
                n.style |= BS_LEFTTEXT;
            }
            if (has(c, kFlat)) {
                n.style |= BS_FLAT;
            }
            if (has(c, kVCentre)) {
                n.style |= BS_VCENTER;
            }
            if (has(c, kStaticEdge)) {
                n.exStyle |= WS_EX_STATICEDGE;
            }
            break;
        case ControlKind::Edit:
            n.className = L"EDIT";
            n.style |= ES_AUTOHSCROLL | textAlignment(c, ES_CENTER, ES_RIGHT);
            if (has(c, kMultiLine)) {
                n.style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL;
            }
            if (has(c, kReadOnly)) {
                n.style |= ES_READONLY;
            }
            if (has(c, kUpperCase)) {
                n.style |= ES_UPPERCASE;
            }
            if (has(c, kStaticEdge)) {
                n.exStyle |= WS_EX_STATICEDGE;
            }
            break;
        case ControlKind::ComboBox:
            n.className = L"COMBOBOX";
            n.style |= CBS_DROPDOWNLIST | WS_VSCROLL;
            break;
        case ControlKind::GroupBox:
            n.className = L"BUTTON";
            n.style |= BS_GROUPBOX | (has(c, kCentreTitle) ? BS_CENTER : 0);
            break;
        case ControlKind::Static:
            n.className = L"STATIC";
            n.style |= textAlignment(c, SS_CENTER, SS_RIGHT);
            if (has(c, kStaticEdge)) {
                n.exStyle |= WS_EX_STATICEDGE;
            }
            break;
        case ControlKind::StaticFrame:
            n.className = L"STATIC";
            n.style |= has(c, kWhiteFrame) ? SS_WHITEFRAME : SS_BLACKFRAME;
            if (has(c, kTransparent)) {
                n.exStyle |= WS_EX_TRANSPARENT;
            }
            break;
        case ControlKind::Icon:
            n.className = L"STATIC";
            n.style |= SS_ICON;
            break;
        case ControlKind::UpDown:
            n.className = UPDOWN_CLASSW;
            // Without separators: the buddy must read back as the integer written into it.
            n.style |= UDS_NOTHOUSANDS;
            if (has(c, kHorz)) {
                n.style |= UDS_HORZ;
            }
            if (has(c, kArrowKeys)) {
                n.style |= UDS_ARROWKEYS;
            }
            if (has(c, kAutoBuddy)) {
                n.style |= UDS_AUTOBUDDY;
            }
            if (has(c, kSetBuddyInt)) {
                n.style |= UDS_SETBUDDYINT;
            }
            break;
        case ControlKind::BitGrid:
            n.className = kBitGridClass;
            break;
    }
    return n;
}

NativeDialogStyle nativeDialogStyle(DialogStyle style) {
    NativeDialogStyle n;
    // Centred on the owner, or on the screen for the main window, as the other backends place them.
    n.style = WS_POPUP | DS_SETFONT | DS_CENTER;
    if ((style & kModalFrame) != 0) {
        n.style |= DS_MODALFRAME;
    }
    if ((style & kCaption) != 0) {
        n.style |= WS_CAPTION;
    }
    if ((style & kSysMenu) != 0) {
        n.style |= WS_SYSMENU;
    }
    if ((style & kMinimizeBox) != 0) {
        n.style |= WS_MINIMIZEBOX;
    }
    if ((style & kMaximizeBox) != 0) {
        n.style |= WS_MAXIMIZEBOX;
    }
    if ((style & kAppWindow) != 0) {
        n.exStyle |= WS_EX_APPWINDOW;
    }
    return n;
}

std::vector<WORD> buildDialogTemplate(const DialogTemplate& dialog,
                                      const std::function<std::wstring(const char*)>& text) {
    Writer w;
    const NativeDialogStyle dialogStyle = nativeDialogStyle(dialog.style);
    w.word(1);       // dlgVer
    w.word(0xFFFF);  // signature: the extended template
    w.dword(0);      // helpID
    w.dword(dialogStyle.exStyle);
    w.dword(dialogStyle.style);
    w.word(static_cast<WORD>(dialog.controls.size()));
    w.word(0);  // x, y: placed by the system
    w.word(0);
    w.word(static_cast<WORD>(dialog.cx));
    w.word(static_cast<WORD>(dialog.cy));
    w.word(0);  // no menu
    w.word(0);  // the system's dialog class
    w.text(text(dialog.caption));
    w.word(static_cast<WORD>(dialog.fontPoints));
    w.word(FW_NORMAL);
    w.word(MAKEWORD(0, DEFAULT_CHARSET));  // italic, charset
    w.text(widen(dialog.fontName));
    for (const ControlTemplate& c : dialog.controls) {
        const NativeControl n = nativeControl(c);
        w.alignDword();
        w.dword(0);  // helpID
        w.dword(n.exStyle);
        w.dword(n.style);
        w.word(static_cast<WORD>(c.x));
        w.word(static_cast<WORD>(c.y));
        w.word(static_cast<WORD>(c.cx));
        w.word(static_cast<WORD>(c.cy));
        w.dword(static_cast<DWORD>(c.id));
        w.text(n.className);
        w.text(c.kind == ControlKind::Icon ? std::wstring() : text(c.text));
        w.word(0);  // no creation data
    }
    return std::move(w.words);
}

}  // namespace vorlane::dk
