// The test driver on Win32: the controls are the system's own, so the driver reads and drives them
// through their own messages, and input arrives as the system delivers it to a thread: mouse and
// key messages posted to the window under the pointer or with the focus, then taken from the
// queue by the program's own loop (the kit's accelerators and dialog keys, then dispatch). Keys
// set the thread's key state while they are down, so that GetKeyState sees Ctrl and Alt as a
// real key press shows them.
// Kit headers come before windows.h: the kit's own constants share names with its macros.
#include "dialogkit/TestDriver.h"

#include "dialogkit/App.h"

namespace {
constexpr int kStaticId = vorlane::dk::IDC_STATIC;
}

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "dialogkit/win32/DialogWindow.h"
#include "dialogkit/win32/Messages.h"
#include "dialogkit/win32/Win32Handle.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk::driver {

namespace {

HWND hwnd(WindowHandle handle) {
    return toHwnd(handle);
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool isDialogWindow(HWND window) {
    return className(window) == L"#32770";
}

LPARAM pointParam(Point p) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x)),
                      static_cast<WORD>(static_cast<short>(p.y)));
}

Rect clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

// The program's own loop (the backend's accelerators and dialog keys first), until the queue is
// empty and every window painted; bounded, so that a window that never validates itself cannot hang
// a test.
void pump() {
    MSG msg;
    for (int i = 0; i < 100000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (preTranslateDialogMessage(msg)) {
            continue;
        }
        // The system's own dialogs (a message box) take their keys as their own loop gives them.
        HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root != nullptr && isDialogWindow(root) && IsDialogMessageW(root, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

UINT virtualKey(Key key, bool& extended) {
    extended = false;
    switch (key) {
        case Key::Return:
            return VK_RETURN;
        case Key::Enter:  // the keypad's Enter: the same key code, flagged as extended
            extended = true;
            return VK_RETURN;
        case Key::Escape:
            return VK_ESCAPE;
        case Key::Space:
            return VK_SPACE;
        case Key::Tab:
            return VK_TAB;
        case Key::Left:
            extended = true;
            return VK_LEFT;
        case Key::Right:
            extended = true;
            return VK_RIGHT;
        case Key::Up:
            extended = true;
            return VK_UP;
        case Key::Down:
            extended = true;
            return VK_DOWN;
        case Key::F1:
            return VK_F1;
        case Key::D:
            return 'D';
        case Key::K:
            return 'K';
        case Key::O:
            return 'O';
        case Key::S:
            return 'S';
    }
    return 0;
}

// The lParam of a key message: repeat count 1, the scan code, the extended, context (Alt down)
// and transition bits as the keyboard driver sets them.
LPARAM keyParam(UINT vk, bool extended, bool alt, bool up) {
    LPARAM param = 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16);
    if (extended) {
        param |= 1 << 24;
    }
    if (alt) {
        param |= 1 << 29;
    }
    if (up) {
        param |= (1 << 30) | (1u << 31);
    }
    return param;
}

// Holds the modifier keys down in the thread's key state for as long as it lives.
class HeldModifiers {
  public:
    explicit HeldModifiers(unsigned modifiers) {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), std::begin(state));
        if ((modifiers & kCtrl) != 0) {
            state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
        }
        if ((modifiers & kAlt) != 0) {
            state[VK_MENU] = state[VK_LMENU] = 0x80;
        }
        SetKeyboardState(state);
    }
    ~HeldModifiers() { SetKeyboardState(saved_); }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

  private:
    BYTE saved_[256] = {};
};

void postMouse(HWND window, UINT message, WPARAM buttons, Point at) {
    PostMessageW(window, message, buttons, pointParam(at));
}

