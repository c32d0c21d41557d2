#include "dialogkit/OuterHandler.h"

#include "dialogkit/Backend.h"
#include "dialogkit/win32/Win32Handle.h"
#include "dialogkit/win32/Win32Text.h"

namespace vorlane::dk {

// The program's name as the system knows it: its file name without the extension.
std::string applicationDisplayName() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (const size_t dot = name.rfind(L'.'); dot != std::wstring::npos) {
        name.erase(dot);
    }
    return narrow(name);
}

bool runGuarded(WindowHandle owner, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (...) {
        // The handler may have destroyed the owner before it threw.
        HWND window = toHwnd(owner);
        reportException(std::current_exception(),
                        window != nullptr && IsWindow(window) ? owner : nullptr);
        return false;
    }
}

}  // namespace vorlane::dk
