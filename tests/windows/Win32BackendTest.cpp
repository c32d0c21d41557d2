// The parts of the Win32 backend that are plain data: the in-memory dialog template the system
// builds a dialog from, and the file dialogs' filters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialogkit/win32/DialogTemplateBuilder.h"
#include "dialogkit/win32/DialogWindow.h"
#include "dialogkit/win32/FileFilter.h"

#include <commctrl.h>

namespace vorlane::dk {
namespace {

using namespace std::string_literals;

TEST(Win32FileFilter, BecomesNulSeparatedPairsEndedTwice) {
    const struct {
        std::string filter;
        std::wstring expected;
    } rows[] = {
        {"Rom (*.rom;*.bin)|*.rom;*.bin|All Files (*.*)|*.*||",
         L"Rom (*.rom;*.bin)\0*.rom;*.bin\0All Files (*.*)\0*.*\0\0"s},
        // Without the closing bars, the same list.
        {"Font (*.fnt)|*.fnt", L"Font (*.fnt)\0*.fnt\0\0"s},
        // Non-ASCII descriptions (a translated filter) stay whole.
        {"Шрифт (*.fnt)|*.fnt||", L"\u0428\u0440\u0438\u0444\u0442 (*.fnt)\0*.fnt\0\0"s},
        // Nothing to offer: the empty list.
        {"", L"\0"s},
        {"||", L"\0"s},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(systemFileFilter(row.filter), row.expected) << row.filter;
    }
}

TEST(Win32Keys, ShortcutTextsBecomeAccelerators) {
    const struct {
        std::string keys;
        bool known;
        BYTE flags;
        WORD key;
    } rows[] = {
        {"Ctrl+O", true, FVIRTKEY | FCONTROL, 'O'},
        {"ctrl+k", true, FVIRTKEY | FCONTROL, 'K'},
        {"F1", true, FVIRTKEY, VK_F1},
        {"Alt+F4", true, FVIRTKEY | FALT, VK_F4},
        {"Ctrl+Shift+D", true, FVIRTKEY | FCONTROL | FSHIFT, 'D'},
        {"Meta+O", false, 0, 0},
        {"Ctrl+", false, 0, 0},
        {"F25", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const auto& row : rows) {
        ACCEL accel{};
        EXPECT_EQ(parseKeys(row.keys, accel), row.known) << row.keys;
        if (row.known) {
            EXPECT_EQ(accel.fVirt, row.flags) << row.keys;
            EXPECT_EQ(accel.key, row.key) << row.keys;
        }
    }
}

TEST(Win32Template, ControlKindsBecomeSystemClassesAndStyles) {
    const struct {
        ControlTemplate control;
        std::wstring className;
        DWORD styleSet;
        DWORD exStyleSet;
        DWORD styleClear;
    } rows[] = {
        {{1, ControlKind::PushButton, "", 0, 0, 1, 1, kTabStop},
         L"BUTTON",
         BS_PUSHBUTTON | WS_TABSTOP,
         0,
         BS_DEFPUSHBUTTON},
        {{1, ControlKind::DefPushButton, "", 0, 0, 1, 1},
         L"BUTTON",
         BS_DEFPUSHBUTTON,
         0,
         WS_TABSTOP},
        {{1, ControlKind::AutoCheckBox, "", 0, 0, 1, 1,
          kLeftText | kRight | kVCentre | kFlat | kStaticEdge},
         L"BUTTON",
         BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_RIGHT | BS_VCENTER | BS_FLAT,
         WS_EX_STATICEDGE,
         0},
        {{1, ControlKind::Edit, "", 0, 0, 1, 1, kReadOnly | kCentre | kUpperCase | kStaticEdge},
         L"EDIT",
         ES_READONLY | ES_CENTER | ES_UPPERCASE | ES_AUTOHSCROLL,
         WS_EX_STATICEDGE,
         ES_MULTILINE},
        {{1, ControlKind::Edit, "", 0, 0, 1, 1, kMultiLine | kReadOnly},
         L"EDIT",
         ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | ES_READONLY,
         0,
         0},
        {{1, ControlKind::ComboBox, "", 0, 0, 1, 1}, L"COMBOBOX", CBS_DROPDOWNLIST, 0, 0},
        {{1, ControlKind::GroupBox, "", 0, 0, 1, 1, kCentreTitle},
         L"BUTTON",
         BS_GROUPBOX | BS_CENTER,
         0,
         0},
        {{1, ControlKind::Static, "", 0, 0, 1, 1, kRight | kStaticEdge},
         L"STATIC",
         SS_RIGHT,
         WS_EX_STATICEDGE,
         0},
        {{1, ControlKind::StaticFrame, "", 0, 0, 1, 1, kWhiteFrame | kTransparent},
         L"STATIC",
         SS_WHITEFRAME,
         WS_EX_TRANSPARENT,
         0},
        {{1, ControlKind::Icon, "", 0, 0, 1, 1}, L"STATIC", SS_ICON, 0, 0},
        {{1, ControlKind::UpDown, "", 0, 0, 1, 1, kHorz | kArrowKeys | kAutoBuddy | kSetBuddyInt},
         UPDOWN_CLASSW,
         UDS_HORZ | UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_SETBUDDYINT,
         0,
         0},
        {{1, ControlKind::BitGrid, "", 0, 0, 1, 1, kTabStop}, L"VorlaneBitGrid", WS_TABSTOP, 0, 0},
    };
    for (const auto& row : rows) {
        const NativeControl n = nativeControl(row.control);
        SCOPED_TRACE(static_cast<int>(row.control.kind));
        EXPECT_EQ(n.className, row.className);
        EXPECT_EQ(n.style & (WS_CHILD | WS_VISIBLE), DWORD{WS_CHILD | WS_VISIBLE});
        // Button and static types are values in the low bits, not flags.
        EXPECT_EQ(n.style & row.styleSet, row.styleSet);
        EXPECT_EQ(n.exStyle, row.exStyleSet);
        EXPECT_EQ(n.style & row.styleClear, DWORD{0});
    }
}

// Reads the template back field by field, as the system does.
class TemplateReader {
  public:
    explicit TemplateReader(const std::vector<WORD>& words) : words_(words) {}
    WORD word() { return words_.at(at_++); }
    DWORD dword() {
        const WORD low = word();
        return MAKELONG(low, word());
    }
    std::wstring text() {
        std::wstring s;
        for (WORD w = word(); w != 0; w = word()) {
            s += static_cast<wchar_t>(w);
        }
        return s;
    }
    void alignDword() { at_ += at_ % 2; }
    size_t position() const { return at_; }

  private:
    const std::vector<WORD>& words_;
    size_t at_ = 0;
};

TEST(Win32Template, ExtendedTemplateWithFontAndAlignedItems) {
    static constexpr ControlTemplate controls[] = {
        {IDOK, ControlKind::DefPushButton, "OK", 10, 20, 50, 14, kTabStop},
        {IDC_STATIC, ControlKind::Static, "Chip", 1, 2, 30, 8, kCentre},
    };
    const DialogTemplate dialog{
        100, "About", "MS Sans Serif", 8, 235, 55, kModalFrame | kCaption | kSysMenu, controls};
    const std::vector<WORD> words = buildDialogTemplate(dialog, [](const char* text) {
        return L"<" + std::wstring(text, text + strlen(text)) + L">";
    });
    TemplateReader r(words);
    EXPECT_EQ(r.word(), 1);       // dlgVer
    EXPECT_EQ(r.word(), 0xFFFF);  // signature
    EXPECT_EQ(r.dword(), 0u);     // helpID
    EXPECT_EQ(r.dword(), 0u);     // exStyle
    const DWORD style = r.dword();
    EXPECT_EQ(style & (DS_SETFONT | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | WS_POPUP),
              DWORD{DS_SETFONT | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | WS_POPUP});
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), DWORD{0});
    EXPECT_EQ(r.word(), 2);  // items
    r.word();
    r.word();
    EXPECT_EQ(r.word(), 235);
    EXPECT_EQ(r.word(), 55);
    EXPECT_EQ(r.word(), 0);  // menu
    EXPECT_EQ(r.word(), 0);  // class
    EXPECT_EQ(r.text(), L"<About>");
    EXPECT_EQ(r.word(), 8);  // points
    EXPECT_EQ(r.word(), FW_NORMAL);
    r.word();  // italic, charset
    EXPECT_EQ(r.text(), L"MS Sans Serif");
    const struct {
        DWORD id;
        short x, y, cx, cy;
        std::wstring className;
        std::wstring text;
    } items[] = {{IDOK, 10, 20, 50, 14, L"BUTTON", L"<OK>"},
                 {0xFFFFFFFF, 1, 2, 30, 8, L"STATIC", L"<Chip>"}};
    for (const auto& item : items) {
        r.alignDword();
        EXPECT_EQ(r.position() % 2, 0u);
        EXPECT_EQ(r.dword(), 0u);  // helpID
        r.dword();                 // exStyle
        r.dword();                 // style
        EXPECT_EQ(static_cast<short>(r.word()), item.x);
        EXPECT_EQ(static_cast<short>(r.word()), item.y);
        EXPECT_EQ(static_cast<short>(r.word()), item.cx);
        EXPECT_EQ(static_cast<short>(r.word()), item.cy);
        EXPECT_EQ(r.dword(), item.id);
        EXPECT_EQ(r.text(), item.className);
        EXPECT_EQ(r.text(), item.text);
        EXPECT_EQ(r.word(), 0);  // creation data
    }
    EXPECT_EQ(r.position(), words.size());
}

}  // namespace
}  // namespace vorlane::dk