// A 32-bit top-down DIB section and a memory DC selecting it.
struct Canvas {
    Canvas(int width, int height) : width(width), height(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Rgb at(int x, int y) const {
        GdiFlush();
        const auto* pixel = static_cast<const uint8_t*>(bits) +
                            (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
        return Rgb{pixel[2], pixel[1], pixel[0]};
    }
    int width;
    int height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    void* bits = nullptr;
};

bool writePng(const Canvas& canvas, const std::string& path) {
    FILE* file = _wfopen(widen(path).c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.width),
                     static_cast<png_uint_32>(canvas.height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row(static_cast<size_t>(canvas.width) * 3);
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                const Rgb p = canvas.at(x, y);
                row[static_cast<size_t>(x) * 3] = p.r;
                row[static_cast<size_t>(x) * 3 + 1] = p.g;
                row[static_cast<size_t>(x) * 3 + 2] = p.b;
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

// The windows of this thread with a class, visible ones only.
std::vector<HWND> threadWindows(const wchar_t* windowClass) {
    struct Search {
        const wchar_t* windowClass;
        std::vector<HWND> found;
    } search{windowClass, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (IsWindowVisible(window) && className(window) == s->windowClass) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

struct TestApplication::Native {};

TestApplication::TestApplication(int&, char**) : native_(std::make_unique<Native>()) {
    // Registers the control classes only and opens no window, so that test discovery needs no
    // display; COM starts with the first accessibility question.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    applyDialogFont();
}

TestApplication::~TestApplication() = default;

WindowHandle control(WindowHandle dialog, int id) {
    if (id == kStaticId) {
        return nullptr;
    }
    return toHandle(GetDlgItem(hwnd(dialog), id));
}

std::vector<WindowHandle> allControls(WindowHandle dialog) {
    // The dialog manager creates the children in template order, each below the one before.
    std::vector<WindowHandle> found;
    for (HWND child = GetWindow(hwnd(dialog), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        found.push_back(toHandle(child));
    }
    return found;
}

std::vector<WindowHandle> controls(WindowHandle dialog) {
    std::vector<WindowHandle> found;
    for (WindowHandle child : allControls(dialog)) {
        const int id = GetDlgCtrlID(hwnd(child));
        if (id != kStaticId && id != 0xFFFF) {
            found.push_back(child);
        }
    }
    return found;
}

Rect dialogUnitsToPixels(WindowHandle dialog, const Rect& dlu) {
    RECT r{dlu.left, dlu.top, dlu.width(), dlu.height()};
    MapDialogRect(hwnd(dialog), &r);
    return Rect{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

std::string text(WindowHandle window) {
    HWND w = hwnd(window);
    std::string shown = narrow(windowText(w));
    if (className(w) == L"Edit" && (GetWindowLongW(w, GWL_STYLE) & ES_MULTILINE) != 0) {
        // A multi-line edit keeps its lines apart with CR LF; what it shows is the lines.
        std::string lines;
        for (size_t i = 0; i < shown.size(); ++i) {
            if (!(shown[i] == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n')) {
                lines += shown[i];
            }
        }
        shown = std::move(lines);
    }
    return shown;
}

void setText(WindowHandle control, const std::string& text) {
    HWND w = hwnd(control);
    if (className(w) == L"Edit") {
        // Pasting over the whole text: the edit applies its case and length rules as it takes it.
        SendMessageW(w, EM_SETSEL, 0, -1);
        SendMessageW(w, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(widen(text).c_str()));
    } else {
        SetWindowTextW(w, widen(text).c_str());
    }
    pump();
}

bool isReadOnly(WindowHandle edit) {
    return (GetWindowLongW(hwnd(edit), GWL_STYLE) & ES_READONLY) != 0;
}

std::string accessibleName(WindowHandle control) {
    // As a screen reader asks: the control's accessible object, its own name.
    // (__uuidof: the IID_IAccessible of mingw's oleacc import library is a jump, not the GUID.)
    static const bool comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    (void)comStarted;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd(control), static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return {};
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result;
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        result = narrow(std::wstring_view(name, SysStringLen(name)));
    }
    SysFreeString(name);
    object->Release();
    return result;
}

std::string toolTip(WindowHandle control) {
    HWND w = hwnd(control);
    HWND owner = GetAncestor(w, GA_ROOT);
    // Tooltip windows are top-level and often hidden until they show: every one of this thread.
    struct Search {
        std::vector<HWND> found;
    } search;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            if (className(window) == TOOLTIPS_CLASSW) {
                reinterpret_cast<Search*>(param)->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    for (HWND tip : search.found) {
        for (HWND toolOwner : {owner, GetParent(w), w}) {
            wchar_t buffer[1024] = {};
            TOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.hwnd = toolOwner;
            tool.uId = reinterpret_cast<UINT_PTR>(w);
            tool.uFlags = TTF_IDISHWND;
            tool.lpszText = buffer;
            if (SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) == 0) {
                continue;
            }
            tool.lpszText = buffer;
            SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
            if (buffer[0] != 0) {
                return narrow(buffer);
            }
        }
    }
    return {};
}

Rect geometry(WindowHandle control) {
    // In the parent's client coordinates; a top-level window's (the desktop is its parent, where
    // GetParent would give its owner) on the screen, its frame included.
    HWND w = hwnd(control);
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetAncestor(w, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
    return Rect{r.left, r.top, r.right, r.bottom};
}

void setGeometry(WindowHandle control, const Rect& rect) {
    MoveWindow(hwnd(control), rect.left, rect.top, rect.width(), rect.height(), TRUE);
    pump();
}

void click(WindowHandle window) {
    const Rect r = clientRect(hwnd(window));
    clickAt(window, Point{r.width() / 2, r.height() / 2});
}

void clickAt(WindowHandle window, Point at) {
    HWND w = hwnd(window);
    postMouse(w, WM_MOUSEMOVE, 0, at);
    postMouse(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    postMouse(w, WM_LBUTTONUP, 0, at);
    pump();
}

void doubleClickAt(WindowHandle window, Point at) {
    HWND w = hwnd(window);
    const bool takesDouble = (GetClassLongPtrW(w, GCL_STYLE) & CS_DBLCLKS) != 0;
    postMouse(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    postMouse(w, WM_LBUTTONUP, 0, at);
    postMouse(w, takesDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, at);
    postMouse(w, WM_LBUTTONUP, 0, at);
    pump();
}

void drag(WindowHandle window, const std::vector<Point>& path) {
    if (path.empty()) {
        return;
    }
    HWND w = hwnd(window);
    postMouse(w, WM_LBUTTONDOWN, MK_LBUTTON, path.front());
    pump();
    for (size_t i = 1; i < path.size(); ++i) {
        postMouse(w, WM_MOUSEMOVE, MK_LBUTTON, path[i]);
        pump();
    }
    postMouse(w, WM_LBUTTONUP, 0, path.back());
    pump();
}

void pressKey(WindowHandle window, Key key, unsigned modifiers) {
    HWND w = window != nullptr ? hwnd(window) : GetFocus();
    if (w == nullptr) {
        w = GetActiveWindow();
    }
    bool extended = false;
    const UINT vk = virtualKey(key, extended);
    const bool alt = (modifiers & kAlt) != 0;
    HeldModifiers held(modifiers);
    // With Alt down the system sends the key as a system key, which the window menu and the
    // mnemonics answer.
    PostMessageW(w, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, keyParam(vk, extended, alt, false));
    pump();
    PostMessageW(w, alt ? WM_SYSKEYUP : WM_KEYUP, vk, keyParam(vk, extended, alt, true));
    pump();
}

void typeText(WindowHandle window, const std::string& text) {
    // Characters as the keyboard layout or an input method delivers them, one UTF-16 unit a
    // message, so that any script types alike.
    HWND w = hwnd(window);
    for (wchar_t c : widen(text)) {
        PostMessageW(w, WM_CHAR, c, 1);
        pump();
    }
}

WindowHandle focus() {
    return toHandle(GetFocus());
}

void setFocus(WindowHandle control) {
    HWND w = hwnd(control);
    HWND parent = GetParent(w);
    if (parent != nullptr && isDialogWindow(parent)) {
        // As the dialog moves the focus itself, so that its default button follows.
        SendMessageW(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
    } else {
        SetFocus(w);
    }
    pump();
}

void activate(WindowHandle window) {
    HWND w = hwnd(window);
    SetForegroundWindow(w);
    SetActiveWindow(w);
    pump();
}

bool isVisible(WindowHandle window) {
    return IsWindowVisible(hwnd(window)) != FALSE;
}

bool hasIcon(WindowHandle window) {
    HWND w = hwnd(window);
    for (WPARAM size : {ICON_BIG, ICON_SMALL}) {
        if (SendMessageW(w, WM_GETICON, size, 0) != 0) {
            return true;
        }
    }
    return GetClassLongPtrW(w, GCLP_HICON) != 0;
}

void close(WindowHandle window) {
    // What the close box sends.
    PostMessageW(hwnd(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    pump();
}

void processEvents() {
    pump();
}

int count(WindowHandle list) {
    return static_cast<int>(SendMessageW(hwnd(list), CB_GETCOUNT, 0, 0));
}

int currentIndex(WindowHandle list) {
    return static_cast<int>(SendMessageW(hwnd(list), CB_GETCURSEL, 0, 0));
}

std::string itemText(WindowHandle list, int index) {
    HWND w = hwnd(list);
    const LRESULT length = SendMessageW(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<size_t>(length));
    return narrow(item);
}

void pick(WindowHandle list, int index) {
    // The selection set as the list's own click sets it, then the notification the box sends its
    // parent when the user's choice changes it (CB_SETCURSEL alone sends none).
    HWND w = hwnd(list);
    SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(w));
    pump();
}

UpDownState upDown(WindowHandle handle) {
    HWND w = hwnd(handle);
    INT lower = 0, upper = 0;
    SendMessageW(w, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                 reinterpret_cast<LPARAM>(&upper));
    const int position = static_cast<int>(SendMessageW(w, UDM_GETPOS32, 0, 0));
    return UpDownState{lower, upper, position};
}

Rect cellRect(WindowHandle grid, int column, int row) {
    RECT r{};
    SendMessageW(hwnd(grid), kBitGridCellRect,
                 MAKEWPARAM(static_cast<WORD>(column), static_cast<WORD>(row)),
                 reinterpret_cast<LPARAM>(&r));
    return Rect{r.left, r.top, r.right, r.bottom};
}

Pixels paintedPixels(WindowHandle window) {
    HWND w = hwnd(window);
    const Rect r = clientRect(w);
    Canvas canvas(r.width(), r.height());
    SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc),
                 PRF_CLIENT | PRF_ERASEBKGND);
    Pixels pixels{canvas.width, canvas.height, {}};
    pixels.rgb.reserve(static_cast<size_t>(canvas.width) * canvas.height);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            pixels.rgb.push_back(canvas.at(x, y));
        }
    }
    return pixels;
}

Rgb backgroundColour(WindowHandle) {
    const COLORREF c = GetSysColor(COLOR_BTNFACE);
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

bool saveScreenshot(WindowHandle window, const std::string& path) {
    // What the screen shows of the window's client area, its controls painted first.
    HWND w = hwnd(window);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump();
    const Rect r = clientRect(w);
    if (r.width() <= 0 || r.height() <= 0) {
        return false;
    }
    Canvas canvas(r.width(), r.height());
    HDC screen = GetDC(w);
    const bool copied = BitBlt(canvas.dc, 0, 0, r.width(), r.height(), screen, 0, 0, SRCCOPY) != 0;
    ReleaseDC(w, screen);
    return copied && writePng(canvas, path);
}

namespace {
// Counts a paint when the region it repaints covers the whole area.
LRESULT CALLBACK countPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
    if (message == WM_PAINT) {
        auto* counter = reinterpret_cast<std::pair<RECT, int>*>(data);
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        HRGN area = CreateRectRgnIndirect(&counter->first);
        HRGN outside = CreateRectRgn(0, 0, 0, 0);
        if (GetUpdateRgn(window, update, FALSE) != ERROR &&
            CombineRgn(outside, area, update, RGN_DIFF) == NULLREGION) {
            ++counter->second;
        }
        DeleteObject(outside);
        DeleteObject(area);
        DeleteObject(update);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
constexpr UINT_PTR kPaintCounterId = 0x50434E54;
}  // namespace

struct PaintCounter::Native {
    HWND window = nullptr;
    std::pair<RECT, int> counter{};
};

PaintCounter::PaintCounter(WindowHandle window, const Rect& area)
    : native_(std::make_unique<Native>()) {
    native_->window = hwnd(window);
    native_->counter.first = RECT{area.left, area.top, area.right, area.bottom};
    SetWindowSubclass(native_->window, countPaints, kPaintCounterId,
                      reinterpret_cast<DWORD_PTR>(&native_->counter));
}

PaintCounter::~PaintCounter() {
    if (IsWindow(native_->window)) {
        RemoveWindowSubclass(native_->window, countPaints, kPaintCounterId);
    }
}

int PaintCounter::count() const {
    return native_->counter.second;
}

std::string caption(WindowHandle window) {
    return text(window);
}

std::vector<ShownText> shownTexts(WindowHandle window) {
    // Pixels a push button needs around its text, beyond the text's own advance, as on Qt.
    constexpr int kButtonMargin = 8;
    std::vector<ShownText> shown;
    for (WindowHandle child : allControls(window)) {
        HWND w = hwnd(child);
        const std::wstring name = className(w);
        const LONG style = GetWindowLongW(w, GWL_STYLE);
        const Rect client = clientRect(w);
        int room = client.width();
        int roomHeight = client.height();
        if (name == L"Static") {
            const LONG type = style & SS_TYPEMASK;
            if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT &&
                type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) {
                continue;
            }
        } else if (name == L"Button") {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
                room -= kButtonMargin;
            } else if (type == BS_GROUPBOX) {
                room -= 16;
                roomHeight = -1;  // one line of its font, below
            } else {
                // A check box: the box and the gap after it take their share.
                room -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
            }
        } else {
            continue;
        }
        const std::wstring label = windowText(w);
        HDC dc = GetDC(w);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, 0, 0};
        DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &needed,
                  DT_CALCRECT | DT_SINGLELINE);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(w, dc);
        if (roomHeight < 0) {
            roomHeight = metrics.tmHeight;
        }
        shown.push_back(ShownText{narrow(label), static_cast<int>(needed.right - needed.left),
                                  static_cast<int>(metrics.tmHeight), room, roomHeight});
    }
    return shown;
}

namespace {
HMENU menuOf(WindowHandle popup) {
    return reinterpret_cast<HMENU>(SendMessageW(hwnd(popup), MN_GETHMENU, 0, 0));
}
}  // namespace

std::vector<MenuItem> menuItems(WindowHandle popup) {
    std::vector<MenuItem> items;
    HMENU menu = menuOf(popup);
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        wchar_t buffer[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = buffer;
        item.cch = 256;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        if ((item.fType & MFT_SEPARATOR) != 0) {
            items.push_back(MenuItem{});
            continue;
        }
        // "&Close\tAlt+F4": the text, a tab, the keys.
        const std::wstring all(buffer);
        const size_t tab = all.find(L'\t');
        items.push_back(MenuItem{narrow(all.substr(0, tab)),
                                 tab == std::wstring::npos ? "" : narrow(all.substr(tab + 1))});
    }
    return items;
}

void chooseMenuItem(WindowHandle popup, int index) {
    // The menu's own loop takes the keys from the queue once this returns to it: Down from the
    // highlighted entry (or from none) to `index`, over the separators as the menu skips them,
    // then Enter.
    HMENU menu = menuOf(popup);
    const int n = GetMenuItemCount(menu);
    int current = -1;
    for (int i = 0; i < n; ++i) {
        if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0) {
            current = i;
        }
    }
    int steps = 0;
    for (int i = current + 1; i <= index; ++i) {
        if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) == 0) {
            ++steps;
        }
    }
    HWND target = hwnd(popup);
    for (int i = 0; i < steps; ++i) {
        PostMessageW(target, WM_KEYDOWN, VK_DOWN, keyParam(VK_DOWN, true, false, false));
        PostMessageW(target, WM_KEYUP, VK_DOWN, keyParam(VK_DOWN, true, false, true));
    }
    PostMessageW(target, WM_KEYDOWN, VK_RETURN, keyParam(VK_RETURN, false, false, false));
    PostMessageW(target, WM_KEYUP, VK_RETURN, keyParam(VK_RETURN, false, false, true));
}

void openWindowMenu(WindowHandle window, bool byKey) {
    if (byKey) {
        pressKey(window, Key::Space, kAlt);
        return;
    }
    // A right click near the lower left corner: the button's release brings WM_CONTEXTMENU.
    HWND w = hwnd(window);
    const Rect r = clientRect(w);
    const Point corner{5, r.height() - 5};
    postMouse(w, WM_RBUTTONDOWN, MK_RBUTTON, corner);
    postMouse(w, WM_RBUTTONUP, 0, corner);
    pump();
}

std::string fileUrl(const std::string& path) {
    // C:\dir\file -> file:///C:/dir/file; \\server\share\file -> file://server/share/file.
    std::string url = path;
    std::replace(url.begin(), url.end(), '\\', '/');
    return url.starts_with("//") ? "file:" + url : "file:///" + url;
}

namespace {
// The path a file URL names as Explorer hands it over; nothing for an address that no shell
// drop of files can carry (a web address).
std::optional<std::wstring> shellPath(const std::string& url) {
    std::string path;
    if (url.starts_with("file:///")) {
        path = url.substr(8);
    } else if (url.starts_with("file://")) {
        path = "//" + url.substr(7);  // a file on a server, as a UNC path
    } else {
        return std::nullopt;
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return widen(path);
}
}  // namespace

std::string dragAndDrop(WindowHandle window, const DragData& data, unsigned offered) {
    // Windows drops files on a window that accepts them (WS_EX_ACCEPTFILES, itself or an
    // ancestor) as WM_DROPFILES with an HDROP that lists the paths: a drop carries no action and
    // has no refusal. So: a list of one or more file URLs from a source that offers to copy or
    // link arrives as that drop ("+++ copy" / "+++ link") and the window decides what to do with
    // it; what no HDROP can carry (text, a web address, no file at all, a source that offers only
    // to move) never reaches the window ("---").
    HWND target = hwnd(window);
    while (target != nullptr && (GetWindowLongW(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) == 0) {
        target = GetParent(target);
    }
    std::vector<std::wstring> paths;
    if (data.urls) {
        for (const std::string& url : *data.urls) {
            if (const auto path = shellPath(url)) {
                paths.push_back(*path);
            } else {
                paths.clear();
                break;
            }
        }
    }
    const bool action = (offered & (kDropCopy | kDropLink)) != 0;
    if (target == nullptr || paths.empty() || !action) {
        return "---";
    }
    size_t chars = 1;
    for (const std::wstring& path : paths) {
        chars += path.size() + 1;
    }
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    const Rect r = clientRect(hwnd(window));
    POINT at{r.width() / 2, r.height() / 2};
    MapWindowPoints(hwnd(window), target, &at, 1);
    files->pt = at;
    files->fNC = FALSE;
    files->fWide = TRUE;
    auto* list = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(files) + sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        std::copy(path.begin(), path.end(), list);
        list += path.size() + 1;
    }
    GlobalUnlock(drop);
    // The window frees the drop with DragFinish.
    PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    pump();
    return (offered & kDropCopy) != 0 ? "+++ copy" : "+++ link";
}

std::string clipboardText() {
    std::string result;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                result = narrow(chars);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    return result;
}

// A thread timer's procedure runs from whatever loop is dispatching, the nested loop of a modal
// dialog or of a popup menu included, so the driver polls from one.
struct ModalDriver::Native {
    // The popup menu open now, else the active window.
    static HWND current() {
        const std::vector<HWND> menus = threadWindows(L"#32768");
        if (!menus.empty()) {
            return menus.back();
        }
        return GetActiveWindow();
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD);
    void stop() {
        for (UINT_PTR* timer : {&poll, &watchdog}) {
            if (*timer != 0) {
                KillTimer(nullptr, *timer);
                drivers().erase(*timer);
                *timer = 0;
            }
        }
    }
    static std::map<UINT_PTR, Native*>& drivers() {
        static std::map<UINT_PTR, Native*> all;
        return all;
    }

    std::function<void(WindowHandle)> action;
    // What was open when the action was set: the window or menu on top and the active window
    // under it, to which the focus returns when that menu closes without opening anything.
    HWND baseline = nullptr;
    HWND baselineActive = nullptr;
    UINT_PTR poll = 0;
    UINT_PTR watchdog = 0;
    bool fired = false;
};

void CALLBACK ModalDriver::Native::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = drivers().find(id);
    if (found == drivers().end()) {
        return;
    }
    Native& n = *found->second;
    if (id == n.poll) {
        HWND now = current();
        if (now != nullptr && now != n.baseline && now != n.baselineActive &&
            IsWindowVisible(now)) {
            n.stop();
            n.fired = true;
            n.action(toHandle(now));
        }
        return;
    }
    // The watchdog: ends every menu and modal dialog still open, so that each nested loop
    // returns.
    n.stop();
    EndMenu();
    for (int i = 0; i < 16; ++i) {
        HWND open = GetActiveWindow();
        HWND owner = open != nullptr ? GetWindow(open, GW_OWNER) : nullptr;
        if (owner == nullptr || IsWindowEnabled(owner)) {
            break;  // not modal
        }
        SendMessageW(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        SendMessageW(open, WM_CLOSE, 0, 0);
        if (GetActiveWindow() == open && IsWindowVisible(open)) {
            break;
        }
    }
}

ModalDriver::ModalDriver() : native_(std::make_unique<Native>()) {}

ModalDriver::~ModalDriver() {
    native_->stop();
}

void ModalDriver::onNext(std::function<void(WindowHandle)> action) {
    Native& n = *native_;
    n.stop();
    n.action = std::move(action);
    n.baseline = Native::current();
    n.baselineActive = GetActiveWindow();
    n.fired = false;
    n.poll = SetTimer(nullptr, 0, 10, Native::onTimer);
    n.watchdog = SetTimer(nullptr, 0, 5000, Native::onTimer);
    Native::drivers()[n.poll] = &n;
    Native::drivers()[n.watchdog] = &n;
}

bool ModalDriver::fired() const {
    return native_->fired;
}

}  // namespace vorlane::dk::driver
